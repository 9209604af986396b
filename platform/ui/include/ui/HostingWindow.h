#pragma once

#include "graphics/CGPoint.h"
#include "graphics/CGSize.h"
#include "ui/ColorScheme.h"
#include "ui/DisplayClock.h"
#include "ui/EnvironmentValues.h"
#include "ui/Graph.h"
#include "ui/Toolbar.h"
#include "ui/View.h"

#include <QColor>
#include <QWidget>

#include <memory>
#include <optional>

namespace foundation {
class UndoManager;
}

namespace ui {

namespace detail {
class AccessibilityBridge;
}

// A widget that shows a view: a graph whose frames come from the display's clock, updated at
// the next turn of Qt's event loop after anything invalidates it, painted with QPainter at the
// screen's pixel density, and sized by its content — the ideal size first, and never outside
// the sizes the content takes at the smallest and the largest proposal. The colour scheme is
// the one the content prefers, else the system's. Toolbar items the content hands up
// (View::toolbar) are shown in a title area above it, which counts towards the window's size.
//
// Assistive technology sees the views as objects of their own (ui/AccessibilityTree.h) through
// Qt's accessibility; the window builds them only once it is asked for them.
//
// Work posted to the main queue runs only while a foundation::QtRunLoopDriver is installed;
// the program installs one for all its windows.
class HostingWindow : public QWidget {
public:
    explicit HostingWindow(View root, EnvironmentValues environment = {}, QWidget* parent = nullptr);
    ~HostingWindow() override;

    void setRootView(View root);
    // The size the window takes when first shown instead of the content's ideal size, kept
    // within the content's limits; the title area comes on top of it.
    void setDefaultSize(std::optional<graphics::CGSize> size);
    void setToolbarStyle(WindowToolbarStyle style);
    Graph& graph() { return graph_; }
    DisplayClock& clock() { return *clock_; }

    struct ContentSizes {
        graphics::CGSize minimum;
        graphics::CGSize ideal;
        graphics::CGSize maximum; // infinite along a flexible axis
    };
    ContentSizes contentSizes();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Runs the pending update now rather than at the next turn of the event loop.
    void updateNow();
    // What Edit ▸ Undo and Redo act on while no text editor has the focus: the undo manager
    // (UndoManagerKey) in effect at the view with the keyboard focus, else the outermost one
    // the content sets; none when the content sets none.
    std::shared_ptr<foundation::UndoManager> undoManager();
    ColorScheme colorScheme() const;
    // What assistive technology is shown of the content; made when first asked for.
    detail::AccessibilityBridge& accessibility();

protected:
    bool event(QEvent* event) override;
    // Qt moving the focus on (Tab in a hosted editor) moves the views' focus instead.
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

    // Input, handed to the layer's event entry points (HostingWindowEvents.cpp).
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void scheduleUpdate();
    void applyColorScheme();
    void applySizeLimits();
    void followScreen();
    ColorScheme systemColorScheme() const;
    QColor backgroundColor() const;
    // The one place input enters the layer; false when the layer did not take it.
    bool forwardEvent(QEvent& event, std::optional<graphics::CGPoint> location);

    std::shared_ptr<DisplayClock> clock_;
    EnvironmentValues environment_;
    Graph graph_;
    ColorScheme colorScheme_ = ColorScheme::light;
    QSize idealSize_;
    std::optional<graphics::CGSize> defaultSize_;
    bool schemeApplied_ = false;
    bool updateScheduled_ = false;
    std::unique_ptr<detail::AccessibilityBridge> accessibility_;
};

} // namespace ui
