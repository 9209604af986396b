#pragma once

#include "graphics/CGPoint.h"
#include "graphics/CGSize.h"
#include "ui/AnimatableVector.h"
#include "ui/Color.h"
#include "ui/ShaderArguments.h"
#include "ui/ShaderFunction.h"

#include <optional>
#include <vector>

namespace ui {

struct StyleContext;

// A shader function with the arguments it is called with.
//
// The numeric arguments are the shader's animatable data, one value per component in argument
// order; colours stay out of it (they resolve only where the shader is drawn).
class Shader {
public:
    class Argument {
    public:
        enum class Kind { float_, float2, float3, float4, floatArray, color };

        static Argument float_(double x) { return Argument(Kind::float_, {x}); }
        static Argument float2(double x, double y) { return Argument(Kind::float2, {x, y}); }
        static Argument float2(graphics::CGSize size) { return float2(size.width, size.height); }
        static Argument float2(graphics::CGPoint point) { return float2(point.x, point.y); }
        static Argument float3(double x, double y, double z) { return Argument(Kind::float3, {x, y, z}); }
        static Argument float4(double x, double y, double z, double w) {
            return Argument(Kind::float4, {x, y, z, w});
        }
        static Argument floatArray(std::vector<double> values) {
            return Argument(Kind::floatArray, std::move(values));
        }
        static Argument color(Color color);

        Kind kind() const { return kind_; }
        // The numeric components; empty for a colour.
        const std::vector<double>& values() const { return values_; }
        const std::optional<Color>& colorValue() const { return color_; }

        bool operator==(const Argument&) const = default;

    private:
        friend class Shader;
        Argument(Kind kind, std::vector<double> values)
            : kind_(kind)
            , values_(std::move(values)) {}

        Kind kind_ = Kind::float_;
        std::vector<double> values_;
        std::optional<Color> color_;
    };

    Shader() = default;
    Shader(ShaderFunction function, std::vector<Argument> arguments = {})
        : function_(std::move(function))
        , arguments_(std::move(arguments)) {}

    const ShaderFunction& function() const { return function_; }
    const std::vector<Argument>& arguments() const { return arguments_; }

    AnimatableVector animatableData() const;
    // Takes values in the order animatableData() gives them; values past the end are ignored
    // and missing ones leave their components as they are.
    void setAnimatableData(const AnimatableVector& data);

    // The arguments as the function reads them, colours resolved in `context`.
    ShaderArguments resolvedArguments(const StyleContext& context) const;

    bool operator==(const Shader&) const = default;

private:
    ShaderFunction function_;
    std::vector<Argument> arguments_;
};

} // namespace ui
