#pragma once

#include "foundation/Range.h"
#include "ui/Color.h"

namespace ViewKit {

// An sRGB colour whose red, green and blue are each drawn uniformly from `range`, bounds
// included; opaque unless `randomOpacity`, then with an opacity drawn from 0…1 the same way.
// Components outside 0…1 are clamped as the colour does. A range with a bound that is not
// finite is a programmer error and stops the program. Draws come from a generator of the
// calling thread, seeded from the system.
ui::Color randomColor(bool randomOpacity = false,
                      const foundation::ClosedRange<double>& range = foundation::ClosedRange<double>(0, 1));

} // namespace ViewKit
