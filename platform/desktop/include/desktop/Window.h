#pragma once

#include <QPointer>
#include <QWidget>

namespace desktop {

// The window a view is in, as its views see it: it says which view has the keyboard focus (the
// first responder) and moves it.
class Window {
public:
    explicit Window(QWidget& window)
        : window_(&window) {}
    // The window of `widget`, when it is in one.
    static Window of(QWidget& widget) { return Window(*widget.window()); }

    QWidget* widget() const { return window_.data(); }
    // The view with the keyboard focus: a hosted editor holding the views' focus, or Qt's focus
    // widget; none when nothing has it.
    QWidget* firstResponder() const;
    // Gives `responder` the focus; nullptr makes the first responder give it up (ending its
    // editing). False when the window is gone or the view is not in it.
    bool makeFirstResponder(QWidget* responder);

private:
    QPointer<QWidget> window_;
};

} // namespace desktop
