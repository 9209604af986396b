#include "Views/UpdatesSettingsView.h"

#include "Views/SettingsSpacer.h"
#include "Views/UpdateCheckInterval.h"

#include "foundation/DateFormat.h"
#include "ui/Button.h"
#include "ui/Font.h"
#include "ui/Form.h"
#include "ui/FormStyle.h"
#include "ui/Group.h"
#include "ui/HierarchicalShapeStyle.h"
#include "ui/LabeledContent.h"
#include "ui/LocalizedStringKey.h"
#include "ui/Picker.h"
#include "ui/Stack.h"
#include "ui/Text.h"
#include "ui/Toggle.h"
#include "updater/SPUUpdater.h"

#include <vector>

namespace quoril {

namespace {

ui::View lastCheckedText(foundation::Date date) {
    ui::LocalizedStringKey::StringInterpolation text;
    text.appendLiteral("Last checked: ");
    text.appendInterpolation(
        foundation::formatted(date, foundation::DateStyle::longForm, foundation::TimeStyle::shortened));
    return ui::View(ui::Text(ui::LocalizedStringKey(std::move(text))))
        .font(ui::Font::footnote())
        .foregroundStyle(ui::HierarchicalShapeStyle::secondary);
}

} // namespace

ui::View UpdatesSettingsView::body(ui::ViewContext& ctx) const {
    const auto updater = this->updater;
    auto checks = ctx.state<bool>("automaticallyChecksForUpdates", updater->automaticallyChecksForUpdates());
    auto downloads = ctx.state<bool>("automaticallyDownloadsUpdates", updater->automaticallyDownloadsUpdates());
    auto interval = ctx.state<double>("updateCheckInterval", updater->updateCheckInterval());

    ui::View switches = ui::VStack(
        {ui::View(ui::Toggle("Automatically check for updates", checks.binding()))
             .onChange(checks.value(), [updater](bool value) { updater->setAutomaticallyChecksForUpdates(value); }),
         ui::View(ui::Toggle("Automatically download updates", downloads.binding()))
             .disabled(!checks.value())
             .onChange(downloads.value(),
                       [updater](bool value) { updater->setAutomaticallyDownloadsUpdates(value); })});

    std::vector<ui::View> options;
    for (UpdateCheckInterval option : allUpdateCheckIntervals)
        options.push_back(ui::View(ui::Text::verbatim(title(option))).tag(rawValue(option)));
    // A bare picker, so that the form puts its label in the label column; the picker keeps its
    // ideal size there.
    ui::View frequency = ui::Picker("Frequency:", interval.binding(), ui::Group(std::move(options)));

    std::vector<ui::View> rows{
        ui::View(ui::LabeledContent("App Updates:", switches)),
        ui::View(SettingsSpacer{1}),
        frequency,
        ui::View(SettingsSpacer{2}),
        ui::View(ui::Button([updater] { updater->checkForUpdates(); },
                            ui::View(ui::Text("Check for Updates")).padding(ui::EdgeSet::horizontal))),
    };
    // Read when the tab is built, not followed.
    if (const auto date = updater->lastUpdateCheckDate()) rows.push_back(lastCheckedText(*date));

    return ui::View(ui::Form(ui::View(ui::Group(std::move(rows)))))
        .formStyle(ui::FormStyle::columns)
        .padding()
        .onChange(interval.value(), [updater](double value) { updater->setUpdateCheckInterval(value); });
}

} // namespace quoril
