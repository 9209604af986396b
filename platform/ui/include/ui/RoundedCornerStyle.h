#pragma once

namespace ui {

// circular: each corner is a quarter ellipse of the corner size. continuous: a longer corner whose
// curvature grows from zero where it leaves the straight edge, so the edge flows into it without
// a visible kink.
enum class RoundedCornerStyle { circular, continuous };

} // namespace ui
