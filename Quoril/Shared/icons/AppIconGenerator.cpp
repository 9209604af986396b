// Draws the eight dock icon images, each at 1x (256 pixels) and 2x (512 pixels), into the folder
// given as the only argument: a rounded square of the icon's colour with a check mark.
#include "QuorilShared/MacAppIcon.h"

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QString>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

struct Palette {
    QColor fill;
    QColor mark;
};

Palette palette(quoril::MacAppIcon icon) {
    using quoril::MacAppIcon;
    const QColor light(255, 255, 255);
    const QColor dark(51, 51, 56);
    switch (icon) {
    case MacAppIcon::red:
        return {QColor(229, 72, 63), light};
    case MacAppIcon::orange:
        return {QColor(242, 140, 40), light};
    case MacAppIcon::yellow:
        return {QColor(245, 201, 40), dark};
    case MacAppIcon::green:
        return {QColor(61, 181, 91), light};
    case MacAppIcon::blue:
        return {QColor(47, 125, 225), light};
    case MacAppIcon::purple:
        return {QColor(142, 91, 214), light};
    case MacAppIcon::black:
        return {QColor(43, 43, 46), light};
    case MacAppIcon::white:
        return {QColor(247, 247, 247), dark};
    }
    return {Qt::gray, light};
}

QImage draw(quoril::MacAppIcon icon, int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / 256.0, side / 256.0);

    const Palette colours = palette(icon);
    // A slight fall of light from the top; the middle stays the icon's own colour.
    QLinearGradient gradient(0, 20, 0, 236);
    gradient.setColorAt(0, colours.fill.lighter(108));
    gradient.setColorAt(0.5, colours.fill);
    gradient.setColorAt(1, colours.fill.darker(106));
    QPainterPath square;
    square.addRoundedRect(QRectF(20, 20, 216, 216), 48, 48);
    painter.fillPath(square, gradient);
    // The white icon needs an edge to stand out on a light dock.
    if (icon == quoril::MacAppIcon::white) painter.strokePath(square, QPen(QColor(200, 200, 204), 3));

    QPainterPath check;
    check.moveTo(78, 132);
    check.lineTo(112, 166);
    check.lineTo(180, 94);
    painter.strokePath(check, QPen(colours.mark, 22, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (quoril::MacAppIcon icon : quoril::allMacAppIcons) {
        const std::string name = quoril::imageName(icon);
        for (const auto& [suffix, side] : {std::pair{"", 256}, std::pair{"@2x", 512}}) {
            const auto path = folder / (name + suffix + ".png");
            if (!draw(icon, side).save(QString::fromStdString(path.string()), "PNG")) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                return 1;
            }
        }
    }
    return 0;
}
