#include "ui/TestHost.h"

#include "ui/PresentationHost.h"

#include "foundation/RunLoop.h"
#include "ui/Renderer.h"

#include <QApplication>
#include <QCoreApplication>

namespace ui {

namespace {

void collect(Element& element, const std::function<bool(const Element&)>& match, std::vector<Element*>& out) {
    if (!element.isVisible()) return;
    if (match(element)) out.push_back(&element);
    for (const auto& child : element.children())
        collect(*child, match, out);
}

void collectGhosts(const Element& element, std::vector<Element*>& out) {
    for (auto* ghost : element.removalGhosts()) {
        out.push_back(ghost);
        collectGhosts(*ghost, out);
    }
    for (const auto& child : element.children())
        collectGhosts(*child, out);
}

} // namespace

TestHost::TestHost(View root, graphics::CGSize size, EnvironmentValues environment)
    : frameClock_(std::make_shared<ManualClock>(frameInterval))
    , container_(qobject_cast<QApplication*>(QCoreApplication::instance()) ? std::make_unique<QWidget>()
                                                                           : nullptr)
    , graph_(PresentationHost::wrap(std::move(root)), size, withPresenter(std::move(environment), popups_)) {
    graph_.setClock(frameClock_);
    if (container_) {
        container_->resize(int(size.width), int(size.height));
        graph_.hostedWidgets().setContainer(container_.get());
    }
    update();
}

TestHost::~TestHost() = default;

EnvironmentValues TestHost::withPresenter(EnvironmentValues environment,
                                          const std::shared_ptr<RecordingPopupPresenter>& presenter) {
    if (!environment.get<PopupPresenterKey>()) environment.set<PopupPresenterKey>(presenter);
    return environment;
}

bool TestHost::chooseMenuItem(std::string_view title) {
    const bool chosen = popups_->choose(title);
    update();
    return chosen;
}

void TestHost::setRoot(View root) {
    graph_.setRoot(PresentationHost::wrap(std::move(root)));
    update();
}

std::vector<Presentation> TestHost::presentations() const {
    return PresentationHost::presented(graph_.root());
}

bool TestHost::chooseAlertButton(std::string_view title) {
    const bool chosen = PresentationHost::chooseAlertButton(graph_.root(), title);
    update();
    return chosen;
}

bool TestHost::dismissPresentation() {
    const bool dismissed = PresentationHost::dismissTopmost(graph_.root());
    update();
    return dismissed;
}

void TestHost::setSize(graphics::CGSize size) {
    if (container_) container_->resize(int(size.width), int(size.height));
    graph_.setSize(size);
    update();
}

void TestHost::update() {
    foundation::RunLoop::main().runUntilIdle();
    graph_.update();
}

void TestHost::stepFrame(double seconds) {
    frameClock_->advance(seconds);
    update();
}

void TestHost::stepFrames(int count) {
    for (int i = 0; i < count; ++i)
        stepFrame();
}

std::vector<Element*> TestHost::findAll(const std::function<bool(const Element&)>& match) const {
    std::vector<Element*> out;
    collect(graph_.root(), match, out);
    return out;
}

std::vector<Element*> TestHost::removalGhosts() const {
    std::vector<Element*> out;
    collectGhosts(graph_.root(), out);
    return out;
}

Element* TestHost::findByID(const foundation::AnyHashable& id) const {
    auto all = findAll([&](const Element& e) { return e.explicitID() && *e.explicitID() == id; });
    return all.empty() ? nullptr : all.front();
}

Element* TestHost::findByTypeName(std::string_view name) const {
    auto all = findAll([&](const Element& e) { return e.node().typeName() == name; });
    return all.empty() ? nullptr : all.front();
}

Element* TestHost::findByText(std::string_view text) const {
    auto all = findAll([&](const Element& e) {
        auto shown = e.node().text();
        return shown && *shown == text;
    });
    return all.empty() ? nullptr : all.front();
}

graphics::CGRect TestHost::frame(const Element* element) {
    return element ? element->globalFrame() : graphics::CGRect::null();
}

bool TestHost::pointerDown(graphics::CGPoint point, EventModifiers modifiers, std::optional<int> clickCount) {
    const bool taken = events_.pointerDown({point, PointerEvent::Button::primary, modifiers, clickCount});
    update();
    return taken;
}

void TestHost::pointerMove(graphics::CGPoint point, EventModifiers modifiers) {
    events_.pointerMoved({point, PointerEvent::Button::primary, modifiers, {}});
    update();
}

bool TestHost::scroll(graphics::CGPoint point, graphics::CGSize delta, EventModifiers modifiers) {
    const bool moved = events_.scroll({point, delta, modifiers});
    update();
    return moved;
}

void TestHost::pointerUp(graphics::CGPoint point, EventModifiers modifiers) {
    events_.pointerUp({point, PointerEvent::Button::primary, modifiers, {}});
    update();
}

bool TestHost::tap(graphics::CGPoint point, EventModifiers modifiers, std::optional<int> clickCount) {
    const bool taken = pointerDown(point, modifiers, clickCount);
    pointerUp(point, modifiers);
    return taken;
}

bool TestHost::tap(const Element* element) {
    if (!element) return false;
    // Where the middle of the element shows, through the effects above it.
    const auto frame = element->frame();
    const auto shown = element->transformToRoot().mapInFront({frame.midX(), frame.midY()});
    if (!shown) return false;
    return tap(*shown);
}

bool TestHost::secondaryClick(graphics::CGPoint point, EventModifiers modifiers) {
    const bool taken = events_.pointerDown({point, PointerEvent::Button::secondary, modifiers, {}});
    events_.pointerUp({point, PointerEvent::Button::secondary, modifiers, {}});
    update();
    return taken;
}

void TestHost::pointerExit() {
    events_.pointerExited();
    update();
}

bool TestHost::keyPress(KeyEquivalent key, EventModifiers modifiers, KeyPress::Phase phase) {
    KeyPress press;
    press.key = key;
    press.modifiers = modifiers;
    press.phase = phase;
    if (key.character >= 0x20 && key.character < 0x7f) press.characters = std::string(1, char(key.character));
    const bool handled = events_.keyPress(press);
    update();
    return handled;
}

void TestHost::setModifiers(EventModifiers modifiers) {
    events_.modifiersChanged(modifiers);
    update();
}

QImage TestHost::render(qreal devicePixelRatio, QColor background) const {
    const auto size = graph_.size();
    return renderImage(graph_.displayList(), QSize(int(size.width), int(size.height)), devicePixelRatio,
                       background);
}

bool TestHost::renderPNG(const QString& path, qreal devicePixelRatio, QColor background) const {
    return render(devicePixelRatio, background).save(path, "PNG");
}

} // namespace ui
