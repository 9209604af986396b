#pragma once

#include "foundation/AnyHashable.h"
#include "foundation/Clock.h"
#include "graphics/CGRect.h"
#include "graphics/CGSize.h"
#include "ui/Clock.h"
#include "ui/Element.h"
#include "ui/EnvironmentValues.h"
#include "ui/EventDispatcher.h"
#include "ui/GeometryEffect.h"
#include "ui/Graph.h"
#include "ui/PopupPresenter.h"
#include "ui/Presentation.h"
#include "ui/View.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

namespace ui {

// Hosts a view for tests: a graph at a fixed size under a manual clock, updated frame by frame,
// with ways to find elements, read their frames and render the result. Hosted widgets live in
// a hidden stand-in for a window (when the process has a QApplication); those of views that
// went are deleted when an event loop runs or the host goes.
class TestHost {
public:
    static constexpr double frameInterval = 1.0 / 60;

    explicit TestHost(View root, graphics::CGSize size = {400, 300}, EnvironmentValues environment = {});
    ~TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    Graph& graph() { return graph_; }
    foundation::ManualClock& clock() { return clock_.clock(); }
    // The clock of the graph's frames, stepped by stepFrame.
    ManualClock& frameClock() { return *frameClock_; }
    // What hosted widgets are parented to; null without a QApplication.
    QWidget* widgetContainer() const { return container_.get(); }
    void setRoot(View root);
    void setSize(graphics::CGSize size);

    // Runs the main run loop's due work, then one update: one frame without time passing.
    void update();
    // Moves the clock one frame on (running what falls due on the way), delivers the frame to
    // its subscribers, then updates.
    void stepFrame(double seconds = frameInterval);
    void stepFrames(int count);

    // Finding elements, depth first in tree order; hidden (scrolled away) ones are skipped.
    Element* findByID(const foundation::AnyHashable& id) const;
    template <class ID> Element* find(ID id) const {
        if constexpr (std::is_convertible_v<ID, std::string_view>)
            return findByID(foundation::AnyHashable(std::string(std::string_view(id))));
        else
            return findByID(foundation::AnyHashable(std::move(id)));
    }
    // Custom views, modifiers and geometry effects by their type, leaves by their primitive type.
    template <class T> Element* findType() const {
        auto all = findAllType<T>();
        return all.empty() ? nullptr : all.front();
    }
    template <class T> std::vector<Element*> findAllType() const {
        return findAll([](const Element& e) {
            return e.node().kind() == typeid(T) ||
                   dynamic_cast<const detail::CustomViewNode<T>*>(&e.node()) || isModifierOf<T>(e);
        });
    }
    // Nodes of the layer's own kinds by name ("HStack", "Padding", "ScrollView", ...).
    Element* findByTypeName(std::string_view name) const;
    // A leaf showing exactly `text`.
    Element* findByText(std::string_view text) const;
    std::vector<Element*> findAll(const std::function<bool(const Element&)>& match) const;
    // Views still painting their removal (not found by the finders above), in tree order.
    std::vector<Element*> removalGhosts() const;

    // Where the element shows in the root's coordinates: its frame through the geometry effects
    // above it (Element::frame() is where layout put it).
    static graphics::CGRect frame(const Element* element);
    static int evaluationCount(const Element* element) { return element ? element->evaluationCount() : 0; }

    // Events in the root's coordinates, each followed by an update. Presses report whether a
    // gesture (or, for secondary clicks, a target) took them, keys whether anything handled them.
    EventDispatcher& events() { return events_; }
    bool pointerDown(graphics::CGPoint point, EventModifiers modifiers = {},
                     std::optional<int> clickCount = {});
    void pointerMove(graphics::CGPoint point, EventModifiers modifiers = {});
    void pointerUp(graphics::CGPoint point, EventModifiers modifiers = {});
    // A press and release at one point; at an element, where its frame's centre shows.
    bool tap(graphics::CGPoint point, EventModifiers modifiers = {}, std::optional<int> clickCount = {});
    bool tap(const Element* element);
    bool secondaryClick(graphics::CGPoint point, EventModifiers modifiers = {});
    void hover(graphics::CGPoint point) { pointerMove(point); }
    // A wheel or touchpad scroll at `point`: `delta` moves the content (positive: further down
    // or on). Whether a scroll view moved.
    bool scroll(graphics::CGPoint point, graphics::CGSize delta, EventModifiers modifiers = {});
    void pointerExit();
    bool keyPress(KeyEquivalent key, EventModifiers modifiers = {},
                  KeyPress::Phase phase = KeyPress::Phase::down);
    void setModifiers(EventModifiers modifiers);
    Element* focusedElement() const { return events_.focusedElement(); }

    // What the views popped up (menus, the colour panel), unless the environment given to
    // the host brings a presenter of its own. Choosing an entry is followed by an update.
    RecordingPopupPresenter& popups() { return *popups_; }
    bool chooseMenuItem(std::string_view title);

    // The alerts, sheets and covers shown over the root (drawn by the layer, so found and
    // tapped like any view), bottom first, and a user's answer to the topmost one: choosing
    // an alert button, or closing it (Escape). Each is followed by an update.
    std::vector<Presentation> presentations() const;
    bool chooseAlertButton(std::string_view title);
    bool dismissPresentation();

    QImage render(qreal devicePixelRatio = 1, QColor background = Qt::white) const;
    bool renderPNG(const QString& path, qreal devicePixelRatio = 1, QColor background = Qt::white) const;

private:
    template <class T> static bool isModifierOf(const Element& e) {
        if constexpr (CustomModifier<T>)
            return dynamic_cast<const detail::CustomModifierNode<T>*>(&e.node()) != nullptr;
        else if constexpr (GeometryEffect<T>)
            return dynamic_cast<const detail::GeometryEffectNode<T>*>(&e.node()) != nullptr;
        else
            return false;
    }

    static EnvironmentValues withPresenter(EnvironmentValues environment,
                                           const std::shared_ptr<RecordingPopupPresenter>& presenter);

    foundation::ScopedManualClock clock_;
    std::shared_ptr<ManualClock> frameClock_;
    std::shared_ptr<RecordingPopupPresenter> popups_ = std::make_shared<RecordingPopupPresenter>();
    std::unique_ptr<QWidget> container_;
    Graph graph_;
    EventDispatcher events_{graph_};
};

} // namespace ui
