// The demo screen: stacks, text, shapes, an image and symbols. The test host renders it against a
// reference image, and the window capture shows it on a real screen.
#pragma once

#include "graphics/Image.h"
#include "ui/Capsule.h"
#include "ui/Circle.h"
#include "ui/Divider.h"
#include "ui/Image.h"
#include "ui/RoundedRectangle.h"
#include "ui/Spacer.h"
#include "ui/Stack.h"

#include <QImage>

#include <algorithm>
#include <cstdlib>

namespace uitest {

// A small checkerboard drawn here, so the demo needs no image file.
inline graphics::Image checkerboard() {
    QImage pixels(8, 8, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pixels.setPixel(x, y, ((x / 2 + y / 2) % 2) ? qRgb(40, 90, 200) : qRgb(250, 210, 60));
    return graphics::Image(pixels);
}

inline ui::View demoScreen() {
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
inline double differingShare(const QImage& a, const QImage& b) {
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

} // namespace uitest
