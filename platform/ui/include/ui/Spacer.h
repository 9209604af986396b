#pragma once

#include "ui/View.h"

#include <optional>

namespace ui {

// Flexible space along the axis of the enclosing stack: at least `minLength` (8 unless given),
// as long as offered; nothing across. Outside a stack it grows in both directions.
class Spacer : public View {
public:
    explicit Spacer(std::optional<CGFloat> minLength = std::nullopt);
};

} // namespace ui
