#pragma once

#include "ui/View.h"

#include <concepts>
#include <memory>
#include <utility>

namespace ui::detail {

// A control style of any type, as the environment holds it: anything that makes the control's
// look from its configuration. Styles compare by the value they hold, when its type has ==.
template <class Configuration> class AnyStyle {
public:
    template <class S>
        requires(!std::derived_from<S, AnyStyle>) && std::copy_constructible<S> &&
                requires(const S& style, const Configuration& c) {
                    { style.makeBody(c) } -> std::convertible_to<View>;
                }
    AnyStyle(S style)
        : box_(std::make_shared<Box<S>>(std::move(style))) {}

    View makeBody(const Configuration& configuration) const { return box_->makeBody(configuration); }
    bool operator==(const AnyStyle& other) const { return box_ == other.box_ || box_->equals(*other.box_); }

private:
    struct Base {
        virtual ~Base() = default;
        virtual View makeBody(const Configuration&) const = 0;
        virtual bool equals(const Base&) const = 0;
    };
    template <class S> struct Box final : Base {
        explicit Box(S s)
            : style(std::move(s)) {}
        View makeBody(const Configuration& c) const override { return style.makeBody(c); }
        bool equals(const Base& other) const override {
            if constexpr (std::equality_comparable<S>) {
                const auto* same = dynamic_cast<const Box*>(&other);
                return same && same->style == style;
            } else {
                return false;
            }
        }
        S style;
    };
    std::shared_ptr<const Base> box_;
};

} // namespace ui::detail
