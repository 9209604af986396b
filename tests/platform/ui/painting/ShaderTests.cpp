#include "Handles.h"
#include "TestBox.h"

#include "ui/Animation.h"
#include "ui/Shader.h"
#include "ui/ShaderLibrary.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"
#include "ui/VisualEffect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <mutex>
#include <span>
#include <stdexcept>

namespace {

using namespace uitest;
using graphics::CGPoint;
using ui::ShaderArguments;
using ui::ShaderColor;
using ui::ShaderFunction;

// Red and green from the position across a 4 × 3 view, blue from the colour underneath.
const ShaderFunction gradient("gradient", [](CGPoint p, ShaderColor c, const ShaderArguments&) {
    return ShaderColor{float(p.x / 4), float(p.y / 3), c.red, 1};
});

int level(double v) {
    return int(v * 255 + 0.5);
}

// The layer stores levels as the shader pass rounds them.
int stored(float v) {
    return int(v * 255 + 0.5f);
}

// Within `tolerance` levels in every channel.
testing::AssertionResult near(QRgb actual, QRgb expected, int tolerance = 2) {
    for (int shift : {0, 8, 16, 24})
        if (std::abs(int((actual >> shift) & 0xff) - int((expected >> shift) & 0xff)) > tolerance)
            return testing::AssertionFailure() << std::hex << actual << " is not near " << expected;
    return testing::AssertionSuccess();
}

ui::View plain(QColor color, double w, double h) {
    return box(w, h, {}, color);
}

TEST(ShaderTest, ColorEffectComputesEachPixelFromItsCentreAndColourAtEveryScale) {
    ui::TestHost host(plain(QColor(255, 0, 0), 4, 3).colorEffect(ui::Shader(gradient)), {4, 3});
    for (int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        const QImage image = host.render(scale);
        ASSERT_EQ(image.size(), QSize(4 * scale, 3 * scale));
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const double px = (x + 0.5) / scale, py = (y + 0.5) / scale;
                EXPECT_EQ(image.pixel(x, y), qRgba(level(px / 4), level(py / 3), 255, 255)) << x << "," << y;
            }
    }
}

TEST(ShaderTest, ArgumentsReachTheFunctionInOrderWithColoursPremultiplied) {
    std::mutex mutex;
    std::vector<double> seen;
    ShaderColor colour;
    const ShaderFunction record("record", [&](CGPoint, ShaderColor c, const ShaderArguments& args) {
        std::lock_guard lock(mutex);
        seen = {args.float2(0).x, args.float2(0).y,  args.float_(1),
                args.float_(2),   args.float4(3)[3], double(args.floatArray(4).size()),
                args.float_(9),   args.float2(1).y};
        colour = args.color(5);
        return c;
    });
    using A = ui::Shader::Argument;
    ui::Shader shader(record,
                      {A::float2(graphics::CGSize{4, 3}), A::float_(0.25), A::float_(7),
                       A::float4(1, 2, 3, 4), A::floatArray({1, 2, 3}), A::color(ui::Color(1, 0, 0, 0.5))});
    ui::TestHost host(plain(Qt::red, 4, 3).colorEffect(shader), {4, 3});
    host.render();
    // The last two read past the end and past an argument's components: zero, not a crash.
    EXPECT_EQ(seen, (std::vector<double>{4, 3, 0.25, 7, 4, 3, 0, 0}));
    EXPECT_EQ(colour, (ShaderColor{0.5f, 0, 0, 0.5f}));
}

TEST(ShaderTest, DisabledOrMissingShaderDrawsTheContentUnchangedAndKeepsItsState) {
    auto handles = std::make_shared<Handles<bool>>();
    struct Inner {
        std::shared_ptr<Handles<bool>> handles;
        ui::View body(ui::ViewContext& ctx) const {
            auto kept = ctx.state<bool>("kept", false);
            handles->keep("kept", kept);
            return plain(QColor(10, 20, 30), 4, 3);
        }
    };
    struct Toggle {
        std::shared_ptr<Handles<bool>> handles;
        ui::View body(ui::ViewContext& ctx) const {
            auto on = ctx.state<bool>("on", false);
            handles->keep("on", on);
            return ui::View(Inner{handles}).colorEffect(ui::Shader(gradient), on.value());
        }
    };
    const QImage reference = ui::TestHost(plain(QColor(10, 20, 30), 4, 3), {4, 3}).render(2);
    ui::TestHost host(Toggle{handles}, {4, 3});
    EXPECT_EQ(host.render(2), reference);

    (*handles)["kept"].set(true);
    (*handles)["on"].set(true);
    host.update();
    EXPECT_NE(host.render(2), reference);
    EXPECT_TRUE((*handles)["kept"].value()); // switching the effect does not rebuild the content
    (*handles)["on"].set(false);
    host.update();
    EXPECT_EQ(host.render(2), reference);

    const auto missing = ui::ShaderLibrary::default_().shader("no such shader");
    EXPECT_TRUE(missing.function().isEmpty());
    EXPECT_EQ(ui::TestHost(plain(QColor(10, 20, 30), 4, 3).colorEffect(missing), {4, 3}).render(2),
              reference);
}

TEST(ShaderTest, LibraryFindsFunctionsByNameAndTheLatestOfANameWins) {
    auto& library = ui::ShaderLibrary::default_();
    auto fill = [](float red) {
        return ShaderFunction("test.fill", [red](CGPoint, ShaderColor, const ShaderArguments& args) {
            return ShaderColor{red, float(args.float_(0)), 0, 1};
        });
    };
    library.add(fill(1));
    library.add(fill(0));
    ASSERT_TRUE(library.contains("test.fill"));
    const auto shader = library.shader("test.fill", {ui::Shader::Argument::float_(1)});
    EXPECT_EQ(ui::TestHost(plain(Qt::red, 2, 2).colorEffect(shader), {2, 2}).render().pixel(1, 1),
              qRgb(0, 255, 0));
}

TEST(ShaderTest, LayerEffectSamplesOtherPositionsWithinItsGrownLayer) {
    // Everything moves 4 points right: the sample is taken 4 points to the left.
    const ShaderFunction shift("shift",
                               [](CGPoint p, const ui::ShaderLayer& layer, const ShaderArguments& args) {
                                   return layer.sample({p.x - args.float_(0), p.y});
                               });
    auto scene = [&](double reach) {
        return ui::HStack(
                   {plain(Qt::blue, 10, 10)
                        .layerEffect(ui::Shader(shift, {ui::Shader::Argument::float_(4)}), {reach, 0})})
            .frame(30, 10);
    };
    const QImage grown = ui::TestHost(scene(4), {30, 10}).render();
    // The box spans 10...20; shifted it spans 14...24, past its own bounds into the grown layer.
    EXPECT_EQ(grown.pixel(12, 5), qRgb(255, 255, 255));
    EXPECT_EQ(grown.pixel(15, 5), qRgb(0, 0, 255));
    EXPECT_EQ(grown.pixel(23, 5), qRgb(0, 0, 255));
    EXPECT_EQ(grown.pixel(25, 5), qRgb(255, 255, 255));

    // Without room to spread, what moves past the bounds is cut off there.
    const QImage tight = ui::TestHost(scene(0), {30, 10}).render();
    EXPECT_EQ(tight.pixel(15, 5), qRgb(0, 0, 255));
    EXPECT_EQ(tight.pixel(21, 5), qRgb(255, 255, 255));

    // Between pixels the sample blends its neighbours.
    const QImage pixels = grown.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const ui::ShaderLayer layer(pixels, QTransform());
    const ShaderColor edge = layer.sample({14, 5.5});
    EXPECT_NEAR(edge.blue, 1, 1e-6);
    EXPECT_NEAR(edge.red, 0.5, 1e-6);
    EXPECT_EQ(layer.sample({-3, 5}), ShaderColor{});
}

TEST(ShaderTest, OutputIsClampedToValidPremultipliedPixelsAndAThrowLeavesTheContent) {
    const ShaderFunction wild("wild", [](CGPoint, ShaderColor, const ShaderArguments&) {
        return ShaderColor{2, std::nanf(""), -1, 0.5f};
    });
    const QImage clamped =
        ui::TestHost(plain(Qt::red, 2, 2).colorEffect(ui::Shader(wild)), {2, 2}).render(1, Qt::transparent);
    EXPECT_EQ(clamped.pixel(0, 0), qRgba(128, 0, 0, 128));

    // Fails in the lower rows only, which another thread may be shading while the upper ones are done.
    const ShaderFunction failing("failing",
                                 [](CGPoint p, ShaderColor, const ShaderArguments&) -> ShaderColor {
                                     if (p.y > 150) throw std::runtime_error("no");
                                     return {0, 0, 1, 1};
                                 });
    const QImage reference = ui::TestHost(plain(Qt::red, 200, 200), {200, 200}).render();
    EXPECT_EQ(ui::TestHost(plain(Qt::red, 200, 200).colorEffect(ui::Shader(failing)), {200, 200}).render(),
              reference);
}

TEST(ShaderTest, RowsSharedAmongThreadsGiveTheSamePixelsAsOneLoop) {
    const ShaderFunction wave("wave", [](CGPoint p, ShaderColor c, const ShaderArguments&) {
        const float v = float(0.5 + 0.5 * std::sin(p.x * 0.37 + p.y * 0.11));
        return ShaderColor{v * c.alpha, c.green, (1 - v) * c.alpha, c.alpha};
    });
    const int w = 320, h = 240;
    const QImage shaded =
        ui::TestHost(plain(QColor(0, 128, 0), w, h).colorEffect(ui::Shader(wave)), {double(w), double(h)})
            .render();
    const QImage content = ui::TestHost(plain(QColor(0, 128, 0), w, h), {double(w), double(h)}).render();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb in = content.pixel(x, y);
            const ShaderColor c{qRed(in) / 255.f, qGreen(in) / 255.f, qBlue(in) / 255.f, qAlpha(in) / 255.f};
            const ShaderColor out = wave.colorBody()->operator()({x + 0.5, y + 0.5}, c, {});
            ASSERT_EQ(shaded.pixel(x, y), qRgba(stored(out.red), stored(out.green), stored(out.blue), 255))
                << x << "," << y;
        }
}

TEST(ShaderTest, ARowFormShadesEvenlySpacedRowsAndThePixelFormTheRest) {
    // The row form draws `gradient`; the pixel form draws black, so each pixel shows which ran.
    const ShaderFunction rows(
        "rows", [](CGPoint, ShaderColor, const ShaderArguments&) { return ShaderColor{0, 0, 0, 1}; },
        [](CGPoint start, CGPoint step, std::span<ShaderColor> colors, const ShaderArguments& arguments) {
            for (std::size_t i = 0; i < colors.size(); ++i)
                colors[i] = gradient.colorBody()->operator()(
                    {start.x + double(i) * step.x, start.y + double(i) * step.y}, colors[i], arguments);
        });
    ASSERT_NE(rows.colorRowBody(), nullptr);
    EXPECT_EQ(ShaderFunction("rows", ShaderFunction::ColorBody{}, *rows.colorRowBody()).colorRowBody(), nullptr)
        << "no row form without a pixel form";

    ui::TestHost host(plain(QColor(255, 0, 0), 4, 3).colorEffect(ui::Shader(rows)), {4, 3});
    for (int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        const QImage image = host.render(scale);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const double px = (x + 0.5) / scale, py = (y + 0.5) / scale;
                EXPECT_EQ(image.pixel(x, y), qRgba(level(px / 4), level(py / 3), 255, 255)) << x << "," << y;
            }
    }

    // Turned in depth, positions along a row are no longer evenly spaced.
    const QImage turned =
        ui::TestHost(plain(QColor(255, 0, 0), 40, 30).colorEffect(ui::Shader(rows)).rotation3DEffect(
                         ui::Angle::degrees(45), {0, 1, 0}),
                     {40, 30})
            .render(1, Qt::white);
    EXPECT_EQ(turned.pixel(20, 15), qRgba(0, 0, 0, 255));
}

TEST(ShaderTest, VisualEffectChoosesEffectsFromTheViewsSizeAndFrame) {
    // Paints the right half of whatever it is given, measured by the size argument.
    const ShaderFunction rightHalf("rightHalf", [](CGPoint p, ShaderColor c, const ShaderArguments& args) {
        return p.x > args.float2(0).x / 2 ? ShaderColor{0, 0, 1, 1} : c;
    });
    std::vector<ui::GeometryProxy> seen;
    auto view = ui::VStack(
        ui::HorizontalAlignment::leading, 0,
        {plain(Qt::red, 40, 10),
         plain(Qt::red, 20, 10).visualEffect([&](ui::VisualEffect content, const ui::GeometryProxy& proxy) {
             seen.push_back(proxy);
             return content.colorEffect(ui::Shader(rightHalf, {ui::Shader::Argument::float2(proxy.size())}))
                 .offset(0, 5)
                 .opacity(0.5);
         })});
    ui::TestHost host(view.frame(40, 30, ui::Alignment::topLeading), {40, 30});
    const QImage image = host.render();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().size(), (graphics::CGSize{20, 10}));
    EXPECT_EQ(seen.back().globalFrame(), (graphics::CGRect{0, 10, 20, 10}));
    // Moved down by 5 and drawn at half opacity over white: red on the left, blue on the right.
    EXPECT_EQ(image.pixel(5, 12), qRgb(255, 255, 255));
    EXPECT_TRUE(near(image.pixel(5, 17), qRgb(255, 128, 128)));
    EXPECT_TRUE(near(image.pixel(15, 17), qRgb(128, 128, 255)));
    EXPECT_EQ(image.pixel(30, 17), qRgb(255, 255, 255));
}

TEST(ShaderTest, ShaderAndVisualEffectDataAnimateTheirNumbersInOrder) {
    static_assert(ui::Animatable<ui::Shader> && ui::Animatable<ui::ShaderEffect> &&
                  ui::Animatable<ui::VisualEffect>);
    using A = ui::Shader::Argument;
    const ui::Shader from(gradient, {A::float2(10, 20), A::color(ui::Color(1, 0, 0)), A::float_(0)});
    ui::Shader to = from;
    to.setAnimatableData({30, 40, 1});
    EXPECT_EQ(to.arguments()[0].values(), (std::vector<double>{30, 40}));
    EXPECT_EQ(to.arguments()[2].values(), (std::vector<double>{1}));

    ui::Shader halfway = from;
    halfway.setAnimatableData(ui::interpolate(from.animatableData(), to.animatableData(), 0.5));
    EXPECT_EQ(halfway.animatableData(), (ui::AnimatableVector{20, 30, 0.5}));
    // Lists of different lengths combine as if padded with zeros.
    EXPECT_EQ((ui::AnimatableVector{1} + ui::AnimatableVector{1, 2}), (ui::AnimatableVector{2, 2}));
    EXPECT_EQ(ui::AnimatableVector::zero(), (ui::AnimatableVector{0, 0}));

    const auto effect = ui::VisualEffect().colorEffect(from, false).opacity(0.5).offset(3, 4);
    EXPECT_EQ(effect.animatableData(), (ui::AnimatableVector{10, 20, 0, 0.5, 3, 4}));
    auto moved = effect;
    moved.setAnimatableData({1, 2, 3, 0.25, 5, 6});
    EXPECT_EQ(moved.animatableData(), (ui::AnimatableVector{1, 2, 3, 0.25, 5, 6}));
    EXPECT_FALSE(moved.steps()[0].shader.isEnabled);
}

TEST(ShaderTest, AFloatArgumentSetInsideWithAnimationInterpolates) {
    for (bool visual : {false, true}) {
        SCOPED_TRACE(visual ? "visualEffect" : "colorEffect");
        auto seen = std::make_shared<std::vector<double>>();
        auto mutex = std::make_shared<std::mutex>();
        const ShaderFunction record("record", [seen, mutex](CGPoint, ShaderColor c, const ShaderArguments& args) {
            std::lock_guard lock(*mutex);
            seen->push_back(args.float_(0));
            return c;
        });
        auto handles = std::make_shared<Handles<double>>();
        struct Burning {
            std::shared_ptr<Handles<double>> handles;
            ShaderFunction function;
            bool visual;
            ui::View body(ui::ViewContext& ctx) const {
                auto amount = ctx.state<double>("amount", 0);
                handles->keep("amount", amount);
                const ui::Shader shader(function, {ui::Shader::Argument::float_(*amount)});
                if (!visual) return plain(Qt::red, 2, 2).colorEffect(shader);
                return plain(Qt::red, 2, 2).visualEffect(
                    [shader](ui::VisualEffect content, const ui::GeometryProxy&) { return content.colorEffect(shader); });
            }
        };
        ui::TestHost host(Burning{handles, record, visual}, {2, 2});
        auto shownAfter = [&](double seconds) {
            host.stepFrame(seconds);
            seen->clear();
            host.render();
            EXPECT_FALSE(seen->empty());
            return seen->empty() ? -1.0 : seen->back();
        };
        ui::withAnimation(ui::Animation::linear(3), [&] { (*handles)["amount"].set(1.0); });
        host.update();
        EXPECT_DOUBLE_EQ(shownAfter(1.5), 0.5);
        EXPECT_DOUBLE_EQ(shownAfter(1.5), 1.0);
        // Outside an animation a new value shows at once.
        (*handles)["amount"].set(0.25);
        host.update();
        EXPECT_DOUBLE_EQ(shownAfter(0), 0.25);
    }
}

TEST(ShaderTest, AVisualEffectAnimatesItsValuesWhileFollowingItsGeometryAtOnce) {
    auto seen = std::make_shared<std::vector<CGPoint>>();
    auto mutex = std::make_shared<std::mutex>();
    const ShaderFunction record("record", [seen, mutex](CGPoint, ShaderColor c, const ShaderArguments& args) {
        std::lock_guard lock(*mutex);
        seen->push_back(args.float2(0));
        return c;
    });
    auto handles = std::make_shared<Handles<double>>();
    struct Moving {
        std::shared_ptr<Handles<double>> handles;
        ShaderFunction function;
        ui::View body(ui::ViewContext& ctx) const {
            auto amount = ctx.state<double>("amount", 0);
            auto inset = ctx.state<double>("inset", 0);
            handles->keep("amount", amount);
            handles->keep("inset", inset);
            const double value = *amount;
            return ui::HStack(ui::VerticalAlignment::top, 0,
                              {plain(Qt::white, *inset, 2),
                               plain(Qt::red, 2, 2).visualEffect(
                                   [function = function, value](ui::VisualEffect content, const ui::GeometryProxy& proxy) {
                                       using A = ui::Shader::Argument;
                                       return content.colorEffect(
                                           ui::Shader(function, {A::float2(proxy.globalFrame().minX(), value)}));
                                   })})
                .frame(40, 2, ui::Alignment::topLeading);
        }
    };
    ui::TestHost host(Moving{handles, record}, {40, 2});
    host.render();
    (*handles)["inset"].set(10);
    host.update();
    host.render();
    ui::withAnimation(ui::Animation::linear(3), [&] { (*handles)["amount"].set(1.0); });
    host.update();
    host.stepFrame(1.5);
    seen->clear();
    host.render();
    ASSERT_FALSE(seen->empty());
    // The move came without an animation, so only the value is on its way.
    EXPECT_DOUBLE_EQ(seen->back().x, 10);
    EXPECT_DOUBLE_EQ(seen->back().y, 0.5);
}

} // namespace
