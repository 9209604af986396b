#pragma once

#include "Flair/AnyChangeEffect.h"
#include "Flair/ChangeCounting.h"
#include "ui/TransactionModifier.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <concepts>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

namespace Flair {

// Counts the changes of `value` that pass `predicate` and shows `effect` for the count. A change
// is examined `effect.delay()` after it is reported, against the value held when it was reported;
// it counts when the new value differs from that one and the last counted change lies more than
// `effect.cooldown()` back. Changes that do not count are dropped, not postponed.
template <std::equality_comparable V>
requires std::copy_constructible<V>
struct HighlightChangeModifier {
    V value;
    AnyChangeEffect effect;
    std::function<bool(const V&)> predicate;

    ui::View body(ui::ViewContext& ctx, ui::View content) const {
        const auto changeCount = ctx.state<std::int64_t>("changeCount", 0);
        const auto lastUpdate = ctx.state<std::optional<double>>("lastUpdate", std::nullopt);
        AnyViewModifier shown = effect.modifier()(*changeCount);

        // The step keeps copies of what it compares and the state handles, never the view, so a
        // step that runs after the view is gone does nothing.
        auto onChange = [previous = value, predicate = predicate, delay = effect.delay(),
                         cooldown = effect.cooldown(), changeCount, lastUpdate](const V& newValue) {
            detail::runAfterDelay(delay, [previous, predicate, cooldown, changeCount, lastUpdate, newValue] {
                if (!changeCount.isAlive()) return;
                if (!predicate(newValue)) return;
                if (newValue == previous) return;
                detail::countChange(changeCount, lastUpdate, cooldown);
            });
        };
        return content.onChange(value, std::move(onChange))
            .modifier(ui::animation(std::move(shown), effect.animation()));
    }
};

} // namespace Flair
