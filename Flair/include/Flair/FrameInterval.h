#pragma once

#include "foundation/Date.h"

namespace Flair {

// The longest step a simulated effect takes in one frame, so that a stalled frame does not
// throw its simulation far ahead.
inline constexpr double maximumFrameInterval = 0.03333333333333333;

// The seconds a simulation steps for a frame dated `date` whose previous frame was dated
// `previous`: limited to [0, maximumFrameInterval]; a date that went back steps 0, and so does
// one that is not a number.
double frameInterval(foundation::Date date, foundation::Date previous);

} // namespace Flair
