#pragma once

#include "ui/ButtonStyle.h"
#include "ui/View.h"

namespace ViewKit {

// A button that fills its list row: the label stretches over the row's width from the leading
// edge, the whole row takes clicks, and the label fades to `pressedOpacity` while pressed.
//
//     ui::Button(action, label).buttonStyle(ViewKit::ListButtonStyle())
struct ListButtonStyle {
    double pressedOpacity = 0.5;

    explicit ListButtonStyle(double pressedOpacity = 0.5);

    ui::View makeBody(const ui::ButtonStyleConfiguration& configuration) const;

    bool operator==(const ListButtonStyle&) const = default;
};

} // namespace ViewKit
