#include "Views/AppUpdatesView.h"

#include "ui/CommandItem.h"
#include "updater/SPUUpdater.h"

#include "foundation/Bundle.h"

namespace quoril {

ui::View AppUpdatesView::body(ui::ViewContext& ctx) const {
    const auto model = ctx.observedObject(appUpdatesViewModel);
    return ui::CommandItem(foundation::Bundle::main()->localizedString("Check for Updates\u2026"),
                           [updater = updater] { updater->checkForUpdates(); })
        .disabled(!model->canCheckForUpdates.get());
}

} // namespace quoril
