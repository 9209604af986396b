#pragma once

#include "ui/View.h"
#include "ui/ViewContext.h"

namespace quoril {

// A gap of exactly `multiply` times the program's spacing (16 points) in a settings form.
struct SettingsSpacer {
    double multiply = 1;

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace quoril
