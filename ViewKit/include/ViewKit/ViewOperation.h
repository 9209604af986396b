#pragma once

#include "ui/View.h"

#include <functional>
#include <utility>

namespace ViewKit {

// What the toolkit's view operations return: applied with `view | operation`, it gives the view
// the operation describes at once (a modified view, a two-branch conditional view, ...),
// adding no node of its own.
//
//     ui::Image::systemName("checkmark") | ViewKit::visible(isSelected)
class ViewOperation {
public:
    explicit ViewOperation(std::function<ui::View(const ui::View&)> apply)
        : apply_(std::move(apply)) {}

    ui::View operator()(const ui::View& view) const { return apply_(view); }
    friend ui::View operator|(const ui::View& view, const ViewOperation& operation) { return operation(view); }

private:
    std::function<ui::View(const ui::View&)> apply_;
};

} // namespace ViewKit
