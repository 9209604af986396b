#include "ui/DisplayListGraphicsBackend.h"
#include "ui/GraphicsContext.h"
#include "ui/RecordingGraphicsBackend.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

using graphics::CGPoint;
using graphics::CGRect;
using ui::GraphicsContext;

const ui::Color red(ui::Color::RGBColorSpace::sRGB, 1, 0, 0);
const ui::Color blue(ui::Color::RGBColorSpace::sRGB, 0, 0, 1);

struct Recording {
    std::shared_ptr<ui::RecordingGraphicsBackend> backend = std::make_shared<ui::RecordingGraphicsBackend>();
    GraphicsContext context{backend};
};

TEST(GraphicsContextTest, RecordsTheCommandsOfASmallScene) {
    Recording r;
    auto& ctx = r.context;
    ctx.fill(ui::Path(CGRect{{0, 0}, {10, 10}}), GraphicsContext::Shading::color(red));
    ctx.translateBy(5, 5);
    ctx.setOpacity(0.5);
    ctx.stroke(ui::Path::ellipseIn(CGRect{{0, 0}, {4, 4}}), GraphicsContext::Shading::color(blue), 2);
    ctx.drawLayer([](GraphicsContext& layer) {
        layer.scaleBy(2, 3);
        layer.addFilter(GraphicsContext::Filter::hueRotation(ui::Angle::degrees(90)));
        layer.fill(ui::Path(CGRect{{1, 1}, {2, 2}}),
                   GraphicsContext::Shading::linearGradient(ui::Gradient(std::vector<ui::Color>{red, blue}),
                                                            CGPoint{0, 0}, CGPoint{4, 0}));
    });
    ctx.setBlendMode(ui::BlendMode::multiply);
    ctx.rotate(ui::Angle::degrees(90));
    ctx.fill(ui::Path(CGRect{{0, 0}, {1, 1}}), GraphicsContext::Shading::foreground());

    const std::vector<std::string> expected = {
        "fill 0 0 10 10 color(1 0 0 1)",
        "stroke 0 0 4 4 2 color(0 0 1 1) | transform(1 0 0 1 5 5) opacity(0.5)",
        "beginLayer | transform(1 0 0 1 5 5) opacity(0.5)",
        "fill 1 1 2 2 linearGradient(0 0 4 0) | transform(2 0 0 3 5 5) filters(hueRotation(90°))",
        "endLayer",
        "fill 0 0 1 1 foreground | transform(0 1 -1 0 5 5) opacity(0.5) blend(multiply)",
    };
    EXPECT_EQ(r.backend->descriptions(), expected);
}

TEST(GraphicsContextTest, CopiesKeepTheirOwnStateAndFiltersApplyToLaterDraws) {
    Recording r;
    auto& ctx = r.context;
    const ui::Path square(CGRect{{0, 0}, {1, 1}});
    const auto shading = GraphicsContext::Shading::color(red);
    ctx.fill(square, shading);
    ctx.scaleBy(2, 2);
    ctx.addFilter(GraphicsContext::Filter::blur(3)); // measured at the scale it was added at
    ctx.scaleBy(10, 10);
    GraphicsContext copy = ctx;
    copy.addFilter(GraphicsContext::Filter::brightness(0.25));
    copy.setOpacity(0.1);
    copy.fill(square, shading);
    ctx.fill(square, shading);
    // Radii and amounts that are no blur add nothing.
    ctx.addFilter(GraphicsContext::Filter::blur(0));
    ctx.addFilter(GraphicsContext::Filter::blur(NAN));
    ctx.setOpacity(NAN);
    ctx.fill(square, shading);

    ASSERT_EQ(r.backend->commands().size(), 4u);
    EXPECT_TRUE(r.backend->commands()[0].state.filters.empty());
    EXPECT_EQ(r.backend->commands()[1].state.description(),
              "transform(20 0 0 20 0 0) opacity(0.1) filters(blur(6) brightness(0.25))");
    EXPECT_EQ(r.backend->commands()[2].state.description(), "transform(20 0 0 20 0 0) filters(blur(6))");
    EXPECT_EQ(r.backend->commands()[3].state.description(), "transform(20 0 0 20 0 0) opacity(0) filters(blur(6))");
    EXPECT_EQ(ctx.opacity(), 0);
    EXPECT_EQ(copy.transform(), ctx.transform());
}

TEST(GraphicsContextTest, ALayerStartsFreshAndTakesNoDrawsAfterItEnds) {
    Recording r;
    r.context.setOpacity(0.5);
    r.context.addFilter(GraphicsContext::Filter::grayscale(1));
    std::optional<GraphicsContext> kept;
    r.context.drawLayer([&](GraphicsContext& layer) {
        EXPECT_EQ(layer.opacity(), 1);
        EXPECT_TRUE(layer.state().filters.empty());
        kept = layer;
    });
    EXPECT_EQ(r.backend->descriptions(),
              (std::vector<std::string>{"beginLayer | opacity(0.5) filters(grayscale(1))", "endLayer"}));

    // The painting backend drops what a kept layer context draws once its layer is done.
    auto painting = std::make_shared<ui::DisplayListGraphicsBackend>();
    GraphicsContext ctx(painting);
    std::optional<GraphicsContext> late;
    ctx.drawLayer([&](GraphicsContext& layer) {
        layer.fill(ui::Path(CGRect{{0, 0}, {4, 4}}), GraphicsContext::Shading::color(red));
        late = layer;
    });
    const QRectF before = painting->list().paintedBounds();
    late->fill(ui::Path(CGRect{{50, 50}, {4, 4}}), GraphicsContext::Shading::color(red));
    EXPECT_EQ(painting->list().paintedBounds(), before);
    EXPECT_LT(before.right(), 10);
}

} // namespace
