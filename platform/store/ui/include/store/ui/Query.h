#pragma once

#include "reactive/AnyCancellable.h"
#include "store/FetchDescriptor.h"
#include "store/ModelContext.h"
#include "store/ui/ModelContextKey.h"
#include "ui/Animation.h"
#include "ui/Element.h"
#include "ui/ViewContext.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace store {

namespace detail {

// What a query keeps in its view's element between evaluations.
struct QueryStateBase {
    std::weak_ptr<ModelContext> context;
    bool hasContext = false; // whether `context` was ever set (a null context is a context too)
    bool stale = true;
    std::uint64_t fetchCount = 0;
    std::optional<ui::Animation> animation;
    reactive::AnyCancellable observation;

    // Whether the results must be fetched (again) for `current`.
    bool needsFetch(const std::shared_ptr<ModelContext>& current) const;
    // Runs `fetch` while recording what it reads of the context; the first change of any of
    // it marks the results stale and re-evaluates the view, under the query's animation when
    // the change brings none of its own.
    void track(const std::shared_ptr<ModelContext>& current, ui::Element& element,
               const std::function<void()>& fetch);
};

template <class T> struct QueryState : QueryStateBase {
    FetchDescriptor<T> descriptor;
    std::vector<std::shared_ptr<T>> results;
    // The context's contentsGeneration() the results are of; none when they are of no fetch
    // from the current context.
    std::optional<std::uint64_t> generation;
};

void logFetchFailure(const char* what);

} // namespace detail

// The result of a view's fetch, from store::query. Reading it fetches nothing: the fetch runs
// when the view is evaluated after its context changed.
template <class T> class Query {
public:
    explicit Query(std::shared_ptr<detail::QueryState<T>> state)
        : state_(std::move(state)) {}

    const std::vector<std::shared_ptr<T>>& results() const { return state_->results; }
    const std::vector<std::shared_ptr<T>>& operator*() const { return state_->results; }
    const std::vector<std::shared_ptr<T>>* operator->() const { return &state_->results; }
    auto begin() const { return state_->results.begin(); }
    auto end() const { return state_->results.end(); }
    std::size_t size() const { return state_->results.size(); }
    bool empty() const { return state_->results.empty(); }
    const std::shared_ptr<T>& operator[](std::size_t i) const { return state_->results[i]; }
    // How often this query has fetched (for tests).
    std::uint64_t fetchCount() const { return state_->fetchCount; }

private:
    std::shared_ptr<detail::QueryState<T>> state_;
};

// The models of type T in the environment's model context (ModelContextKey) that match
// `descriptor`, kept current for the view: an insert, a delete, a write to a model or another
// container's save that the context takes in re-evaluates the view once, and that evaluation
// fetches once, however many changes came in between. The update that shows a changed result
// runs under `animation` unless the change came with an animation of its own. The descriptor
// and animation are those of the view's first evaluation (a view that lists something else is a
// new view). Without a context the result is empty; a fetch that fails keeps the last result.
template <class T>
Query<T> query(ui::ViewContext& ctx, std::string_view name, FetchDescriptor<T> descriptor = {},
               std::optional<ui::Animation> animation = std::nullopt) {
    auto& element = ctx.element();
    auto state = element.slot<detail::QueryState<T>>(name, [&] {
        auto made = std::make_shared<detail::QueryState<T>>();
        made->descriptor = std::move(descriptor);
        made->animation = std::move(animation);
        return made;
    });
    const auto& context = ctx.environment<ModelContextKey>();
    if (state->needsFetch(context)) {
        if (!state->hasContext || state->context.lock() != context) state->generation.reset();
        state->track(context, element, [&] {
            if (!context) {
                state->results.clear();
                state->generation.reset();
                return;
            }
            try {
                // Inserts alone are put in place; other changes are fetched anew.
                if (!state->generation ||
                    !context->placeInserts(state->descriptor, state->results, *state->generation))
                    state->results = context->fetch(state->descriptor);
                state->generation = context->contentsGeneration();
            } catch (const std::exception& error) {
                state->generation.reset();
                detail::logFetchFailure(error.what());
            }
        });
    }
    return Query<T>(std::move(state));
}

} // namespace store
