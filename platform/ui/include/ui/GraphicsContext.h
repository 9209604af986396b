#pragma once

#include "foundation/AnyHashable.h"
#include "graphics/CGAffineTransform.h"
#include "graphics/CGPoint.h"
#include "graphics/CGRect.h"
#include "graphics/CGSize.h"
#include "ui/Angle.h"
#include "ui/AnyShapeStyle.h"
#include "ui/BlendMode.h"
#include "ui/Color.h"
#include "ui/ColorFilter.h"
#include "ui/EnvironmentValues.h"
#include "ui/FillStyle.h"
#include "ui/Gradient.h"
#include "ui/Path.h"
#include "ui/StrokeStyle.h"
#include "ui/UnitPoint.h"

#include <QBrush>
#include <QPainterPath>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace ui {

class DisplayList;
class GraphicsContextBackend;
class Image;
struct StyleContext;

// Immediate-mode drawing for a Canvas. A value: a copy has its own transform, opacity, blend
// mode, filters and clip, and changing a copy's state leaves the original's alone; all copies
// draw onto the same surface (the backend), in the order of the calls.
//
// Filters apply to the draws made after they were added, each draw filtered on its own; a
// blur's radius is measured in the context's coordinates at the time it was added.
class GraphicsContext {
public:
    using CGAffineTransform = graphics::CGAffineTransform;
    using CGPoint = graphics::CGPoint;
    using CGRect = graphics::CGRect;
    using CGSize = graphics::CGSize;

    // What a filter does to later draws: a colour filter or a Gaussian blur.
    struct Filter {
        std::optional<ColorFilter> color{};
        std::optional<Color> multiplyColor{}; // resolved into `color` when added
        double blurRadius = 0;

        static Filter brightness(double amount) { return {ColorFilter::brightness(amount)}; }
        static Filter contrast(double amount) { return {ColorFilter::contrast(amount)}; }
        static Filter saturation(double amount) { return {ColorFilter::saturation(amount)}; }
        static Filter hueRotation(Angle angle) { return {ColorFilter::hueRotation(angle)}; }
        static Filter colorMultiply(Color color) { return {ColorFilter::colorMultiply({1, 1, 1, 1}), color}; }
        static Filter colorInvert() { return {ColorFilter::colorInvert()}; }
        static Filter grayscale(double amount) { return {ColorFilter::grayscale(amount)}; }
        static Filter luminanceToAlpha() { return {ColorFilter::luminanceToAlpha()}; }
        // A radius that is not a positive number blurs nothing.
        static Filter blur(double radius) { return {std::nullopt, std::nullopt, radius}; }

        bool operator==(const Filter&) const = default;
    };

    // What fills and strokes paint with. Gradient points are in the context's coordinates.
    class Shading {
    public:
        static Shading color(Color color);
        static Shading style(AnyShapeStyle style); // resolved over the bounds of the drawn path
        static Shading foreground();               // the environment's foreground style
        static Shading linearGradient(Gradient gradient, CGPoint startPoint, CGPoint endPoint);
        static Shading radialGradient(Gradient gradient, CGPoint center, double startRadius, double endRadius);

        QBrush brush(const StyleContext& context, const QRectF& bounds) const;
        // A short text with the numbers, for recordings.
        std::string description() const;

    private:
        struct Linear {
            Gradient gradient;
            CGPoint start, end;
        };
        struct Radial {
            Gradient gradient;
            CGPoint center;
            double startRadius, endRadius;
        };
        struct Foreground {};
        std::variant<Color, AnyShapeStyle, Linear, Radial, Foreground> value_ = Foreground{};
    };

    // Something drawn as a unit: its display list in its own coordinates, from (0, 0) to `size`.
    struct Drawable {
        CGSize size;
        std::shared_ptr<const DisplayList> content;
        std::string label; // names it in recordings
    };
    struct ResolvedImage : Drawable {};
    struct ResolvedSymbol : Drawable {
        foundation::AnyHashable id;
    };

    // Everything later draws depend on. The transform maps the context's coordinates to the
    // canvas's (origin at its top leading corner); the clip is in the canvas's coordinates.
    struct State {
        CGAffineTransform transform;
        double opacity = 1;
        BlendMode blendMode = BlendMode::normal;
        std::vector<Filter> filters; // with colours resolved and blur radii in canvas units
        std::optional<QPainterPath> clip;

        // "transform(1 0 0 1 5 5) opacity(0.5) ...", leaving out what is at its default.
        std::string description() const;
    };

    // How a canvas finds its symbols.
    using SymbolLookup = std::function<std::optional<ResolvedSymbol>(const foundation::AnyHashable&)>;

    GraphicsContext(std::shared_ptr<GraphicsContextBackend> backend, EnvironmentValues environment = {},
                    SymbolLookup symbols = {});

    const State& state() const { return state_; }
    const EnvironmentValues& environment() const { return shared_->environment; }

    // Transforms: each new step applies before the current transform.
    const CGAffineTransform& transform() const { return state_.transform; }
    void setTransform(const CGAffineTransform& transform) { state_.transform = transform; }
    void concatenate(const CGAffineTransform& transform);
    void translateBy(double x, double y);
    void scaleBy(double x, double y);
    void rotate(Angle angle); // clockwise on screen for positive angles

    // Multiplies into everything drawn later; limited to [0, 1], a value that is no number is 0.
    double opacity() const { return state_.opacity; }
    void setOpacity(double opacity);
    BlendMode blendMode() const { return state_.blendMode; }
    void setBlendMode(BlendMode mode) { state_.blendMode = mode; }

    void addFilter(const Filter& filter);
    // Later draws show only inside `path` (in the context's coordinates), within any clip so far.
    void clip(const Path& path, FillStyle style = {});

    // Draws what `content` draws as one layer, composited with this context's opacity, blend
    // mode, filters and clip. The layer's context starts with this one's transform and clip and
    // with no opacity, blend mode or filters of its own.
    void drawLayer(const std::function<void(GraphicsContext&)>& content);

    // An image laid out at its own size in this context's environment.
    ResolvedImage resolve(const Image& image) const;
    // The canvas's symbol tagged `id`, if it has one.
    template <class ID> std::optional<ResolvedSymbol> resolveSymbol(ID id) const {
        if constexpr (std::is_convertible_v<ID, std::string_view>)
            return resolveSymbolErased(foundation::AnyHashable(std::string(std::string_view(id))));
        else
            return resolveSymbolErased(foundation::AnyHashable(std::move(id)));
    }
    std::optional<ResolvedSymbol> resolveSymbolErased(const foundation::AnyHashable& id) const;

    // Draws at its own size with the point `anchor` of it at `point`.
    void draw(const Drawable& drawable, CGPoint point, UnitPoint anchor = UnitPoint::center);
    // Draws stretched to `rect`; a drawable of no size draws nothing.
    void draw(const Drawable& drawable, const CGRect& rect);
    void draw(const Image& image, CGPoint point, UnitPoint anchor = UnitPoint::center);
    void draw(const Image& image, const CGRect& rect);

    void fill(const Path& path, const Shading& shading, FillStyle style = {});
    void stroke(const Path& path, const Shading& shading, const StrokeStyle& style);
    void stroke(const Path& path, const Shading& shading, double lineWidth = 1) {
        stroke(path, shading, StrokeStyle{.lineWidth = lineWidth});
    }

private:
    struct Shared {
        EnvironmentValues environment;
        SymbolLookup symbols;
    };
    GraphicsContext(std::shared_ptr<GraphicsContextBackend> backend, std::shared_ptr<const Shared> shared,
                    State state);

    std::shared_ptr<GraphicsContextBackend> backend_;
    std::shared_ptr<const Shared> shared_;
    State state_;
};

} // namespace ui
