#pragma once

#include "ui/Scene.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <concepts>

namespace ui {

// An application value: its body builds its scenes from the context of its own element, so it
// keeps state by name (ctx.state), reads the environment — the application-wide scene phase
// under ScenePhaseKey — and attaches change handlers to scenes. The host makes the value once
// and keeps it for the life of the program.
template <class A>
concept App = std::copy_constructible<A> && requires(const A& app, ViewContext& ctx) {
    { app.body(ctx) } -> std::convertible_to<Scene>;
};

namespace detail {
template <App A> struct AppBody {
    A app;
    View body(ViewContext& ctx) const { return Scene(app.body(ctx)).view(); }
};
} // namespace detail

// The application as the root view of the host's graph.
template <App A> View appView(A app) {
    return View(detail::AppBody<A>{std::move(app)});
}

} // namespace ui
