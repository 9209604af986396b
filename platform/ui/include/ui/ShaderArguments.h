#pragma once

#include "graphics/CGPoint.h"
#include "ui/ShaderColor.h"

#include <array>
#include <cstddef>
#include <initializer_list>
#include <span>
#include <vector>

namespace ui {

// The arguments a shader function reads, in the order the shader was given them, with
// colours already resolved. An index past the end, or a component an argument lacks, reads as
// 0, so a function given fewer arguments than it expects still draws.
class ShaderArguments {
public:
    void append(std::span<const double> components);
    void append(std::initializer_list<double> components) {
        append(std::span<const double>(components.begin(), components.size()));
    }

    std::size_t size() const { return ranges_.size(); }
    // Inline: functions read their arguments once per pixel.
    double component(std::size_t index, std::size_t component) const {
        if (index >= ranges_.size() || component >= ranges_[index].count) return 0;
        return components_[ranges_[index].begin + component];
    }

    double float_(std::size_t index) const { return component(index, 0); }
    graphics::CGPoint float2(std::size_t index) const { return {component(index, 0), component(index, 1)}; }
    std::array<double, 3> float3(std::size_t index) const;
    std::array<double, 4> float4(std::size_t index) const;
    // A colour argument, premultiplied.
    ShaderColor color(std::size_t index) const;
    // All components of an argument (a float array's values).
    std::span<const double> floatArray(std::size_t index) const;

    bool operator==(const ShaderArguments&) const = default;

private:
    struct Range {
        std::size_t begin, count;
        bool operator==(const Range&) const = default;
    };
    std::vector<double> components_;
    std::vector<Range> ranges_;
};

} // namespace ui
