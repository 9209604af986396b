#pragma once

class QWidget;

namespace ui {

// Hosted widgets that take text input (Qt's input-method widgets that take the focus by click)
// share the views' keyboard focus: their view is a focus target, they show live only while it
// holds the focus, and Qt's focus follows the views' focus rather than leading it. Qt's focus
// may come and go meanwhile (the window deactivating, the widget painted for a moment), so an
// editor with an editing session of its own listens here instead of to Qt's focus events.
class HostedFocusReceiver {
public:
    virtual ~HostedFocusReceiver() = default;
    // The views' keyboard focus came to (true) or left (false) the view hosting this widget.
    virtual void hostedFocusChanged(bool focused) = 0;
};

enum class HostedFocusMove { next, previous, clear };

// Whether a representable hosts `widget` (in a graph that is still there).
bool isHostedWidget(const QWidget& widget);
// Whether the views' keyboard focus is on the view hosting `widget`.
bool hasHostedFocus(const QWidget& widget);
// Moves the views' keyboard focus to the view hosting `widget`; false when it is not hosted.
bool takeHostedFocus(QWidget& widget);
// Moves the views' keyboard focus away from the view hosting `widget`: to the next or previous
// focus target (cleared when there is no other), or nowhere. False when that view does not
// hold the focus.
bool resignHostedFocus(QWidget& widget, HostedFocusMove move = HostedFocusMove::clear);

} // namespace ui
