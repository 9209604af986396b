#pragma once

namespace graphics {

// How two stroked segments meet at a corner.
enum class CGLineJoin { miter, round, bevel };

} // namespace graphics
