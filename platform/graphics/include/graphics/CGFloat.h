#pragma once

namespace graphics {

// The scalar of all geometry: always a double here, whatever the machine.
using CGFloat = double;

} // namespace graphics
