#pragma once

namespace ui {

// A point in a view's own frame as fractions of its size: (0, 0) is the top leading corner and
// (1, 1) the bottom trailing one. Values outside [0, 1] lie outside the frame.
struct UnitPoint {
    double x = 0;
    double y = 0;

    static const UnitPoint zero;
    static const UnitPoint center;
    static const UnitPoint leading;
    static const UnitPoint trailing;
    static const UnitPoint top;
    static const UnitPoint bottom;
    static const UnitPoint topLeading;
    static const UnitPoint topTrailing;
    static const UnitPoint bottomLeading;
    static const UnitPoint bottomTrailing;

    bool operator==(const UnitPoint&) const = default;
};

inline constexpr UnitPoint UnitPoint::zero{0, 0};
inline constexpr UnitPoint UnitPoint::center{0.5, 0.5};
inline constexpr UnitPoint UnitPoint::leading{0, 0.5};
inline constexpr UnitPoint UnitPoint::trailing{1, 0.5};
inline constexpr UnitPoint UnitPoint::top{0.5, 0};
inline constexpr UnitPoint UnitPoint::bottom{0.5, 1};
inline constexpr UnitPoint UnitPoint::topLeading{0, 0};
inline constexpr UnitPoint UnitPoint::topTrailing{1, 0};
inline constexpr UnitPoint UnitPoint::bottomLeading{0, 1};
inline constexpr UnitPoint UnitPoint::bottomTrailing{1, 1};

} // namespace ui
