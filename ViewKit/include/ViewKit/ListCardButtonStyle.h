#pragma once

#include "ui/Animation.h"
#include "ui/ButtonStyle.h"
#include "ui/View.h"

#include <optional>

namespace ViewKit {

// A button whose label shrinks to `pressedScale` about its centre while pressed; the change is
// animated with `animation`, at once without one.
struct ListCardButtonStyle {
    std::optional<ui::Animation> animation;
    double pressedScale = 0.98;

    explicit ListCardButtonStyle(std::optional<ui::Animation> animation = std::nullopt,
                                 std::optional<double> pressedScale = std::nullopt);

    ui::View makeBody(const ui::ButtonStyleConfiguration& configuration) const;
};

} // namespace ViewKit
