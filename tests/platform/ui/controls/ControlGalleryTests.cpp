// Every control drawn once, light and dark; set CONTROL_GALLERY_PNG to a file to look at it.
#include "ui/Button.h"
#include "ui/ColorPicker.h"
#include "ui/ContentUnavailableView.h"
#include "ui/Divider.h"
#include "ui/Group.h"
#include "ui/Label.h"
#include "ui/Link.h"
#include "ui/Menu.h"
#include "ui/Picker.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/Toggle.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace ui;

View gallery() {
    auto on = Binding<bool>::constant(true);
    auto off = Binding<bool>::constant(false);
    auto interval = Binding<double>::constant(86400);
    View options = Group({View(Text("Hourly")).tag(3600.0), View(Text("Daily")).tag(86400.0),
                          View(Text("Weekly")).tag(604800.0)});
    return VStack(HorizontalAlignment::leading, 10,
                  {HStack({Button("Check for Updates", [] {}), Button("Delete", ButtonRole::destructive, [] {}),
                           Button("Default", [] {}).buttonStyle(BorderedProminentButtonStyle{}),
                           Button("Borderless", [] {}).buttonStyle(BorderlessButtonStyle{}),
                           Button("Plain", [] {}).buttonStyle(PlainButtonStyle{})}),
                   HStack({Button("Small", [] {}).controlSize(ControlSize::small),
                           Button(Text("New Goal"), "plus", [] {}).controlSize(ControlSize::large),
                           Button("Disabled", [] {}).disabled(true)}),
                   HStack({Toggle("Switch on", on).toggleStyle(SwitchToggleStyle{}),
                           Toggle("Switch off", off).toggleStyle(SwitchToggleStyle{}), Toggle("Checked", on),
                           Toggle("Unchecked", off)}),
                   HStack({Picker("Frequency:", interval, options),
                           Picker("None:", Binding<double>::constant(1), options)}),
                   Picker("Segments:", interval, options).pickerStyle(SegmentedPickerStyle{}),
                   HStack(VerticalAlignment::top, 30,
                          {Picker("Radio:", interval, options).pickerStyle(RadioGroupPickerStyle{}),
                           Picker("Inline:", interval, options).pickerStyle(InlinePickerStyle{}),
                           VStack(HorizontalAlignment::leading, 8,
                                  {Menu("Actions", Button("A", [] {})),
                                   Link("Help", *foundation::URL::fromString("https://example.org")),
                                   ColorPicker("Colour", Binding<Color>::constant(Color::blue.opacity(0.6)))})}),
                   Divider(),
                   ContentUnavailableView(Label("No Goals", "flame"), Text("Add one to begin."),
                                          Button([] {}, Label("New Goal", "plus")).controlSize(ControlSize::large))
                       .frame(FlexibleFrame{.maxHeight = 200})})
        .padding(16);
}

TEST(ControlGalleryTest, DrawsInBothSchemes) {
    for (auto scheme : {ColorScheme::light, ColorScheme::dark}) {
        EnvironmentValues environment;
        environment.set<ColorSchemeKey>(scheme);
        TestHost host(gallery(), {640, 560}, environment);
        const QColor background = scheme == ColorScheme::light ? QColor(236, 236, 236) : QColor(40, 40, 40);
        const QImage image = host.render(2, background);
        ASSERT_FALSE(image.isNull());
        if (const char* path = std::getenv("CONTROL_GALLERY_PNG")) {
            image.save(QString(path) + (scheme == ColorScheme::light ? "-light.png" : "-dark.png"));
        }
    }
}

} // namespace
