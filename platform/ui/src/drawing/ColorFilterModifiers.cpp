#include "ui/ColorFilter.h"
#include "ui/DisplayList.h"
#include "ui/Element.h"
#include "ui/ShapeStyleEnvironment.h"
#include "ui/ViewNodes.h"

#include <optional>

namespace ui {

namespace {

// A colour filter takes no part in layout; it paints its content apart and filters the pixels.
class ColorFilterNode final : public detail::TransparentWrapperNode {
public:
    ColorFilterNode(View content, ColorFilter filter, std::optional<Color> color = std::nullopt)
        : TransparentWrapperNode(std::move(content))
        , filter_(filter)
        , color_(std::move(color)) {}
    std::string_view typeName() const override { return "ColorFilter"; }
    void render(const Element& element, DisplayList& list) const override {
        ColorFilter filter = filter_;
        if (color_) {
            const auto resolved = color_->resolve(styleContext(element.environment()));
            filter.color = {resolved.red(), resolved.green(), resolved.blue(), resolved.opacity};
        }
        if (filter.matrix() == ColorMatrix::identity()) {
            element.renderChildren(list);
            return;
        }
        DisplayList::LayerStyle style;
        style.colorFilters.push_back(filter);
        element.renderChildren(list.layer(std::move(style)));
    }
    const ColorFilter& filter() const { return filter_; }

private:
    ColorFilter filter_;
    std::optional<Color> color_;
};

View filtered(const View& view, ColorFilter filter, std::optional<Color> color = std::nullopt) {
    return view.apply([&](View content) {
        return View(std::make_shared<ColorFilterNode>(std::move(content), filter, color));
    });
}

} // namespace

View View::brightness(double amount) const {
    return filtered(*this, ColorFilter::brightness(amount));
}

View View::contrast(double amount) const {
    return filtered(*this, ColorFilter::contrast(amount));
}

View View::saturation(double amount) const {
    return filtered(*this, ColorFilter::saturation(amount));
}

View View::hueRotation(Angle angle) const {
    return filtered(*this, ColorFilter::hueRotation(angle));
}

View View::colorMultiply(const Color& color) const {
    return filtered(*this, ColorFilter::colorMultiply({1, 1, 1, 1}), color);
}

View View::colorInvert() const {
    return filtered(*this, ColorFilter::colorInvert());
}

View View::grayscale(double amount) const {
    return filtered(*this, ColorFilter::grayscale(amount));
}

View View::luminanceToAlpha() const {
    return filtered(*this, ColorFilter::luminanceToAlpha());
}

} // namespace ui
