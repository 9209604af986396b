#include "ui/ShaderArguments.h"

namespace ui {

void ShaderArguments::append(std::span<const double> components) {
    ranges_.push_back({components_.size(), components.size()});
    components_.insert(components_.end(), components.begin(), components.end());
}

std::array<double, 3> ShaderArguments::float3(std::size_t index) const {
    return {component(index, 0), component(index, 1), component(index, 2)};
}

std::array<double, 4> ShaderArguments::float4(std::size_t index) const {
    return {component(index, 0), component(index, 1), component(index, 2), component(index, 3)};
}

ShaderColor ShaderArguments::color(std::size_t index) const {
    const auto c = float4(index);
    return {float(c[0]), float(c[1]), float(c[2]), float(c[3])};
}

std::span<const double> ShaderArguments::floatArray(std::size_t index) const {
    if (index >= ranges_.size()) return {};
    return std::span<const double>(components_).subspan(ranges_[index].begin, ranges_[index].count);
}

} // namespace ui
