#pragma once

#include "ui/Presentation.h"
#include "ui/View.h"

#include <string_view>
#include <vector>

namespace ui {

class Element;

// Shows the alerts, sheets and covers that views present (View::alert, sheet,
// fullScreenCover). Hosts wrap their root with it, so presentations are drawn by the layer
// over the whole window: a dimmed backdrop that takes the clicks meant for what lies beneath,
// an alert as a small centred panel, a sheet as a panel of its content, a cover across the
// window. Each is modal (keyboard shortcuts reach only the topmost) and closes on Escape;
// what a sheet presents is shown over that sheet. Tests read what is shown and act as a user
// would through the functions below.
class PresentationHost {
public:
    // `root` with what its subtree presents drawn over it, later presentations on top.
    static View wrap(View root);

    // What is shown under the element of a wrapped root, bottom first.
    static std::vector<Presentation> presented(const Element& root);
    // Clicks the button titled `title` of the topmost presentation when it is an alert: the
    // alert closes, then the button's action runs. False when there is no such button.
    static bool chooseAlertButton(const Element& root, std::string_view title);
    // Closes the topmost presentation as the user does (Escape, a close button); false when
    // nothing is shown.
    static bool dismissTopmost(const Element& root);
};

} // namespace ui
