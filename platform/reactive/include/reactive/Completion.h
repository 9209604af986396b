#pragma once

#include <optional>
#include <type_traits>
#include <utility>

namespace reactive {

// The failure type of publishers that cannot fail. It has no values.
struct Never {
    Never() = delete;
    bool operator==(const Never&) const = default;
};

namespace Subscribers {

// How a publisher ended: finished, or failed with an error of its failure type.
template <class Failure = Never> class Completion {
public:
    static Completion finished() { return Completion(); }
    static Completion failure(Failure error) {
        static_assert(!std::is_same_v<Failure, Never>, "a publisher that cannot fail has no failure");
        Completion c;
        c.error_.emplace(std::move(error));
        return c;
    }

    bool isFinished() const { return !error_; }
    bool isFailure() const { return error_.has_value(); }
    // Only for a failure.
    const Failure& error() const { return *error_; }

    bool operator==(const Completion&) const = default;

private:
    Completion() = default;
    std::optional<Failure> error_;
};

} // namespace Subscribers

} // namespace reactive
