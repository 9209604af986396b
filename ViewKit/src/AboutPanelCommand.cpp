#include "ViewKit/AboutPanelCommand.h"

#include "ViewKit/MainActor.h"

#include "desktop/Application.h"
#include "desktop/NSFont.h"
#include "ui/CommandGroup.h"
#include "ui/CommandItem.h"

namespace ViewKit {

AboutPanelCommand::AboutPanelCommand(std::string title, std::string applicationName,
                                     std::optional<std::string> credits)
    : title(std::move(title)) {
    options.applicationName = std::move(applicationName);
    if (credits)
        options.attributedCredits = desktop::AboutPanelOptions::Credits{
            std::move(*credits), graphics::NSColor::systemColor("secondaryLabelColor"),
            desktop::NSFont::smallSystemFontSize()};
}

ui::View AboutPanelCommand::body(ui::ViewContext&) const {
    detail::requireMainActor("AboutPanelCommand");
    return ui::CommandGroup::replacing(ui::CommandGroupPlacement::appInfo,
                                       ui::CommandItem(title, [options = options] {
                                           detail::requireMainActor("AboutPanelCommand");
                                           desktop::Application::shared().orderFrontStandardAboutPanel(options);
                                       }));
}

} // namespace ViewKit
