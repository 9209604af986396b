#include "SymbolCatalog.h"

#include <QPainterPathStroker>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numbers>

namespace ui::symbols {
namespace {

// Everything below is in design units: a 1000 × 1000 square, y down, centre (500, 500).

QPainterPath polyline(std::initializer_list<QPointF> points) {
    QPainterPath path;
    auto it = points.begin();
    path.moveTo(*it);
    for (++it; it != points.end(); ++it)
        path.lineTo(*it);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points) {
    auto path = polyline(points);
    path.closeSubpath();
    return path;
}

QPainterPath circle(QPointF centre, double radius) {
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

QPainterPath roundedRect(double x, double y, double w, double h, double r) {
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), r, r);
    return path;
}

QPainterPath stroke(const QPainterPath& path, double width, Qt::PenCapStyle cap = Qt::RoundCap) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(path);
}

// The outline of a closed shape, drawn with the pen: the outline variant of a body.
QPainterPath ring(const QPainterPath& shape, const SymbolPen& pen) {
    return stroke(shape, pen.width);
}

// A shape grown by `distance` on every side.
QPainterPath grown(const QPainterPath& shape, double distance) {
    return shape.united(stroke(shape, 2 * distance));
}

// The filled variant of a body: as large as its outline drawn with the pen.
QPainterPath solid(const QPainterPath& shape, const SymbolPen& pen) {
    return grown(shape, pen.width / 2);
}

// A body: its outline, or filled.
QPainterPath body(const QPainterPath& shape, const SymbolPen& pen) {
    return pen.fill ? solid(shape, pen) : ring(shape, pen);
}

// Room left between a body and what sits on or in it.
double gap(const SymbolPen& pen) {
    return std::max(pen.width * 0.8, 45.0);
}

QPainterPath rotated(const QPainterPath& path, double degrees) {
    QTransform t;
    t.translate(500, 500).rotate(degrees).translate(-500, -500);
    return t.map(path);
}

QPointF onCircle(QPointF centre, double radius, double degrees) {
    const double a = degrees * std::numbers::pi / 180;
    return {centre.x() + radius * std::cos(a), centre.y() + radius * std::sin(a)};
}

const QPointF centre{500, 500};
const double circleRadius = 420;

// A body with lines on it: drawn over the outline, cut out of the filled form.
QPainterPath marked(const QPainterPath& shape, const QPainterPath& lines, const SymbolPen& pen) {
    if (!pen.fill) return ring(shape, pen).united(stroke(lines, pen.width));
    return solid(shape, pen).subtracted(stroke(lines, pen.width));
}

// A circle with a mark inside.
QPainterPath circled(const QPainterPath& mark, const SymbolPen& pen) {
    return marked(circle(centre, circleRadius), mark, pen);
}

QPainterPath plus(const SymbolPen& pen) {
    auto path = polyline({{500, 140}, {500, 860}});
    path.addPath(polyline({{140, 500}, {860, 500}}));
    return stroke(path, pen.width);
}

QPainterPath xmarkLines(double inset) {
    auto path = polyline({{inset, inset}, {1000 - inset, 1000 - inset}});
    path.addPath(polyline({{1000 - inset, inset}, {inset, 1000 - inset}}));
    return path;
}

QPainterPath xmark(const SymbolPen& pen) {
    return stroke(xmarkLines(200), pen.width);
}

// A lens with its handle down to the right.
QPainterPath magnifyingglass(const SymbolPen& pen) {
    auto lens = ring(circle({420, 420}, 300), pen);
    return lens.united(stroke(polyline({{640, 640}, {880, 880}}), pen.width * 1.4));
}

QPainterPath checkmark(const SymbolPen& pen) {
    return stroke(polyline({{150, 540}, {390, 780}, {860, 230}}), pen.width);
}

QPainterPath chevronRight(const SymbolPen& pen) {
    return stroke(polyline({{360, 130}, {660, 500}, {360, 870}}), pen.width);
}

QPainterPath checkmarkCircle(const SymbolPen& pen) {
    return circled(polyline({{300, 520}, {440, 660}, {710, 350}}), pen);
}

QPainterPath xmarkCircle(const SymbolPen& pen) {
    return circled(xmarkLines(350), pen);
}

QPainterPath star(QPointF c, double outer, double inner) {
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const auto p = onCircle(c, i % 2 ? inner : outer, -90 + i * 36);
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

QPainterPath starCircle(const SymbolPen& pen) {
    const auto c = circle(centre, circleRadius);
    const auto s = star({500, 525}, 250, 105);
    if (!pen.fill) return ring(c, pen).united(ring(s, pen));
    return solid(c, pen).subtracted(solid(s, pen));
}

QPainterPath circleDotted(const SymbolPen& pen) {
    QPainterPath path;
    const double dot = pen.width * 0.75;
    for (int i = 0; i < 12; ++i)
        path.addPath(circle(onCircle(centre, circleRadius, i * 30), dot));
    return path;
}

QPainterPath flame(const SymbolPen& pen) {
    QPainterPath outer;
    outer.moveTo(500, 930);
    outer.cubicTo(320, 930, 190, 800, 190, 620);
    outer.cubicTo(190, 480, 270, 400, 330, 300);
    outer.cubicTo(350, 380, 380, 430, 430, 455);
    outer.cubicTo(420, 300, 470, 170, 570, 70);
    outer.cubicTo(600, 230, 810, 370, 810, 620);
    outer.cubicTo(810, 800, 680, 930, 500, 930);
    outer.closeSubpath();

    QPainterPath inner;
    inner.moveTo(500, 850);
    inner.cubicTo(420, 850, 370, 790, 370, 720);
    inner.cubicTo(370, 640, 430, 590, 490, 500);
    inner.cubicTo(530, 590, 630, 640, 630, 725);
    inner.cubicTo(630, 795, 575, 850, 500, 850);
    inner.closeSubpath();

    if (!pen.fill) return ring(outer, pen).united(ring(inner, pen));
    return solid(outer, pen).subtracted(grown(inner, pen.width / 2 - gap(pen) / 2));
}

QPainterPath phone(const SymbolPen& pen) {
    // A handset lying from the upper left to the lower right, bowed towards the lower left,
    // its ear and mouth pieces standing out from the grip.
    QPainterPath handset;
    handset.moveTo(200, 110);
    handset.cubicTo(240, 70, 300, 80, 330, 120);
    handset.lineTo(420, 230);
    handset.cubicTo(450, 270, 440, 320, 400, 350);
    handset.lineTo(345, 390);
    handset.cubicTo(390, 490, 500, 610, 610, 655);
    handset.lineTo(650, 600);
    handset.cubicTo(680, 560, 730, 550, 770, 580);
    handset.lineTo(880, 670);
    handset.cubicTo(920, 700, 930, 760, 890, 800);
    handset.cubicTo(800, 900, 640, 930, 470, 850);
    handset.cubicTo(300, 770, 140, 580, 100, 400);
    handset.cubicTo(80, 300, 120, 190, 200, 110);
    handset.closeSubpath();
    return body(handset, pen);
}

// One body partly hidden behind another, with room between them.
QPainterPath layered(const QPainterPath& back, const QPainterPath& front, const SymbolPen& pen) {
    const auto hidden = grown(front, pen.width / 2 + gap(pen));
    return body(back, pen).subtracted(hidden).united(body(front, pen));
}

QPainterPath docOnDoc(const SymbolPen& pen) {
    return layered(roundedRect(350, 80, 500, 620, 80), roundedRect(150, 300, 500, 620, 80), pen);
}

QPainterPath clipboard(const SymbolPen& pen) {
    return layered(roundedRect(190, 160, 620, 770, 90), roundedRect(345, 75, 310, 170, 60), pen);
}

QPainterPath trash(const SymbolPen& pen) {
    auto lid = polyline({{130, 240}, {870, 240}});
    QPainterPath handle;
    handle.moveTo(370, 240);
    handle.lineTo(370, 170);
    handle.quadTo(370, 110, 430, 110);
    handle.lineTo(570, 110);
    handle.quadTo(630, 110, 630, 170);
    handle.lineTo(630, 240);
    QPainterPath can;
    can.moveTo(230, 240);
    can.lineTo(270, 830);
    can.quadTo(275, 910, 355, 910);
    can.lineTo(645, 910);
    can.quadTo(725, 910, 730, 830);
    can.lineTo(770, 240);
    can.closeSubpath();
    auto ribs = polyline({{405, 400}, {420, 760}});
    ribs.addPath(polyline({{595, 400}, {580, 760}}));

    return stroke(lid, pen.width).united(stroke(handle, pen.width)).united(marked(can, ribs, pen));
}

QPainterPath pencil(const SymbolPen& pen) {
    // Built lying left to right, point to the left, then turned so the point is at the lower left.
    const auto shape =
        polygon({{40, 500}, {260, 395}, {860, 395}, {930, 430}, {930, 570}, {860, 605}, {260, 605}});
    auto bands = polyline({{260, 395}, {260, 605}});
    bands.addPath(polyline({{760, 395}, {760, 605}}));
    return rotated(marked(shape, bands, pen), -45);
}

QPainterPath envelope(const SymbolPen& pen) {
    const auto letter = roundedRect(90, 210, 820, 580, 80);
    const auto flap = polyline({{120, 260}, {500, 560}, {880, 260}});
    return marked(letter, flap, pen);
}

QPainterPath squareAndArrowUp(const SymbolPen& pen) {
    QPainterPath tray;
    tray.moveTo(360, 390);
    tray.lineTo(270, 390);
    tray.quadTo(200, 390, 200, 460);
    tray.lineTo(200, 850);
    tray.quadTo(200, 920, 270, 920);
    tray.lineTo(730, 920);
    tray.quadTo(800, 920, 800, 850);
    tray.lineTo(800, 460);
    tray.quadTo(800, 390, 730, 390);
    tray.lineTo(640, 390);
    const auto stem = polyline({{500, 90}, {500, 640}});
    const auto head = polyline({{330, 260}, {500, 90}, {670, 260}});
    const auto arrow = stroke(stem, pen.width).united(stroke(head, pen.width));
    if (!pen.fill) return stroke(tray, pen.width).united(arrow);
    const auto box = solid(roundedRect(200, 390, 600, 530, 70), pen);
    return box.subtracted(stroke(stem, pen.width + 2 * gap(pen))).united(arrow);
}

QPainterPath safari(const SymbolPen& pen) {
    // A compass: a needle pointing to the upper right in a circle, its north half solid.
    const auto north = rotated(polygon({{500, 220}, {585, 500}, {415, 500}}), 45);
    const auto south = rotated(polygon({{500, 780}, {415, 500}, {585, 500}}), 45);
    const auto c = circle(centre, circleRadius);
    if (!pen.fill) return ring(c, pen).united(solid(north, pen)).united(ring(south, pen));
    return solid(c, pen).subtracted(solid(north, pen)).subtracted(ring(south, pen));
}

QPainterPath gear(const SymbolPen& pen) {
    QPainterPath cog;
    const double outer = 440, root = 330;
    for (int k = 0; k < 8; ++k) {
        const double a = k * 45;
        const auto p0 = onCircle(centre, root, a - 14);
        if (k == 0)
            cog.moveTo(p0);
        else
            cog.lineTo(p0);
        cog.lineTo(onCircle(centre, outer, a - 8));
        cog.lineTo(onCircle(centre, outer, a + 8));
        cog.lineTo(onCircle(centre, root, a + 14));
        cog.lineTo(onCircle(centre, root, a + 22.5));
    }
    cog.closeSubpath();
    const auto hole = circle(centre, 140);
    if (!pen.fill) return ring(cog, pen).united(ring(hole, pen));
    return solid(cog, pen).subtracted(hole);
}

QPainterPath paintbrushPointed(const SymbolPen& pen) {
    // Built lying left to right, bristles pointing left, then turned like the pencil.
    const double handleStart = 520 + pen.width + gap(pen);
    const auto handle = roundedRect(handleStart, 410, 960 - handleStart, 180, 70);
    QPainterPath bristles;
    bristles.moveTo(40, 500);
    bristles.cubicTo(190, 470, 320, 370, 470, 370);
    bristles.lineTo(520, 370);
    bristles.lineTo(520, 630);
    bristles.lineTo(470, 630);
    bristles.cubicTo(320, 630, 190, 530, 40, 500);
    bristles.closeSubpath();
    return rotated(body(handle, pen).united(body(bristles, pen)), -45);
}

// An arc of the circle around the centre, clockwise on screen from `from` to `to` degrees,
// ending in a solid arrowhead.
QPainterPath clockwiseArrow(double radius, double from, double to, const SymbolPen& pen) {
    QPainterPath arc;
    const int steps = 48;
    for (int i = 0; i <= steps; ++i) {
        const auto p = onCircle(centre, radius, from + (to - from) * i / steps);
        if (i == 0)
            arc.moveTo(p);
        else
            arc.lineTo(p);
    }
    const double a = to * std::numbers::pi / 180;
    const QPointF end = onCircle(centre, radius, to);
    const QPointF tangent{-std::sin(a), std::cos(a)};
    const QPointF normal{std::cos(a), std::sin(a)};
    const double length = 120 + pen.width, half = 80 + pen.width;
    const auto head = polygon({end + tangent * length, end + normal * half, end - normal * half});
    return stroke(arc, pen.width, Qt::FlatCap).united(stroke(head, pen.width * 0.5)).united(head);
}

QPainterPath arrowTriangleheadTwoClockwiseRotate90(const SymbolPen& pen) {
    return clockwiseArrow(340, 140, 290, pen).united(clockwiseArrow(340, 320, 470, pen));
}

struct Entry {
    const char* name;
    QPainterPath (*build)(const SymbolPen&);
    bool hasFill;
};

constexpr std::array entries{
    Entry{"arrow.trianglehead.2.clockwise.rotate.90", arrowTriangleheadTwoClockwiseRotate90, false},
    Entry{"checkmark", checkmark, false},
    Entry{"checkmark.circle", checkmarkCircle, true},
    Entry{"chevron.right", chevronRight, false},
    Entry{"circle.dotted", circleDotted, false},
    Entry{"clipboard", clipboard, true},
    Entry{"doc.on.doc", docOnDoc, true},
    Entry{"envelope", envelope, true},
    Entry{"flame", flame, true},
    Entry{"gear", gear, true},
    Entry{"magnifyingglass", magnifyingglass, false},
    Entry{"paintbrush.pointed", paintbrushPointed, true},
    Entry{"pencil", pencil, true},
    Entry{"phone", phone, true},
    Entry{"plus", plus, false},
    Entry{"safari", safari, true},
    Entry{"square.and.arrow.up", squareAndArrowUp, true},
    Entry{"star.circle", starCircle, true},
    Entry{"trash", trash, true},
    Entry{"xmark", xmark, false},
    Entry{"xmark.circle", xmarkCircle, true},
};

constexpr std::string_view fillSuffix = ".fill";

const std::map<std::string, SymbolImage::Drawing, std::less<>>& catalogue() {
    static const auto* all = [] {
        auto* map = new std::map<std::string, SymbolImage::Drawing, std::less<>>;
        for (const auto& e : entries) {
            map->emplace(e.name, SymbolImage::Drawing{e.name, e.build, false});
            if (e.hasFill) {
                auto filled = std::string(e.name) + std::string(fillSuffix);
                map->emplace(filled, SymbolImage::Drawing{filled, e.build, true});
            }
        }
        return map;
    }();
    return *all;
}

} // namespace

const SymbolImage::Drawing* find(std::string_view name) {
    const auto& all = catalogue();
    auto it = all.find(name);
    return it == all.end() ? nullptr : &it->second;
}

const SymbolImage::Drawing* resolve(std::string_view name, SymbolVariant variant) {
    const auto* drawing = find(name);
    if (!drawing || variant != SymbolVariant::fill || drawing->fill) return drawing;
    const auto* filled = find(std::string(name) + std::string(fillSuffix));
    return filled ? filled : drawing;
}

std::vector<std::string> names() {
    std::vector<std::string> result;
    for (const auto& [name, drawing] : catalogue())
        result.push_back(name);
    return result;
}

double strokeWidth(int weight) {
    // Stroke widths at thin (100) … black (900), a step of 100 apart.
    static constexpr std::array<double, 9> widths{30, 42, 56, 74, 86, 98, 112, 130, 150};
    const double w = std::clamp(weight, 100, 900) / 100.0 - 1;
    const auto i = std::min(static_cast<std::size_t>(w), widths.size() - 2);
    return widths[i] + (widths[i + 1] - widths[i]) * (w - static_cast<double>(i));
}

} // namespace ui::symbols
