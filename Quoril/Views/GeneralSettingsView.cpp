#include "Views/GeneralSettingsView.h"

#include "App/PreferenceKeys.h"

#include "Prefs/Toggle.h"
#include "ui/Form.h"
#include "ui/FormStyle.h"
#include "ui/LabeledContent.h"
#include "ui/Stack.h"

namespace quoril {

ui::View GeneralSettingsView::body(ui::ViewContext&) const {
    // The switch titles are shown as written, never looked up.
    ui::View switches = ui::VStack(ui::HorizontalAlignment::leading, std::nullopt,
                                   {ui::View(Prefs::Toggle("On quit", burnOnQuit())),
                                    ui::View(Prefs::Toggle("At the end of the day", burnAtEndOfDay()))});
    return ui::VStack(ui::HorizontalAlignment::center, 0,
                      {ui::View(ui::Form(ui::View(ui::LabeledContent("Burn accomplished goals:", switches))))
                           .formStyle(ui::FormStyle::columns)
                           .padding()});
}

} // namespace quoril
