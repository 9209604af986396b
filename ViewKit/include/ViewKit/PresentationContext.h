#pragma once

#include "ViewKit/MainActor.h"

#include "foundation/DispatchQueue.h"
#include "foundation/Fatal.h"
#include "reactive/AnyPublisher.h"
#include "reactive/ObservableObject.h"
#include "reactive/Published.h"
#include "ui/Binding.h"
#include "ui/EnvironmentFocusedValues.h"

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace ViewKit {

// Whether something (an alert, a sheet, a cover) is presented, and what builds it: state a screen
// owns and hands around, so any code on the main actor can ask for a presentation without the
// view's own flag. Made with std::make_shared and used on the main actor only.
//
// present() and dismiss() change nothing at once: each posts one work item to the main queue,
// so calls made in one turn take effect in call order after it. Setting the content always sets
// isActive to whether there is content; the content stays after a dismissal, until the next
// present(). Each write announces the change first (objectWillChange), so observing views update.
template <class Content>
class PresentationContext : public reactive::ObservableObject,
                            public std::enable_shared_from_this<PresentationContext<Content>> {
public:
    using Builder = std::function<Content()>;

    PresentationContext() { detail::requireMainActor("PresentationContext"); }

    bool isActive() const {
        detail::requireMainActor("PresentationContext::isActive");
        return isActive_.get();
    }
    void setIsActive(bool active) {
        detail::requireMainActor("PresentationContext::setIsActive");
        isActive_.set(active);
    }
    reactive::AnyPublisher<bool> isActivePublisher() const { return isActive_.publisher(); }

    const std::optional<Builder>& content() const {
        detail::requireMainActor("PresentationContext::content");
        return content_.get();
    }
    reactive::AnyPublisher<std::optional<Builder>> contentPublisher() const { return content_.publisher(); }

    // After this turn: `content` becomes the builder and isActive true. The work item keeps the
    // context alive until it has run.
    void present(Builder content) {
        detail::requireMainActor("PresentationContext::present");
        foundation::DispatchQueue::main().async(
            [self = shared(), content = std::move(content)] { self->setContent(content); });
    }
    // After this turn: isActive false; the content stays.
    void dismiss() {
        detail::requireMainActor("PresentationContext::dismiss");
        foundation::DispatchQueue::main().async([self = shared()] { self->setIsActive(false); });
    }
    // Reads and writes isActive; holds the context.
    ui::Binding<bool> isActiveBinding() {
        auto self = shared();
        return ui::Binding<bool>([self] { return self->isActive(); }, [self](bool active) { self->setIsActive(active); });
    }

private:
    void setContent(std::optional<Builder> content) {
        const bool present = content.has_value();
        content_.set(std::move(content));
        isActive_.set(present);
    }
    std::shared_ptr<PresentationContext> shared() {
        auto self = this->weak_from_this().lock();
        if (!self) foundation::fatal("a presentation context must be made with std::make_shared");
        return self;
    }

    reactive::Published<bool> isActive_{this, false};
    reactive::Published<std::optional<Builder>> content_{this, std::nullopt};
};

namespace detail {
// The context a focused-value key holds, or null; and publishing one (null takes it out).
template <ui::FocusedValueKey K> typename K::Value focusedContext(const ui::FocusedValues& values) {
    return values.get<K>().value_or(nullptr);
}
template <ui::FocusedValueKey K> void setFocusedContext(ui::FocusedValues& values, typename K::Value context) {
    values.set<K>(context ? std::optional(std::move(context)) : std::nullopt);
}
} // namespace detail

} // namespace ViewKit
