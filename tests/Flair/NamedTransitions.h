// Every transition of the library, with the variants worth seeing, by name.
#pragma once

#include "Flair/BlindsTransition.h"
#include "Flair/BlurTransition.h"
#include "Flair/BoingTransition.h"
#include "Flair/ClockTransition.h"
#include "Flair/FlickerTransition.h"
#include "Flair/GlareTransition.h"
#include "Flair/IrisTransition.h"
#include "Flair/MoveTransitions.h"
#include "Flair/SnapshotTransitions.h"
#include "Flair/WipeTransition.h"

#include <numbers>
#include <string>
#include <vector>

namespace flairtest {

struct NamedTransition {
    std::string name;
    ui::AnyTransition transition;
};

inline std::vector<NamedTransition> namedTransitions() {
    namespace Ostravelle = Flair::AnyTransition::Ostravelle;
    constexpr double pi = std::numbers::pi;
    return {
        {"blur", Ostravelle::blur()},
        {"flicker 2", Ostravelle::flicker(2)},
        {"iris centre, blur 10", Ostravelle::iris(ui::UnitPoint::center, 10)},
        {"iris (0, 0), blur 0", Ostravelle::iris(ui::UnitPoint::zero, 0)},
        {"wipe top, blur 10", Ostravelle::wipe(ui::Edge::top, 10)},
        {"wipe leading, blur 0", Ostravelle::wipe(ui::Edge::leading, 0)},
        {"wipe 135°, blur 6", Ostravelle::wipe(ui::Angle::degrees(135), 6)},
        {"snapshot", Ostravelle::snapshot()},
        {"filmExposure", Ostravelle::filmExposure()},
        {"move top", Ostravelle::move(ui::Edge::top)},
        {"move π/4", Ostravelle::move(pi / 4)},
        {"skid leading", Ostravelle::skid()},
        {"skid trailing", Ostravelle::skid(Ostravelle::SkidDirection::trailing)},
        {"flip", Ostravelle::flip()},
        {"rotate3D y, leading", Ostravelle::rotate3D(pi / 2, {0, 1, 0}, ui::UnitPoint::leading, 0, 0.3)},
        {"fling", Ostravelle::fling()},
        {"boing top", Ostravelle::boing()},
        {"boing leading", Ostravelle::boing(ui::Edge::leading)},
        {"blinds", Ostravelle::blinds()},
        {"blinds vertical, staggered", Ostravelle::blinds(12, Ostravelle::BlindsStyle::vertical, true)},
        {"clock", Ostravelle::clock()},
        {"clock (0, 0.5), blur 12", Ostravelle::clock({0, 0.5}, 12)},
        {"glare", Ostravelle::glare()},
        {"glare 0°, orange, plain", Ostravelle::glare(ui::Angle::zero(), ui::Color(1, 0.55, 0), false)},
    };
}

} // namespace flairtest
