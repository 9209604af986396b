#include "ui/AnimatedCanvas.h"
#include "ui/Animation.h"
#include "ui/State.h"
#include "ui/TestHost.h"
#include "ui/Transaction.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

using graphics::CGRect;
using graphics::CGSize;
using ui::GraphicsContext;

const ui::Color red(ui::Color::RGBColorSpace::sRGB, 1, 0, 0);

// A red bar as wide as the state "width", drawn in a 40 × 20 frame at (10, 10).
struct Bar {
    std::shared_ptr<std::optional<ui::State<double>>> width;
    ui::View body(ui::ViewContext& ctx) const {
        *width = ctx.state<double>("width", 0);
        const auto draw = [](GraphicsContext& g, CGSize size, const double& w) {
            g.fill(ui::Path(CGRect{{0, 0}, {w, size.height}}), GraphicsContext::Shading::color(red));
        };
        return ui::View(ui::AnimatedCanvas<double>(***width, draw)).frame(40, 20).padding(10);
    }
};

TEST(AnimatedCanvasTest, TheDrawingFollowsTheAnimatedValueWithoutEvaluatingAgain) {
    auto width = std::make_shared<std::optional<ui::State<double>>>();
    ui::TestHost host(Bar{width}, {60, 40});
    const auto redUpTo = [&] {
        const QImage image = host.render();
        int x = 10; // the frame's leading edge
        while (x < image.width() && QColor(image.pixel(x, 20)) == QColor(Qt::red))
            ++x;
        return x;
    };
    ASSERT_EQ(redUpTo(), 10) << "nothing drawn at width 0";

    ui::withAnimation(ui::Animation::linear(1), [&] { (*width)->set(20); });
    host.update();
    const ui::Element* bar = host.findType<Bar>();
    const int evaluations = ui::TestHost::evaluationCount(bar);
    host.stepFrame(0.5);
    EXPECT_EQ(ui::AnimatedCanvas<double>::presentedValue(*host.findByTypeName("AnimatedCanvas")), 10.0);
    EXPECT_EQ(redUpTo(), 20) << "half way";
    host.stepFrame(0.5);
    EXPECT_EQ(redUpTo(), 30) << "there";
    EXPECT_EQ(ui::TestHost::evaluationCount(bar), evaluations) << "frames only paint again";
    EXPECT_EQ(ui::AnimatedCanvas<double>::presentedValue(*bar), std::nullopt) << "not a canvas";

    // Without an animation the value is there at once; what is drawn past the frame shows.
    (*width)->set(45);
    host.update();
    EXPECT_EQ(redUpTo(), 55);
}

} // namespace
