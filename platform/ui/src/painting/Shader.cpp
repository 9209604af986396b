#include "ui/Shader.h"

#include "ui/StyleContext.h"

namespace ui {

Shader::Argument Shader::Argument::color(Color color) {
    Argument argument(Kind::color, {});
    argument.color_ = std::move(color);
    return argument;
}

AnimatableVector Shader::animatableData() const {
    std::vector<double> values;
    for (const auto& argument : arguments_)
        values.insert(values.end(), argument.values_.begin(), argument.values_.end());
    return AnimatableVector(std::move(values));
}

void Shader::setAnimatableData(const AnimatableVector& data) {
    std::size_t next = 0;
    for (auto& argument : arguments_) {
        for (double& v : argument.values_) {
            if (next >= data.size()) return;
            v = data.values()[next++];
        }
    }
}

ShaderArguments Shader::resolvedArguments(const StyleContext& context) const {
    ShaderArguments resolved;
    for (const auto& argument : arguments_) {
        if (argument.kind_ != Argument::Kind::color) {
            resolved.append(argument.values_);
            continue;
        }
        const Color::Resolved c = argument.color_->resolve(context);
        auto unit = [](double v) { return v > 0 ? (v < 1 ? v : 1.0) : 0.0; }; // NaN reads as 0
        const double alpha = unit(c.opacity);
        resolved.append({unit(c.red()) * alpha, unit(c.green()) * alpha, unit(c.blue()) * alpha, alpha});
    }
    return resolved;
}

} // namespace ui
