// A row's separator follows the views that set its guides as they change and as the row moves.
#include "Handles.h"
#include "TestBox.h"

#include "ui/Element.h"
#include "ui/EnvironmentKeys.h"
#include "ui/ForEach.h"
#include "ui/List.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace uitest;

namespace {

// Rows indented by 40, the one named "mark" after `above` others; a separator starts `start`
// into a row's title and ends after its marks.
struct IndentedRows {
    std::shared_ptr<Handles<int>> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto start = ctx.state<int>("start", 0);
        auto above = ctx.state<int>("above", 0);
        handles->keep("start", start);
        handles->keep("above", above);
        std::vector<std::string> names;
        for (int i = 0; i < *above; ++i)
            names.push_back("above " + std::to_string(i));
        names.push_back("mark");
        names.push_back("last");
        const CGFloat into = *start;
        auto row = [into](const std::string& name) {
            return ui::View(ui::HStack(ui::VerticalAlignment::center, 16,
                                       {box(60, 10, name, Qt::black)
                                            .alignmentGuide(ui::HorizontalAlignment::listRowSeparatorLeading,
                                                            [into](const ui::ViewDimensions&) { return into; }),
                                        box(20, 10, {}, Qt::darkGray)
                                            .alignmentGuide(ui::HorizontalAlignment::listRowSeparatorTrailing,
                                                            [](const ui::ViewDimensions& d) { return d.width; })}))
                .padding(ui::EdgeSet::leading, 40)
                .listRowSeparatorTint(ui::Color::blue)
                .listRowInsets(ui::EdgeInsets{0, 0, 0, 0});
        };
        return ui::List({ui::ForEach(names, [](const std::string& n) { return n; }, row)})
            .environment(ui::DefaultMinListRowHeightKey{}, 20.0);
    }
};

bool blue(const QColor& color) {
    return color.blue() > 200 && color.red() < 100;
}

TEST(SeparatorGuideTest, TheSeparatorFollowsItsGuidesWhenTheyChangeAndWhenTheRowMoves) {
    auto handles = std::make_shared<Handles<int>>();
    ui::TestHost host(IndentedRows{handles}, {300, 200});
    auto lineOf = [&] {
        ui::Element* e = host.findByText("mark");
        while (e && e->node().typeName() != "ListRow")
            e = e->parent();
        return int(host.frame(e).maxY()) - 1;
    };
    auto image = host.render();
    int line = lineOf();
    EXPECT_FALSE(blue(image.pixelColor(30, line)));
    EXPECT_TRUE(blue(image.pixelColor(45, line)));

    (*handles)["start"].set(30);
    host.update();
    image = host.render();
    EXPECT_FALSE(blue(image.pixelColor(65, line))) << "the separator starts where its guide went";
    EXPECT_TRUE(blue(image.pixelColor(75, line)));
    EXPECT_TRUE(blue(image.pixelColor(130, line)));
    EXPECT_FALSE(blue(image.pixelColor(145, line)));

    (*handles)["above"].set(2);
    host.update();
    image = host.render();
    const int moved = lineOf();
    ASSERT_GT(moved, line + 30);
    EXPECT_FALSE(blue(image.pixelColor(65, moved)));
    EXPECT_TRUE(blue(image.pixelColor(75, moved))) << "the moved row draws its separator where it is";
    EXPECT_FALSE(blue(image.pixelColor(145, moved)));
}

} // namespace
