#pragma once

#include "ViewKit/PresentationContext.h"
#include "ViewKit/ViewAnyView.h"

#include "ui/AnyView.h"
#include "ui/View.h"

#include <concepts>
#include <memory>
#include <type_traits>

namespace ViewKit {

// A callable that builds any view.
template <class F>
concept ViewBuilder = std::invocable<F&> && std::convertible_to<std::invoke_result_t<F&>, ui::View>;

// A context whose content is a view of any type, erased: the base of sheet and cover contexts.
class ViewPresentationContext : public PresentationContext<ui::AnyView> {
public:
    template <ViewBuilder F> void present(F view) {
        PresentationContext::present([view = std::move(view)]() mutable { return eraseToAnyView(ui::View(view())); });
    }
};

} // namespace ViewKit
