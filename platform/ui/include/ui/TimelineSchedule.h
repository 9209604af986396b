#pragma once

#include "foundation/Date.h"

#include <concepts>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

namespace ui {

// When a timeline shows new content. `nextEntry(after)` is the first entry later than
// `after`, or empty when no entry will come (a paused schedule); `entryAt(date)` is the entry
// in effect at `date`: the last one at or before it.
template <class S>
concept TimelineSchedule = std::copy_constructible<S> && requires(const S& s, foundation::Date date) {
    { s.nextEntry(date) } -> std::same_as<std::optional<foundation::Date>>;
    { s.entryAt(date) } -> std::same_as<foundation::Date>;
};

// Any timeline schedule, as one type.
class AnyTimelineSchedule {
public:
    template <TimelineSchedule S>
    requires(!std::same_as<std::remove_cvref_t<S>, AnyTimelineSchedule>) AnyTimelineSchedule(S schedule)
        : box_(std::make_shared<Model<S>>(std::move(schedule))) {}

    std::optional<foundation::Date> nextEntry(foundation::Date after) const { return box_->nextEntry(after); }
    foundation::Date entryAt(foundation::Date date) const { return box_->entryAt(date); }

private:
    struct Concept {
        virtual ~Concept() = default;
        virtual std::optional<foundation::Date> nextEntry(foundation::Date after) const = 0;
        virtual foundation::Date entryAt(foundation::Date date) const = 0;
    };
    template <class S> struct Model final : Concept {
        explicit Model(S s)
            : schedule(std::move(s)) {}
        std::optional<foundation::Date> nextEntry(foundation::Date after) const override {
            return schedule.nextEntry(after);
        }
        foundation::Date entryAt(foundation::Date date) const override { return schedule.entryAt(date); }
        S schedule;
    };

    std::shared_ptr<const Concept> box_;
};

} // namespace ui
