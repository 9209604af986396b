#pragma once

#include "Flair/ViewModifier.h"
#include "ui/AnyView.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <concepts>
#include <functional>
#include <memory>
#include <utility>

namespace Flair {

// The erased modifier of a continuous effect: it sees its content already erased, and keeps
// its own state while the erased type stays.
class AnyContinuousViewModifier {
public:
    using Body = std::function<ui::AnyView(ui::AnyView content)>;

    explicit AnyContinuousViewModifier(Body body)
        : body_(std::move(body)) {}
    template <ViewModifier M>
    requires(!std::same_as<M, AnyContinuousViewModifier>) AnyContinuousViewModifier(M modifier)
        : body_([boxed = std::make_shared<const M>(std::move(modifier))](ui::AnyView content) {
            return ui::AnyView(content.modifier(*boxed));
        }) {}

    ui::View body(ui::ViewContext&, ui::View content) const { return body_(ui::AnyView(std::move(content))); }

private:
    Body body_;
};

} // namespace Flair
