#include "Views/Colors.h"

#include "foundation/Bundle.h"

namespace quoril {

namespace {
// Its address names the code the colour table belongs to.
const char bundleMarker = 0;
} // namespace

const ui::Color& trafficLightYellow() {
    static const auto* color =
        new ui::Color("TrafficLightYellowColor", foundation::Bundle::forCode(&bundleMarker));
    return *color;
}

} // namespace quoril
