#pragma once

#include "graphics/CGRect.h"
#include "graphics/CGSize.h"
#include "ui/DisplayList.h"
#include "ui/ProposedViewSize.h"

#include <QObject>
#include <QPainter>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace ui {

class Element;
class HostedWidgets;

namespace detail {

struct ElementRef;

// One native widget hosted by a representable, kept in its element's storage. It is live
// (the widget itself shows, placed over the host) or painted (hidden, and drawn by the layer
// as part of the display list), as the sync decides.
class HostedWidget {
public:
    explicit HostedWidget(HostedWidgets& registry);
    virtual ~HostedWidget();
    HostedWidget(const HostedWidget&) = delete;
    HostedWidget& operator=(const HostedWidget&) = delete;

    QWidget* widget() const { return widget_.data(); }
    bool isLive() const { return live_; }

    // Whether the widget wants to show live where the host allows it.
    virtual bool wantsLive() const { return true; }
    // The painted form; by default the widget renders itself into the frame.
    virtual void paint(QPainter& painter, const QRectF& bounds) const;
    // The representable's own answer, if it gives one.
    virtual std::optional<graphics::CGSize> customSize(const ProposedViewSize&) const { return std::nullopt; }
    // The representable's answer, or what the widget's size hints and policy allow.
    graphics::CGSize sizeThatFits(const ProposedViewSize& proposal) const;

    // The element whose view hosts the widget; set at every update of it.
    void attach(Element& element);
    Element* element() const;
    // Text input widgets join the views' keyboard focus (ui/HostedFocus.h).
    bool takesTextInput() const;
    // Whether the views' keyboard focus is on this widget's view.
    bool hasViewFocus() const;
    // Told by the focus machinery when the views' focus comes or goes; tells the widget.
    void viewFocusChanged(bool focused);
    // A press on the painted form, in the widget's coordinates: handed to the widget once it
    // shows live with the focus, so the caret lands where the user clicked.
    void pressWhilePainted(QPointF point) { pendingPress_ = point; }

    // The hosted widget behind a widget, if a representable hosts it.
    static HostedWidget* of(const QWidget& widget);

protected:
    // Takes the widget in, parented to the host's container while there is one.
    void adopt(QWidget* widget);
    // Hides the widget and deletes it once control is back in an event loop (it may be
    // going because of its own event); leaves the registry.
    void retire();

private:
    friend class ui::HostedWidgets;
    friend class HostedWidgetFilter;
    // After the sync placed the widget: Qt's focus follows the views' focus.
    void syncFocus();
    // Moves Qt's focus off the widget (to the host) without it counting as the user's move.
    void releaseQtFocus();
    void deliverPendingPress();

    HostedWidgets* registry_;
    QPointer<QWidget> widget_;
    std::weak_ptr<ElementRef> element_;
    std::unique_ptr<QObject> filter_;
    std::optional<QPointF> pendingPress_;
    bool live_ = false;
    bool toldFocus_ = false;
    bool movingQtFocus_ = false;
};

// The painted form's entry in a display list; the sync finds hosted widgets by it.
struct HostedWidgetPaint {
    std::weak_ptr<const HostedWidget> hosted;
    QRectF bounds; // the element's frame when the list was recorded
    void operator()(QPainter& painter) const;
};

} // namespace detail

// The native widgets hosted in one graph, and the host widget they live in (a window, or a
// hidden stand-in in tests).
class HostedWidgets {
public:
    HostedWidgets() = default;
    HostedWidgets(const HostedWidgets&) = delete;
    HostedWidgets& operator=(const HostedWidgets&) = delete;

    void setContainer(QWidget* container);
    QWidget* container() const { return container_.data(); }

    bool isEmpty() const { return widgets_.empty(); }
    const std::vector<detail::HostedWidget*>& widgets() const { return widgets_; }

    // Brings every widget in line with a display list of the tree. A widget shows live only
    // where its element is drawn plainly — no offscreen layer (opacity, blend mode, mask) and
    // no transform beyond a move above it — at its frame, clipped to its ancestors' clips.
    // Elsewhere it is hidden: painted by the layer, or not shown at all. A text input widget
    // shows live only while its view holds the keyboard focus, and then takes Qt's focus.
    void sync(const DisplayList& list);

    // For widgets whose live or painted choice changed outside an update.
    void setNeedsSyncHandler(std::function<void()> handler) { needsSync_ = std::move(handler); }
    void setNeedsSync() {
        if (needsSync_) needsSync_();
    }

private:
    friend class detail::HostedWidget;
    void add(detail::HostedWidget* hosted) { widgets_.push_back(hosted); }
    void remove(detail::HostedWidget* hosted);

    QPointer<QWidget> container_;
    std::vector<detail::HostedWidget*> widgets_;
    std::function<void()> needsSync_;
};

} // namespace ui
