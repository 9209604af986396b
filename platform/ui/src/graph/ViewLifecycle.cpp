#include "ui/Element.h"
#include "ui/Graph.h"
#include "ui/ViewNodes.h"

namespace ui {

namespace {

class AppearNode final : public detail::TransparentWrapperNode {
public:
    AppearNode(View content, std::function<void()> action, bool onAppear)
        : TransparentWrapperNode(std::move(content))
        , action_(std::move(action))
        , onAppear_(onAppear) {}
    std::string_view typeName() const override { return onAppear_ ? "OnAppear" : "OnDisappear"; }
    void visibilityChanged(Element& element, bool visible) const override {
        if (visible == onAppear_ && action_) element.graph().enqueueAction(action_);
    }

private:
    std::function<void()> action_;
    bool onAppear_;
};

struct RunningTask {
    std::optional<foundation::Task<>> task;
    ~RunningTask() { cancel(); }
    void cancel() {
        if (task) task->cancel();
        task.reset();
    }
};

class TaskNode final : public detail::TransparentWrapperNode {
public:
    TaskNode(View content, std::function<foundation::Task<>()> make)
        : TransparentWrapperNode(std::move(content))
        , make_(std::move(make)) {}
    std::string_view typeName() const override { return "Task"; }
    void visibilityChanged(Element& element, bool visible) const override {
        auto running = element.slot<RunningTask>("\x01task", [] { return std::make_shared<RunningTask>(); });
        if (!visible) {
            running->cancel();
            return;
        }
        element.graph().enqueueAction([make = make_, weak = std::weak_ptr<RunningTask>(running)] {
            auto running = weak.lock();
            if (!running || running->task) return;
            running->task.emplace(make);
        });
    }

private:
    std::function<foundation::Task<>()> make_;
};

struct ChangeState {
    detail::EquatableValue value;
    View::ChangeAction action;
    bool seen = false;
};

class ChangeNode final : public detail::TransparentWrapperNode {
public:
    ChangeNode(View content, detail::EquatableValue value, bool initial, View::ChangeAction action)
        : TransparentWrapperNode(std::move(content))
        , value_(std::move(value))
        , initial_(initial)
        , action_(std::move(action)) {}
    std::string_view typeName() const override { return "OnChange"; }
    void update(Element& element) const override {
        auto state =
            element.slot<ChangeState>("\x01onChange", [] { return std::make_shared<ChangeState>(); });
        if (!state->seen) {
            state->seen = true;
            if (initial_) element.graph().enqueueAction([action = action_, v = value_] { action(v, v); });
        } else if (!(state->value == value_)) {
            // The closure of the previous update, as that is what saw the old value.
            element.graph().enqueueAction(
                [action = state->action, old = state->value, now = value_] { action(old, now); });
        }
        state->value = value_;
        state->action = action_;
        TransparentWrapperNode::update(element);
    }

private:
    detail::EquatableValue value_;
    bool initial_;
    View::ChangeAction action_;
};

struct Subscription {
    detail::EquatableValue publisher;
    std::function<void()> cancel;
    ~Subscription() { end(); }
    void end() {
        if (cancel) std::exchange(cancel, nullptr)();
    }
};

class ReceiveNode final : public detail::TransparentWrapperNode {
public:
    ReceiveNode(View content, detail::EquatableValue publisher, View::Subscribe subscribe)
        : TransparentWrapperNode(std::move(content))
        , publisher_(std::move(publisher))
        , subscribe_(std::move(subscribe)) {}
    std::string_view typeName() const override { return "OnReceive"; }

    std::shared_ptr<Subscription> subscription(Element& element) const {
        return element.slot<Subscription>("\x01onReceive", [] { return std::make_shared<Subscription>(); });
    }
    void subscribeLater(Element& element) const {
        element.graph().enqueueAction(
            [ref = element.reference(), subscribe = subscribe_, publisher = publisher_] {
                auto r = ref.lock();
                if (!r || !r->element || !r->element->isVisible()) return;
                auto state = r->element->slot<Subscription>("\x01onReceive",
                                                            [] { return std::make_shared<Subscription>(); });
                if (state->cancel) return;
                state->publisher = publisher;
                state->cancel = subscribe(*r->element);
            });
    }
    void update(Element& element) const override {
        auto state = subscription(element);
        if (state->cancel && publisher_.isComparable() && !(state->publisher == publisher_)) {
            state->end();
            subscribeLater(element);
        }
        TransparentWrapperNode::update(element);
    }
    void visibilityChanged(Element& element, bool visible) const override {
        if (visible)
            subscribeLater(element);
        else
            subscription(element)->end();
    }

private:
    detail::EquatableValue publisher_;
    View::Subscribe subscribe_;
};

} // namespace

View View::onAppear(std::function<void()> action) const {
    return apply([action](View content) {
        return View(std::make_shared<AppearNode>(std::move(content), action, true));
    });
}

View View::onDisappear(std::function<void()> action) const {
    return apply([action](View content) {
        return View(std::make_shared<AppearNode>(std::move(content), action, false));
    });
}

View View::task(std::function<foundation::Task<>()> make) const {
    return apply([make](View content) { return View(std::make_shared<TaskNode>(std::move(content), make)); });
}

View View::onChangeErased(detail::EquatableValue value, bool initial, ChangeAction action) const {
    return View(std::make_shared<ChangeNode>(*this, std::move(value), initial, std::move(action)));
}

View View::onReceiveErased(detail::EquatableValue publisher, Subscribe subscribe) const {
    return View(std::make_shared<ReceiveNode>(*this, std::move(publisher), std::move(subscribe)));
}

} // namespace ui
