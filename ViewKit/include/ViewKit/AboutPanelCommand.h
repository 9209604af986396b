#pragma once

#include "desktop/AboutPanelOptions.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <optional>
#include <string>

namespace ViewKit {

// A menu command that stands in place of the application menu's About item: one item titled
// `title` (verbatim) that opens the standard about panel with the application's name and,
// when given, credits in small secondary text (also when empty). A commands value:
//
//     ui::WindowGroup(...).commands(ui::View(ViewKit::AboutPanelCommand("About Quoril", "Quoril", "By us")))
struct AboutPanelCommand {
    std::string title;
    desktop::AboutPanelOptions options;

    AboutPanelCommand(std::string title, std::string applicationName,
                      std::optional<std::string> credits = std::nullopt);

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace ViewKit
