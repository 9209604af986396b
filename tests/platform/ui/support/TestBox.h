// A leaf for tests: a box of a fixed or flexible size painted in one colour.
#pragma once

#include "ui/View.h"
#include "ui/ViewPrimitive.h"

#include <QColor>

#include <cmath>
#include <memory>
#include <optional>
#include <string>

namespace uitest {

using graphics::CGFloat;
using graphics::CGSize;

class Box final : public ui::ViewPrimitive {
public:
    // A missing length takes what is offered (its ideal length when nothing is).
    Box(std::optional<CGFloat> width, std::optional<CGFloat> height, QColor color, std::string label,
        CGSize ideal = {10, 10})
        : width_(width)
        , height_(height)
        , color_(color)
        , label_(std::move(label))
        , ideal_(ideal) {}

    CGSize sizeThatFits(const ui::ProposedViewSize& p, const ui::EnvironmentValues&) const override {
        auto pick = [](std::optional<CGFloat> fixed, std::optional<CGFloat> offered, CGFloat ideal) {
            if (fixed) return *fixed;
            return offered ? std::max<CGFloat>(0, *offered) : ideal;
        };
        return {pick(width_, p.width, ideal_.width), pick(height_, p.height, ideal_.height)};
    }
    void record(ui::DisplayList& list, const graphics::CGRect& frame,
                const ui::EnvironmentValues&) const override {
        QPainterPath path;
        path.addRect(frame.toQRectF());
        list.fill(path, color_);
    }
    std::optional<std::string> text() const override {
        if (label_.empty()) return std::nullopt;
        return label_;
    }
    std::string_view typeName() const override { return "Box"; }

private:
    std::optional<CGFloat> width_, height_;
    QColor color_;
    std::string label_;
    CGSize ideal_;
};

inline ui::View box(CGFloat width, CGFloat height, std::string label = {}, QColor color = Qt::red) {
    return ui::View(std::make_shared<Box>(width, height, color, std::move(label)));
}
inline ui::View flexible(std::string label = {}, QColor color = Qt::red, CGSize ideal = {10, 10}) {
    return ui::View(std::make_shared<Box>(std::nullopt, std::nullopt, color, std::move(label), ideal));
}

} // namespace uitest
