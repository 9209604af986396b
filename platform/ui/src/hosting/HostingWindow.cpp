#include "ui/HostingWindow.h"

#include "accessibility/AccessibilityBridge.h"

#include "graphics/NSColor.h"
#include "ui/Color.h"
#include "QtPopupPresenter.h"
#include "ui/PresentationHost.h"
#include "ui/EnvironmentKeys.h"
#include "ui/EventDispatcher.h"
#include "ui/Renderer.h"
#include "ui/StyleContext.h"

#include <QKeyEvent>
#include <QEvent>
#include <QMetaObject>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>
#include <cmath>
#include <vector>

namespace ui {

namespace {

int lowerPixels(CGFloat length) {
    if (!std::isfinite(length)) return QWIDGETSIZE_MAX;
    return std::clamp(static_cast<int>(std::ceil(length)), 0, QWIDGETSIZE_MAX);
}

// The largest whole size inside `length`, but never below `minimum`.
int upperPixels(CGFloat length, int minimum) {
    if (!std::isfinite(length)) return QWIDGETSIZE_MAX;
    return std::clamp(static_cast<int>(std::floor(length)), minimum, QWIDGETSIZE_MAX);
}

// Menus and the colour panel pop up over this window unless the caller brings a presenter.
EnvironmentValues withPopups(EnvironmentValues environment, QWidget* window) {
    if (!environment.get<PopupPresenterKey>())
        environment.set<PopupPresenterKey>(std::make_shared<detail::QtPopupPresenter>(window));
    return environment;
}

} // namespace

HostingWindow::HostingWindow(View root, EnvironmentValues environment, QWidget* parent)
    : QWidget(parent)
    , clock_(std::make_shared<DisplayClock>())
    , environment_(withPopups(std::move(environment), this))
    , graph_(toolbarArea(PresentationHost::wrap(std::move(root))), {}, environment_) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true); // hover
    setFocusPolicy(Qt::StrongFocus);
    graph_.setClock(clock_);
    graph_.hostedWidgets().setContainer(this);
    graph_.setNeedsUpdateHandler([this] { scheduleUpdate(); });
    graph_.setDidUpdateHandler([this] {
        if (accessibility_) accessibility_->graphDidUpdate();
    });
    detail::installAccessibilityFactory();
    applyColorScheme();
    graph_.update();
    applyColorScheme(); // the content's preference is known once it has run
    if (graph_.needsUpdate()) graph_.update();
    applySizeLimits();
    const QSize first = idealSize_.expandedTo(minimumSize()).boundedTo(maximumSize());
    resize(first);
    graph_.setSize({CGFloat(width()), CGFloat(height())});
    graph_.update();
}

HostingWindow::~HostingWindow() {
    graph_.setNeedsUpdateHandler({});
    graph_.setDidUpdateHandler({});
    accessibility_.reset();
}

detail::AccessibilityBridge& HostingWindow::accessibility() {
    if (!accessibility_) accessibility_ = std::make_unique<detail::AccessibilityBridge>(*this);
    return *accessibility_;
}

void HostingWindow::setRootView(View root) {
    graph_.setRoot(toolbarArea(PresentationHost::wrap(std::move(root))));
}

void HostingWindow::setDefaultSize(std::optional<graphics::CGSize> size) {
    defaultSize_ = size;
    applySizeLimits();
    if (!isVisible()) resize(idealSize_);
}

void HostingWindow::setToolbarStyle(WindowToolbarStyle style) {
    environment_.set<WindowToolbarStyleKey>(style);
    EnvironmentValues values = environment_;
    values.set<ColorSchemeKey>(colorScheme_);
    graph_.setEnvironment(std::move(values));
    updateNow();
    if (!isVisible()) resize(idealSize_);
}

HostingWindow::ContentSizes HostingWindow::contentSizes() {
    return {graph_.sizeThatFits(ProposedViewSize::zero()),
            graph_.sizeThatFits(ProposedViewSize::unspecified()),
            graph_.sizeThatFits(ProposedViewSize::infinity())};
}

QSize HostingWindow::sizeHint() const {
    return idealSize_;
}

QSize HostingWindow::minimumSizeHint() const {
    return minimumSize();
}

std::shared_ptr<foundation::UndoManager> HostingWindow::undoManager() {
    if (Element* focused = EventDispatcher(graph_).focusedElement()) {
        if (const auto& manager = focused->environment().get<UndoManagerKey>()) return manager;
    }
    // Breadth first, so the manager nearest the root wins.
    std::vector<const Element*> level{&graph_.root()};
    while (!level.empty()) {
        std::vector<const Element*> next;
        for (const Element* element : level) {
            if (const auto& manager = element->environment().get<UndoManagerKey>()) return manager;
            for (const auto& child : element->children())
                next.push_back(child.get());
        }
        level = std::move(next);
    }
    return nullptr;
}

ColorScheme HostingWindow::colorScheme() const {
    return colorScheme_;
}

void HostingWindow::scheduleUpdate() {
    if (updateScheduled_) return;
    updateScheduled_ = true;
    // Queued on this object, so it is dropped if the window goes first.
    QMetaObject::invokeMethod(
        this,
        [this] {
            updateScheduled_ = false;
            updateNow();
        },
        Qt::QueuedConnection);
}

void HostingWindow::updateNow() {
    // A hidden window gets its resize events only when shown; its content follows at once.
    graph_.setSize({CGFloat(width()), CGFloat(height())});
    graph_.update();
    applyColorScheme();
    if (graph_.needsUpdate()) graph_.update();
    applySizeLimits();
    update();
}

ColorScheme HostingWindow::systemColorScheme() const {
    return palette().color(QPalette::Window).lightness() < 128 ? ColorScheme::dark : ColorScheme::light;
}

void HostingWindow::applyColorScheme() {
    const auto preferred = graph_.root().preferences().get<PreferredColorSchemeKey>();
    const ColorScheme scheme = preferred.value_or(systemColorScheme());
    if (schemeApplied_ && colorScheme_ == scheme) return;
    schemeApplied_ = true;
    colorScheme_ = scheme;
    EnvironmentValues values = environment_;
    values.set<ColorSchemeKey>(scheme);
    environment_ = values;
    graph_.setEnvironment(std::move(values));
}

void HostingWindow::applySizeLimits() {
    const auto sizes = contentSizes();
    const QSize minimum(lowerPixels(sizes.minimum.width), lowerPixels(sizes.minimum.height));
    const QSize maximum(upperPixels(sizes.maximum.width, minimum.width()),
                        upperPixels(sizes.maximum.height, minimum.height()));
    graphics::CGSize ideal = sizes.ideal;
    if (defaultSize_) {
        // The default is the content's; the title area (what the content does not count) comes on top.
        ideal = {defaultSize_->width, defaultSize_->height + toolbarAreaHeight(graph_.root())};
    }
    idealSize_ = QSize(lowerPixels(ideal.width), lowerPixels(ideal.height))
                     .expandedTo(minimum)
                     .boundedTo(maximum);
    if (minimumSize() != minimum) setMinimumSize(minimum);
    if (maximumSize() != maximum) setMaximumSize(maximum);
}

QColor HostingWindow::backgroundColor() const {
    StyleContext context;
    context.colorScheme = colorScheme_;
    static const auto window = graphics::NSColor::systemColor("windowBackgroundColor");
    if (!window) return palette().color(QPalette::Window);
    return Color(*window).resolve(context).toQColor();
}

void HostingWindow::followScreen() {
    if (QScreen* shown = screen()) clock_->setRefreshRate(shown->refreshRate());
}

bool HostingWindow::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ScreenChangeInternal:
        followScreen();
        update(); // painted again at the new screen's pixel density
        break;
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange:
        scheduleUpdate(); // the system colour scheme may have changed
        break;
    case QEvent::WindowDeactivate:
        // A press or drag under way cannot end with a release this window will see.
        EventDispatcher(graph_).cancelPointer();
        break;
    case QEvent::KeyPress: {
        // Tab moves the focus among the views before Qt moves it among widgets.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && forwardEvent(*event, std::nullopt)) return true;
        break;
    }
    default:
        break;
    }
    return QWidget::event(event);
}

void HostingWindow::showEvent(QShowEvent* event) {
    followScreen();
    QWidget::showEvent(event);
}

void HostingWindow::resizeEvent(QResizeEvent* event) {
    graph_.setSize({CGFloat(event->size().width()), CGFloat(event->size().height())});
    // Laid out now, so the paint that follows shows the new size.
    graph_.update();
    QWidget::resizeEvent(event);
}

void HostingWindow::paintEvent(QPaintEvent* event) {
    if (graph_.needsUpdate()) graph_.update();
    QPainter painter(this);
    painter.fillRect(event->rect(), backgroundColor());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    ui::render(graph_.displayList(), painter);
}

} // namespace ui
