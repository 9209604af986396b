#include "SchemeRendering.h"
#include "StatefulBinding.h"

#include "ViewKit/SystemFontListPicker.h"
#include "ViewKit/SystemFontPicker.h"
#include "ViewKit/SystemFontPickerFont.h"
#include "ViewKit/SystemFontPickerItem.h"

#include "ui/Font.h"
#include "ui/Frame.h"
#include "ui/HostingWindow.h"
#include "ui/TestHost.h"
#include "ui/Text.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using ViewKit::SystemFontListPicker;
using ViewKit::SystemFontPicker;
using Font = ViewKit::SystemFontPickerFont;

namespace {

std::vector<Font> fontsNamed(const std::vector<std::string>& names) {
    std::vector<Font> fonts;
    for (const auto& name : names)
        fonts.emplace_back(name);
    return fonts;
}

std::vector<std::string> namesOf(const std::vector<Font>& fonts) {
    std::vector<std::string> out;
    for (const auto& font : fonts)
        out.push_back(font.fontName);
    return out;
}

ui::Binding<std::string> bound(const std::shared_ptr<std::string>& name) {
    return ui::Binding<std::string>([name] { return *name; },
                                    [name](std::string s) { *name = std::move(s); });
}

// The titles of the picker's menu that are checked, after opening it.
std::vector<std::string> checkedEntries(ui::TestHost& host, const std::string& anyTitle) {
    host.tap(host.findByText(anyTitle));
    std::vector<std::string> checked;
    if (!host.popups().menu()) return {"no menu"};
    for (const auto& item : host.popups().menu()->items)
        if (item.isChecked) checked.push_back(item.title);
    return checked;
}

} // namespace

TEST(SystemFontPickerFontTest, SystemNamesNamesAsGivenAndIdsWithoutCase) {
    for (const std::string name :
         {"", " \t", ".AppleSystemUIFont", ".applesystemuifontbold", " .AppleSystemUIFont "})
        EXPECT_EQ(Font(name).fontDisplayName, "Standard") << '"' << name << '"';
    EXPECT_EQ(Font("PT Mono").fontName, "PT Mono");
    EXPECT_EQ(Font("PT Mono").fontDisplayName, "PT Mono");
    EXPECT_EQ(Font("DejaVu Sans").id(), Font("dejavu SANS").id());
    EXPECT_NE(Font("DejaVu Sans").id(), Font("DejaVu Serif").id());
}

TEST(SystemFontPickerFontTest, MovingToTopAndTheStandardList) {
    const auto fonts = fontsNamed({"Helvetica", "HELVETICA", "Arial"});
    EXPECT_EQ(namesOf(ViewKit::movingToTop(fonts, " helvetica ")),
              (std::vector<std::string>{"Helvetica", "Arial"}));
    EXPECT_EQ(namesOf(ViewKit::movingToTop(fonts, "Courier")), namesOf(fonts));
    EXPECT_EQ(namesOf(ViewKit::movingToTop(fontsNamed({"Arial", "helvetica"}), "HELVETICA")),
              (std::vector<std::string>{"helvetica", "Arial"}));

    const auto standard =
        Font::standardFonts({Font("abc"), Font("zed-1", "Zed"), Font("Ärger"), Font("zed-2", "Zed")});
    EXPECT_EQ(namesOf(standard), (std::vector<std::string>{"", "zed-1", "zed-2", "abc", "Ärger"}));
    EXPECT_EQ(standard.front().fontDisplayName, "Standard");
    EXPECT_EQ(namesOf(Font::standardFonts({})), std::vector<std::string>{""});
}

TEST(SystemFontPickerFontTest, AllHoldsTheInstalledFamiliesAsTheFontDatabaseSpellsThem) {
    const auto names = namesOf(Font::all());
    for (const std::string family : {"DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif"})
        EXPECT_NE(std::find(names.begin(), names.end(), family), names.end()) << family;
}

TEST(SystemFontListPickerTest, APickStoresTheFamilysNameAndMarksItIgnoringCase) {
    auto name = std::make_shared<std::string>("dejavu sans");
    ui::TestHost host(
        ui::View(SystemFontListPicker(bound(name), fontsNamed({"", "DejaVu Sans", "PT Mono"}), false, 13)),
        {300, 200});
    host.update();
    const auto marks = host.findAllType<ViewKit::SystemFontPickerItem>();
    ASSERT_EQ(marks.size(), 3u);
    std::vector<bool> selected;
    for (const auto* e : marks)
        selected.push_back(
            dynamic_cast<const ui::detail::CustomViewNode<ViewKit::SystemFontPickerItem>&>(e->node())
                .value()
                .isSelected);
    EXPECT_EQ(selected, (std::vector<bool>{false, true, false}));

    ASSERT_TRUE(host.tap(host.findByText("PT Mono")));
    EXPECT_EQ(*name, "PT Mono");
    ASSERT_TRUE(host.tap(host.findByText("Standard")));
    EXPECT_EQ(*name, "");

    // Without fonts of its own: the installed ones after "Standard", the selected one on top.
    *name = "dejavu serif";
    SystemFontListPicker standard(bound(name), std::nullopt, false, 13);
    ASSERT_GT(standard.fonts.size(), 3u);
    EXPECT_EQ(standard.fonts[0].fontName, "DejaVu Serif");
    EXPECT_EQ(standard.fonts[1].fontDisplayName, "Standard");
}

TEST(SystemFontListPickerTest, ARowShowsItsNameInItsOwnFace) {
    ui::TestHost row(ui::View(ViewKit::SystemFontPickerItem{Font("DejaVu Serif"), 15, false})
                         .frame(200, 30, ui::Alignment::leading),
                     {200, 30});
    ui::TestHost text(ui::View(ui::Text::verbatim("DejaVu Serif").font(ui::Font::custom("DejaVu Serif", 15)))
                          .frame(200, 30, ui::Alignment::leading),
                      {200, 30});
    ui::TestHost other(
        ui::View(ui::Text::verbatim("DejaVu Serif").font(ui::Font::custom("DejaVu Sans Mono", 15)))
            .frame(200, 30, ui::Alignment::leading),
        {200, 30});
    EXPECT_EQ(row.render(), text.render());
    EXPECT_NE(row.render(), other.render());
}

TEST(SystemFontPickerTest, TheBestMatchKeepsTheCallersNameAndOtherRowsTheirOwn) {
    auto name = std::make_shared<std::string>("HelveticaNeue-Bold");
    const auto helveticas = fontsNamed({"Helvetica", "Helvetica Neue"});
    EXPECT_EQ(SystemFontPicker(bound(name), helveticas, 13).selectedFont->fontName, "Helvetica Neue");
    {
        ui::TestHost host(ui::View(SystemFontPicker(bound(name), helveticas, 13)), {300, 60});
        host.update();
        EXPECT_EQ(checkedEntries(host, "Helvetica Neue"), std::vector<std::string>{"Helvetica Neue"});
        ASSERT_TRUE(host.chooseMenuItem("Helvetica Neue"));
        EXPECT_EQ(*name, "HelveticaNeue-Bold");
    }

    *name = "Arial Black";
    const auto arials = fontsNamed({"Arial Black", "Arial"});
    EXPECT_EQ(SystemFontPicker(bound(name), arials, 13).selectedFont->fontName, "Arial Black");
    EXPECT_EQ(
        SystemFontPicker::matchingFont(fontsNamed({"Arial", "Arial Black"}), "arialblack-italic")->fontName,
        "Arial Black");
    {
        ui::TestHost host(ui::View(SystemFontPicker(bound(name), arials, 13)), {300, 60});
        host.update();
        EXPECT_EQ(checkedEntries(host, "Arial"), std::vector<std::string>{"Arial Black"});
        ASSERT_TRUE(host.chooseMenuItem("Arial"));
        EXPECT_EQ(*name, "Arial");
    }
}

TEST(SystemFontPickerTest, TheSystemFontNoFontsAndNoMatch) {
    const auto fonts = fontsNamed({"", "Helvetica"});
    auto name = std::make_shared<std::string>(".AppleSystemUIFont");
    EXPECT_EQ(SystemFontPicker(bound(name), fonts, 13).selectedFont->fontName, "");
    {
        ui::TestHost host(ui::View(SystemFontPicker(bound(name), fonts, 13)), {300, 60});
        host.update();
        EXPECT_EQ(checkedEntries(host, "Standard"), std::vector<std::string>{"Standard"});
    }
    *name = "";
    EXPECT_FALSE(SystemFontPicker(bound(name), fonts, 13).selectedFont);
    {
        ui::TestHost host(ui::View(SystemFontPicker(bound(name), fonts, 13)), {300, 60});
        host.update();
        EXPECT_EQ(checkedEntries(host, "Standard"), std::vector<std::string>{"Standard"})
            << "through its own tag";
    }
    EXPECT_FALSE(SystemFontPicker(bound(name), {}, 13).selectedFont);
    ui::TestHost empty(ui::View(SystemFontPicker(bound(name), {}, 13)), {300, 60});
    empty.update();
    EXPECT_TRUE(empty.findAllType<ViewKit::SystemFontPickerItem>().empty());
}

TEST(SystemFontPickerTest, DrawsTheListAndTheMenu) {
    auto name = std::make_shared<std::string>("DejaVu Serif");
    viewkit_testing::renderBothSchemes(ui::View(SystemFontListPicker(bound(name), std::nullopt, false, 14)),
                                       {260, 320}, "viewkit-font-list-picker");
    viewkit_testing::renderBothSchemes(
        ui::View(SystemFontPicker(bound(name), Font::standardFonts(), 14)).padding(10), {260, 60},
        "viewkit-font-picker");
}

TEST(SystemFontPickerTest, ItsMenuListsTheFamiliesInTheirOwnNames) {
    for (const auto scheme : {ui::ColorScheme::light, ui::ColorScheme::dark}) {
        auto name = std::make_shared<std::string>("DejaVu Sans");
        ui::HostingWindow window(ui::View(SystemFontPicker(bound(name), Font::standardFonts(), 14))
                                     .padding(10)
                                     .environment(ui::ColorSchemeKey{}, scheme));
        window.resize(260, 60);
        window.show();
        const QPointF at(130, 30);
        QMouseEvent press(QEvent::MouseButtonPress, at, window.mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, window.mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &release);
        QCoreApplication::processEvents();
        auto* menu = window.findChild<QMenu*>();
        ASSERT_NE(menu, nullptr);
        QStringList titles;
        for (const auto* action : menu->actions())
            titles << action->text();
        EXPECT_TRUE(titles.contains("Standard"));
        EXPECT_TRUE(titles.contains("DejaVu Serif"));
        const auto suffix = scheme == ui::ColorScheme::dark ? "-dark.png" : "-light.png";
        menu->grab().save(QDir::temp().filePath(QString("viewkit-font-picker-menu") + suffix));
        menu->close();
    }
}
