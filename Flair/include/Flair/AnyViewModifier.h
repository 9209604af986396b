#pragma once

#include "Flair/ViewModifier.h"
#include "ui/AnyView.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <concepts>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace Flair {

// A modifier of any type as one type. The modifier is applied inside an AnyView, which keeps
// its state while the erased type stays, so an effect rebuilt for each new change count keeps
// what it keeps between counts.
class AnyViewModifier {
public:
    using Body = std::function<ui::AnyView(ui::View content)>;

    explicit AnyViewModifier(Body body)
        : body_(std::move(body)) {}
    template <ViewModifier M>
    requires(!std::same_as<M, AnyViewModifier>) AnyViewModifier(M modifier)
        : body_([boxed = std::make_shared<const M>(std::move(modifier))](ui::View content) {
            return ui::AnyView(content.modifier(*boxed));
        }) {}

    ui::View body(ui::ViewContext&, ui::View content) const { return body_(std::move(content)); }

private:
    Body body_;
};

} // namespace Flair
