#include "SampleWindow.h"

#include "foundation/CollectionMove.h"
#include "ui/Button.h"
#include "ui/Divider.h"
#include "ui/ForEach.h"
#include "ui/Form.h"
#include "ui/Group.h"
#include "ui/Label.h"
#include "ui/LabeledContent.h"
#include "ui/List.h"
#include "ui/Picker.h"
#include "ui/Section.h"
#include "ui/Stack.h"
#include "ui/Text.h"
#include "ui/TextField.h"
#include "ui/Toggle.h"
#include "ui/Toolbar.h"
#include "ui/ViewContext.h"

#include <optional>
#include <string>
#include <vector>

namespace {

struct Goal {
    int id;
    std::string title;
    bool operator==(const Goal&) const = default;
};

struct Sample {
    ui::View body(ui::ViewContext& ctx) const {
        auto goals = ctx.state<std::vector<Goal>>(
            "goals", std::vector<Goal>{{1, "Read a chapter"}, {2, "Water the plants"}, {3, "Call home"}, {4, "Tidy the desk"}});
        auto selected = ctx.state<std::optional<int>>("selected", 2);
        auto remind = ctx.state<bool>("remind", true);
        auto priority = ctx.state<int>("priority", 1);
        auto note = ctx.state<std::string>("note", "Before lunch");

        auto rows = ui::ForEach(goals.value(), [](const Goal& goal) { return ui::View(ui::Text(goal.title)); })
                        .onMove([goals](const foundation::IndexSet& from, std::size_t to) {
                            auto moved = goals.value();
                            foundation::moveElements(moved, from, to);
                            goals.set(std::move(moved));
                        })
                        .onDelete([goals](const foundation::IndexSet& at) {
                            std::vector<Goal> kept;
                            for (std::size_t i = 0; i < goals.value().size(); ++i)
                                if (!at.contains(i)) kept.push_back(goals.value()[i]);
                            goals.set(std::move(kept));
                        });
        const ui::View list = ui::View(ui::List(selected.binding(), {ui::Section(ui::Text("Today"), {rows})}))
                                  .frame(ui::FlexibleFrame{.minWidth = 200, .idealWidth = 220, .maxWidth = 220});

        std::string title = "None";
        for (const auto& goal : goals.value())
            if (selected.value() == goal.id) title = goal.title;
        const ui::View form =
            ui::View(ui::Form(ui::Group(
                         {ui::View(ui::LabeledContent("Goal:", ui::View(ui::Text(title)))),
                          ui::View(ui::LabeledContent("Note:", ui::View(ui::TextField("Note", note.binding())))),
                          ui::View(ui::Picker("Priority:", priority.binding(),
                                              ui::Group({ui::View(ui::Text("Low")).tag(0), ui::View(ui::Text("Normal")).tag(1),
                                                         ui::View(ui::Text("High")).tag(2)}))),
                          ui::View(ui::Toggle("Remind me", remind.binding()))})))
                .padding(20)
                .frame(ui::FlexibleFrame{.maxWidth = ui::CGFloat(INFINITY),
                                         .maxHeight = ui::CGFloat(INFINITY),
                                         .alignment = ui::Alignment::topLeading});

        auto add = [goals] {
            auto more = goals.value();
            more.push_back({int(more.size()) + 10, "New goal"});
            goals.set(std::move(more));
        };
        return ui::HStack(ui::VerticalAlignment::top, 0, {list, ui::Divider(), form})
            .frame(ui::FlexibleFrame{.minWidth = 560, .idealWidth = 600, .maxWidth = 600, .minHeight = 340,
                                     .idealHeight = 360, .maxHeight = 360})
            .toolbar({ui::ToolbarItem(ui::ToolbarItemPlacement::automatic,
                                      ui::Button([] {}, ui::Label("Burn", "flame"))),
                      ui::ToolbarItem(ui::ToolbarItemPlacement::automatic,
                                      ui::Button(add, ui::Label("New Goal", "plus")))})
            .preferredColorScheme(ui::ColorScheme::dark);
    }
};

} // namespace

ui::View sampleWindow() {
    return ui::View(Sample{});
}
