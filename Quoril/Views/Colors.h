#pragma once

#include "ui/Color.h"

namespace quoril {

// "TrafficLightYellowColor" of the application's colour table (Resources/Colors.plist of the
// bundle that holds this code): the goal row's check rings.
const ui::Color& trafficLightYellow();

} // namespace quoril
