#include "TemporaryFolder.h"

#include "foundation/Bundle.h"
#include "ui/Circle.h"
#include "ui/Divider.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Gradient.h"
#include "ui/HierarchicalShapeStyle.h"
#include "ui/Image.h"
#include "ui/Rectangle.h"
#include "ui/ShapeStyleEnvironment.h"
#include "ui/Spacer.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/TintShapeStyle.h"

#include <QFontMetricsF>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using graphics::CGRect;
using graphics::CGSize;

namespace {

// Text is laid out at one pixel per point, on a 72-dpi device.
QFontMetricsF metricsAt72(const QFont& font) {
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(int(std::lround(72 / 0.0254)));
        image.setDotsPerMeterY(int(std::lround(72 / 0.0254)));
        return image;
    }();
    return QFontMetricsF(font, &device);
}

QImage paint(const ui::View& view, CGSize size) {
    ui::TestHost host(view, size);
    return host.render();
}

bool near(QColor a, QColor b, int tolerance = 3) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

int darkPixels(const QImage& image, QRect area = {}) {
    if (area.isNull()) area = image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += qGray(image.pixel(x, y)) < 128;
    return count;
}

// A short horizontal line from (5, 10) to (15, 10), for telling line caps apart.
struct Dash : ui::Shape<Dash> {
    ui::Path path(const CGRect&) const {
        ui::Path path;
        path.move({5, 10});
        path.addLine({15, 10});
        return path;
    }
};

TEST(PaintingTest, ColorsAndShapesFillWhatTheyAreOffered) {
    const QImage color = paint(ui::View(ui::Color::red).frame(10, 10), {20, 20});
    EXPECT_TRUE(near(color.pixel(10, 10), QColor(ui::Color::red.resolve({}).toQColor())));
    EXPECT_TRUE(near(color.pixel(2, 2), Qt::white));

    const QImage circle = paint(ui::Circle().fill(ui::Color::black), {20, 20});
    EXPECT_TRUE(near(circle.pixel(10, 10), Qt::black));
    EXPECT_TRUE(near(circle.pixel(1, 1), Qt::white));
    EXPECT_TRUE(near(circle.pixel(1, 10), Qt::black));

    // Even-odd leaves the overlap of two rectangles open.
    struct TwoSquares : ui::Shape<TwoSquares> {
        ui::Path path(const CGRect&) const {
            ui::Path path;
            path.addRect(CGRect{{0, 0}, {12, 12}});
            path.addRect(CGRect{{6, 6}, {12, 12}});
            return path;
        }
    };
    const QImage evenOdd =
        paint(TwoSquares().fill(ui::Color::black, ui::FillStyle{.eoFill = true}), {20, 20});
    EXPECT_TRUE(near(evenOdd.pixel(3, 3), Qt::black));
    EXPECT_TRUE(near(evenOdd.pixel(9, 9), Qt::white));
    const QImage winding = paint(TwoSquares().fill(ui::Color::black), {20, 20});
    EXPECT_TRUE(near(winding.pixel(9, 9), Qt::black));
}

TEST(PaintingTest, StrokesEndInTheirCapsAndBordersStayInside) {
    auto dash = [](graphics::CGLineCap cap) {
        return paint(Dash().stroke(ui::Color::black, ui::StrokeStyle{.lineWidth = 4, .lineCap = cap}),
                     {20, 20});
    };
    const QImage butt = dash(graphics::CGLineCap::butt);
    const QImage square = dash(graphics::CGLineCap::square);
    const QImage round = dash(graphics::CGLineCap::round);
    EXPECT_TRUE(near(butt.pixel(10, 10), Qt::black));
    EXPECT_TRUE(near(butt.pixel(3, 10), Qt::white));
    EXPECT_TRUE(near(square.pixel(3, 10), Qt::black));
    EXPECT_TRUE(near(square.pixel(3, 8), Qt::black)); // square caps keep their corners
    EXPECT_LT(qGray(round.pixel(3, 10)), 128);
    EXPECT_GT(qGray(round.pixel(3, 8)), 128); // round caps do not

    // A 20-point frame at (10, 10): stroke is centred on the edge, strokeBorder lies inside.
    const auto framed = [](ui::View view) { return paint(view.frame(20, 20), {40, 40}); };
    const QImage stroked = framed(ui::Rectangle().stroke(ui::Color::black, 4));
    const QImage border = framed(ui::Rectangle().strokeBorder(ui::Color::black, 4));
    EXPECT_TRUE(near(stroked.pixel(8, 20), Qt::black));
    EXPECT_TRUE(near(border.pixel(8, 20), Qt::white));
    EXPECT_TRUE(near(border.pixel(12, 20), Qt::black));
    EXPECT_TRUE(near(border.pixel(20, 20), Qt::white));
    // A line width that is not positive draws nothing.
    EXPECT_EQ(darkPixels(framed(ui::Rectangle().stroke(ui::Color::black, 0))), 0);
}

TEST(PaintingTest, TrimDrawsOnlyItsPartOfTheOutline) {
    // A circle starts at three o'clock and runs clockwise: the first quarter is bottom right.
    const QImage quarter =
        paint(ui::Circle().trim(0, 0.25).stroke(ui::Color::black, ui::StrokeStyle{.lineWidth = 4}), {40, 40});
    EXPECT_GT(darkPixels(quarter, QRect(20, 20, 20, 20)), 20);
    EXPECT_EQ(darkPixels(quarter, QRect(0, 0, 20, 20)), 0);
    EXPECT_EQ(darkPixels(quarter, QRect(0, 22, 18, 18)), 0);
    EXPECT_EQ(darkPixels(paint(ui::Circle().trim(0.5, 0.5).stroke(ui::Color::black, 4), {40, 40})), 0);
}

TEST(PaintingTest, StylesResolveAgainstTheEnvironment) {
    const QColor red = ui::Color::red.resolve({}).toQColor();
    // A shape used as a view fills with the foreground style.
    EXPECT_TRUE(
        near(paint(ui::View(ui::Rectangle()).foregroundColor(ui::Color::red), {10, 10}).pixel(5, 5), red));
    // The secondary level is the foreground style at half opacity.
    const QImage secondary =
        paint(ui::Rectangle().fill(ui::HierarchicalShapeStyle::secondary).foregroundStyle(ui::Color::black),
              {10, 10});
    EXPECT_NEAR(qGray(secondary.pixel(5, 5)), 128, 3);
    // The tint, falling back on the accent colour.
    const QColor green = ui::Color::green.resolve({}).toQColor();
    EXPECT_TRUE(
        near(paint(ui::Rectangle().fill(ui::TintShapeStyle()).tint(ui::Color::green), {10, 10}).pixel(5, 5),
             green));
    const QImage accent =
        paint(ui::Rectangle()
                  .fill(ui::TintShapeStyle())
                  .environment(ui::AccentColorKey{}, std::optional<ui::Color>(ui::Color::red)),
              {10, 10});
    EXPECT_TRUE(near(accent.pixel(5, 5), red));
    // Colours follow the colour scheme: the primary colour is light on dark.
    const QImage dark = paint(
        ui::View(ui::Color::primary).environment(ui::ColorSchemeKey{}, ui::ColorScheme::dark), {10, 10});
    EXPECT_GT(qGray(dark.pixel(5, 5)), 200);
    // A material is a translucent wash: what lies behind shows through.
    const QImage material = paint(
        ui::ZStack({ui::View(ui::Color::black), ui::Rectangle().fill(ui::Material::ultraThin)}), {10, 10});
    EXPECT_GT(qGray(material.pixel(5, 5)), 40);
    EXPECT_LT(qGray(material.pixel(5, 5)), 200);
}

// A shape painted again keeps its resolved style only while its environment and frame stay.
TEST(PaintingTest, ARepaintedShapeFollowsItsEnvironmentAndFrame) {
    const ui::View shape = ui::Rectangle().fill(ui::HierarchicalShapeStyle::primary);
    ui::TestHost host(shape.environment(ui::ColorSchemeKey{}, ui::ColorScheme::light), {10, 10});
    EXPECT_LT(qGray(host.render().pixel(5, 5)), 60);
    host.setRoot(shape.environment(ui::ColorSchemeKey{}, ui::ColorScheme::dark));
    EXPECT_GT(qGray(host.render().pixel(5, 5)), 200);
    host.setRoot(shape.environment(ui::ColorSchemeKey{}, ui::ColorScheme::light));
    EXPECT_LT(qGray(host.render().pixel(5, 5)), 60);

    // A gradient spans the frame it is painted in: wider, the same pixel lies nearer its start.
    const ui::View ramp = ui::Rectangle().fill(
        ui::LinearGradient(std::vector<ui::Color>{ui::Color::black, ui::Color::white}, ui::UnitPoint::leading,
                           ui::UnitPoint::trailing));
    ui::TestHost ramped(ramp, {10, 10});
    EXPECT_GT(qGray(ramped.render().pixel(9, 5)), 200);
    ramped.setSize({40, 10});
    EXPECT_LT(qGray(ramped.render().pixel(9, 5)), 80);
}

TEST(PaintingTest, ClipsRoundCornersAndMasksCutToCoverage) {
    const QImage rounded = paint(ui::View(ui::Color::black).cornerRadius(8), {20, 20});
    EXPECT_TRUE(near(rounded.pixel(0, 0), Qt::white));
    EXPECT_TRUE(near(rounded.pixel(1, 1), Qt::white));
    EXPECT_TRUE(near(rounded.pixel(10, 0), Qt::black));
    EXPECT_TRUE(near(rounded.pixel(10, 10), Qt::black));
    // Antialiased corners have partly covered pixels.
    bool partial = false;
    for (int i = 0; i < 8; ++i)
        partial = partial || (qGray(rounded.pixel(i, 2)) > 30 && qGray(rounded.pixel(i, 2)) < 225);
    EXPECT_TRUE(partial);

    // At twice the pixel density the corner is cut at the same place.
    ui::TestHost dense(ui::View(ui::Color::black).cornerRadius(8), {20, 20});
    const QImage doubled = dense.render(2);
    EXPECT_TRUE(near(doubled.pixel(1, 1), Qt::white));
    EXPECT_TRUE(near(doubled.pixel(20, 20), Qt::black));
    EXPECT_TRUE(near(doubled.pixel(20, 1), Qt::black));
    // What moves out of the clipped frame is cut off.
    const QImage moved = paint(
        ui::HStack({ui::View(ui::Color::black).frame(10, 10).offset(12, 0).cornerRadius(2), ui::Spacer()}),
        {40, 10});
    EXPECT_TRUE(near(moved.pixel(5, 5), Qt::white));
    EXPECT_TRUE(near(moved.pixel(17, 5), Qt::white));

    const QImage clipped = paint(ui::View(ui::Color::black).clipShape(ui::Circle()), {20, 20});
    EXPECT_TRUE(near(clipped.pixel(1, 1), Qt::white));
    EXPECT_TRUE(near(clipped.pixel(10, 10), Qt::black));

    const QImage masked =
        paint(ui::View(ui::Color::black)
                  .mask(ui::Circle().fill(ui::Color::white).frame(10, 10), ui::Alignment::topLeading),
              {20, 20});
    EXPECT_TRUE(near(masked.pixel(5, 5), Qt::black));
    EXPECT_TRUE(near(masked.pixel(15, 15), Qt::white));
    EXPECT_TRUE(near(masked.pixel(0, 0), Qt::white));
    // Only the mask's coverage counts, not its colour; a clear mask hides everything.
    EXPECT_TRUE(near(paint(ui::View(ui::Color::black).mask(ui::View(ui::Color::white)), {10, 10}).pixel(5, 5),
                     Qt::black));
    EXPECT_EQ(darkPixels(paint(ui::View(ui::Color::black).mask(ui::View(ui::Color::clear)), {10, 10})), 0);
}

TEST(PaintingTest, OpacityBlendModesAndGroups) {
    EXPECT_NEAR(qGray(paint(ui::View(ui::Color::black).opacity(0.5), {10, 10}).pixel(5, 5)), 128, 3);
    EXPECT_EQ(qGray(paint(ui::View(ui::Color::black).opacity(std::nan("")), {10, 10}).pixel(5, 5)), 0)
        << "an opacity that is not a number changes nothing";

    // destinationOut punches a hole through what the group drew before it, down to what is below.
    const auto hole =
        ui::ZStack({ui::View(ui::Color::black),
                    ui::Circle().fill(ui::Color::red).frame(10, 10).blendMode(ui::BlendMode::destinationOut)})
            .compositingGroup();
    const QImage punched = paint(hole, {20, 20});
    EXPECT_TRUE(near(punched.pixel(10, 10), Qt::white));
    EXPECT_TRUE(near(punched.pixel(1, 1), Qt::black));

    const QImage multiplied =
        paint(ui::ZStack({ui::View(ui::Color(1, 0, 0)),
                          ui::View(ui::Color(0, 1, 0)).blendMode(ui::BlendMode::multiply)}),
              {10, 10});
    EXPECT_TRUE(near(multiplied.pixel(5, 5), Qt::black));

    // hidden keeps its place but draws nothing; zIndex reorders painting, not layout.
    ui::TestHost host(ui::HStack({ui::View(ui::Color::black).frame(10, 10).hidden(),
                                  ui::View(ui::Color::black).frame(10, 10)}),
                      {40, 10});
    const QImage hidden = host.render();
    EXPECT_TRUE(near(hidden.pixel(11, 5), Qt::white));
    EXPECT_TRUE(near(hidden.pixel(27, 5), Qt::black));
    const QImage ordered =
        paint(ui::ZStack({ui::View(ui::Color::black).zIndex(1), ui::View(ui::Color::white)}), {10, 10});
    EXPECT_TRUE(near(ordered.pixel(5, 5), Qt::black));
}

TEST(PaintingTest, BlurSpreadsAndShadowsFallBesideTheContent) {
    const auto square = ui::View(ui::Color::black).frame(10, 10);
    const QImage sharp = paint(square, {60, 60});
    const QImage blurred = paint(square.blur(4), {60, 60});
    // Beyond the edge by one standard deviation the blur has spread grey; at three and more,
    // nearly nothing; the centre stays darkest.
    EXPECT_TRUE(near(sharp.pixel(39, 30), Qt::white));
    EXPECT_LT(qGray(blurred.pixel(39, 30)), 245);
    EXPECT_GT(qGray(blurred.pixel(50, 30)), 250);
    EXPECT_LT(qGray(blurred.pixel(30, 30)), qGray(blurred.pixel(36, 30)));
    EXPECT_GT(qGray(blurred.pixel(30, 30)), 0);
    // An opaque blur keeps the content's edges.
    const QImage opaque = paint(square.blur(4, true), {60, 60});
    EXPECT_TRUE(near(opaque.pixel(39, 30), Qt::white));
    EXPECT_TRUE(near(opaque.pixel(26, 30), Qt::black, 20));
    // A blur of zero changes nothing.
    EXPECT_EQ(paint(square.blur(0), {60, 60}), sharp);

    const QImage shadowed = paint(square.shadow(ui::Color::black, 0, 10, 0), {60, 60});
    EXPECT_TRUE(near(shadowed.pixel(30, 30), Qt::black));
    EXPECT_TRUE(near(shadowed.pixel(38, 30), Qt::black)); // the shadow, moved right
    EXPECT_TRUE(near(shadowed.pixel(22, 30), Qt::white));
    // The default shadow colour is a faint black.
    const int faint = qGray(paint(square.shadow(0, 10, 0), {60, 60}).pixel(38, 30));
    EXPECT_GT(faint, 150);
    EXPECT_LT(faint, 200);
}

TEST(PaintingTest, TextMeasuresAndDrawsInItsFont) {
    const ui::Font font = ui::Font::custom("DejaVu Sans", 20);
    ui::TestHost host(ui::View(ui::Text("Hello")).font(font), {200, 60});
    auto* text = host.findByText("Hello");
    ASSERT_NE(text, nullptr);
    const QFontMetricsF metrics = metricsAt72(font.resolve({}));
    EXPECT_NEAR(text->frame().width(), metrics.horizontalAdvance("Hello"), 1);
    EXPECT_NEAR(text->frame().height(), metrics.height(), 1);
    const QImage sans = host.render();
    EXPECT_GT(darkPixels(sans), 50);
    // Drawn in the named font: another face gives other pixels.
    const QImage serif =
        paint(ui::View(ui::Text("Hello")).font(ui::Font::custom("DejaVu Serif", 20)), {200, 60});
    EXPECT_NE(sans, serif);

    // The environment's settings reach the text: one line, upper case, in the foreground colour.
    ui::TestHost limited(ui::View(ui::Text::verbatim("one two three four five six"))
                             .lineLimit(1)
                             .textCase(ui::TextCase::uppercase)
                             .foregroundColor(ui::Color::red)
                             .frame(60, std::nullopt),
                         {100, 100});
    auto* line = limited.findByTypeName("Text");
    ASSERT_NE(line, nullptr);
    EXPECT_NEAR(line->frame().height(), metricsAt72(ui::Font::body().resolve({})).height(), 1);
    const QImage red = limited.render();
    int redPixels = 0;
    for (int y = 0; y < red.height(); ++y)
        for (int x = 0; x < red.width(); ++x)
            redPixels += qRed(red.pixel(x, y)) > 200 && qGreen(red.pixel(x, y)) < 120;
    EXPECT_GT(redPixels, 10);
}

TEST(PaintingTest, TextBaselinesAreAlignmentGuides) {
    ui::TestHost host(ui::HStack(ui::VerticalAlignment::firstTextBaseline, 0,
                                 {ui::View(ui::Text::verbatim("small")).font(ui::Font::system(10)),
                                  ui::View(ui::Text::verbatim("large")).font(ui::Font::system(30))}),
                      {300, 100});
    auto* small = host.findByText("small");
    auto* large = host.findByText("large");
    ASSERT_TRUE(small && large);
    const auto baseline = [](const ui::Font& font) { return metricsAt72(font.resolve({})).ascent(); };
    EXPECT_NEAR(small->frame().minY() + baseline(ui::Font::system(10)),
                large->frame().minY() + baseline(ui::Font::system(30)), 1);
    EXPECT_GT(small->frame().minY(), large->frame().minY());
}

TEST(PaintingTest, ImagesKeepTheirSizeUnlessResizable) {
    QImage pixels(8, 4, QImage::Format_ARGB32_Premultiplied);
    pixels.fill(Qt::red);
    const graphics::Image image(pixels, 2);
    ui::TestHost fixed(ui::Image(image), {100, 100});
    EXPECT_EQ(fixed.findByTypeName("Image")->frame().size, (CGSize{4, 2}));

    ui::TestHost stretched(ui::Image(image).resizable().frame(30, 30), {100, 100});
    EXPECT_EQ(stretched.findByTypeName("Image")->frame().size, (CGSize{30, 30}));
    const QImage drawn = stretched.render();
    EXPECT_TRUE(near(drawn.pixel(50, 50), Qt::red));

    ui::TestHost fitted(ui::Image(image).resizable().scaledToFit().frame(40, 40), {100, 100});
    EXPECT_EQ(fitted.findByTypeName("Image")->frame().size, (CGSize{40, 20}));
    ui::TestHost filled(ui::Image(image).resizable().scaledToFill().frame(40, 40), {100, 100});
    EXPECT_EQ(filled.findByTypeName("Image")->frame().size, (CGSize{80, 40}));
}

TEST(PaintingTest, NamedImagesComeFromTheBundle) {
    testing_support::TemporaryFolder folder;
    const auto resources = folder.path() / "Demo.bundle" / "Resources";
    std::filesystem::create_directories(resources);
    QImage pixels(12, 12, QImage::Format_ARGB32);
    pixels.fill(Qt::blue);
    ASSERT_TRUE(pixels.save(QString::fromStdString((resources / "tile@2x.png").string())));
    const auto bundle = foundation::Bundle::withPath(folder.path() / "Demo.bundle");
    ui::TestHost host(ui::Image("tile", bundle), {20, 20});
    EXPECT_EQ(host.findByTypeName("Image")->frame().size, (CGSize{6, 6}));
    EXPECT_TRUE(near(host.render().pixel(10, 10), Qt::blue));
    // A missing image takes no space and draws nothing.
    ui::TestHost missing(ui::Image("nothing", bundle), {20, 20});
    EXPECT_EQ(missing.findByTypeName("Image")->frame().size, (CGSize{0, 0}));
}

TEST(PaintingTest, SymbolsTakeTheFontsSizeAndTheVariant) {
    const auto symbol = [](ui::View view) {
        ui::TestHost host(view.font(ui::Font::system(20)).foregroundColor(ui::Color::black), {40, 40});
        return std::make_pair(host.findByTypeName("Image")->frame().size, host.render());
    };
    const auto [size, outline] = symbol(ui::Image::systemName("flame"));
    EXPECT_EQ(size, (CGSize{20, 20}));
    const auto [filledSize, filled] =
        symbol(ui::View(ui::Image::systemName("flame")).symbolVariant(ui::SymbolVariant::fill));
    EXPECT_EQ(filledSize, size);
    EXPECT_GT(darkPixels(filled), darkPixels(outline));
    const auto [unknownSize, unknown] = symbol(ui::Image::systemName("no.such.icon"));
    EXPECT_EQ(unknownSize, size);
    EXPECT_EQ(darkPixels(unknown), 0);
}

TEST(PaintingTest, DividersRunAcrossTheirStack) {
    ui::TestHost vertical(ui::VStack({ui::View(ui::Color::red).frame(50, 10), ui::Divider()}).frame(80, 60),
                          {100, 100});
    EXPECT_EQ(vertical.findByTypeName("Divider")->frame().size, (CGSize{80, 1}));
    ui::TestHost horizontal(ui::HStack({ui::View(ui::Color::red).frame(10, 30), ui::Divider()}).frame(80, 60),
                            {100, 100});
    EXPECT_EQ(horizontal.findByTypeName("Divider")->frame().size, (CGSize{1, 60}));
    EXPECT_LT(qGray(horizontal.render().pixel(int(horizontal.findByTypeName("Divider")->frame().minX()), 50)),
              250);
}

} // namespace
