#include "ui/Capsule.h"
#include "ui/Circle.h"
#include "ui/Divider.h"
#include "ui/Image.h"
#include "ui/RoundedRectangle.h"
#include "ui/Spacer.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

const std::filesystem::path referenceFolder = std::filesystem::path(__FILE__).parent_path() / "reference";

// A small checkerboard drawn here, so the demo needs no image file.
graphics::Image checkerboard() {
    QImage pixels(8, 8, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pixels.setPixel(x, y, ((x / 2 + y / 2) % 2) ? qRgb(40, 90, 200) : qRgb(250, 210, 60));
    return graphics::Image(pixels);
}

ui::View demoScreen() {
    using ui::Color;
    using ui::Font;
    using ui::View;
    const auto title =
        ui::HStack(ui::VerticalAlignment::firstTextBaseline, 6,
                   {View(ui::Image::systemName("flame"))
                        .symbolVariant(ui::SymbolVariant::fill)
                        .foregroundColor(Color::red),
                    View(ui::Text("Goals").bold()), ui::Spacer(),
                    View(ui::Image::systemName("checkmark.circle")).foregroundColor(Color::green)})
            .font(Font::custom("DejaVu Sans", 20));
    const auto shapes = ui::HStack(
        {ui::Circle().fill(Color::blue).frame(30, 30),
         ui::RoundedRectangle(6).fill(Color::green).frame(50, 30),
         ui::Capsule().stroke(Color::orange, 3).frame(60, 30),
         ui::Circle()
             .trim(0, 0.7)
             .stroke(Color::purple, ui::StrokeStyle{.lineWidth = 4, .lineCap = graphics::CGLineCap::round})
             .frame(30, 30)});
    const auto picture =
        ui::HStack({ui::Image(checkerboard()).resizable().frame(44, 44).cornerRadius(8),
                    View(ui::Text::verbatim("A demo of text that wraps onto a second line and then stops"))
                        .font(Font::custom("DejaVu Serif", 12))
                        .lineLimit(2)
                        .foregroundStyle(ui::HierarchicalShapeStyle::secondary)});
    return ui::VStack(ui::HorizontalAlignment::leading, 10,
                      {title, ui::Divider(), shapes, picture,
                       View(Color::indigo).frame(std::nullopt, 12).opacity(0.5).cornerRadius(6)})
        .padding(12)
        .foregroundColor(Color::black);
}

// The share of pixels whose colour differs by more than a few levels in some channel.
double differingShare(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int differing = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row), q = y.pixel(column, row);
            const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            differing += d > 24;
        }
    }
    return double(differing) / double(x.width() * x.height());
}

TEST(DemoScreenTest, RendersAsTheReferenceImage) {
    ui::TestHost host(demoScreen(), {260, 200});
    const QImage rendered = host.render();
    const auto written = std::filesystem::path(testing::TempDir()) / "demo-screen.png";
    ASSERT_TRUE(host.renderPNG(QString::fromStdString(written.string())));

    const QImage reference(QString::fromStdString((referenceFolder / "demo-screen.png").string()));
    ASSERT_FALSE(reference.isNull()) << "no reference image; this run's is " << written;
    ASSERT_EQ(reference.size(), rendered.size());
    EXPECT_LT(differingShare(rendered, reference), 0.005) << "compare " << written << " with the reference";
}

} // namespace
