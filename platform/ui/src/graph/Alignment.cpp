#include "ui/Alignment.h"

namespace ui {

namespace {
constexpr AlignmentID leadingID{[](const ViewDimensions&) -> CGFloat { return 0; }, true};
constexpr AlignmentID horizontalCenterID{[](const ViewDimensions& d) { return d.width / 2; }, true};
constexpr AlignmentID trailingID{[](const ViewDimensions& d) { return d.width; }, true};
constexpr AlignmentID separatorLeadingID{[](const ViewDimensions&) -> CGFloat { return 0; }, true};
constexpr AlignmentID separatorTrailingID{[](const ViewDimensions& d) { return d.width; }, true};
constexpr AlignmentID topID{[](const ViewDimensions&) -> CGFloat { return 0; }, false};
constexpr AlignmentID verticalCenterID{[](const ViewDimensions& d) { return d.height / 2; }, false};
constexpr AlignmentID bottomID{[](const ViewDimensions& d) { return d.height; }, false};
constexpr AlignmentID firstBaselineID{[](const ViewDimensions& d) { return d.height; }, false};
constexpr AlignmentID lastBaselineID{[](const ViewDimensions& d) { return d.height; }, false};
} // namespace

const HorizontalAlignment HorizontalAlignment::leading{&leadingID};
const HorizontalAlignment HorizontalAlignment::center{&horizontalCenterID};
const HorizontalAlignment HorizontalAlignment::trailing{&trailingID};
const HorizontalAlignment HorizontalAlignment::listRowSeparatorLeading{&separatorLeadingID};
const HorizontalAlignment HorizontalAlignment::listRowSeparatorTrailing{&separatorTrailingID};

const VerticalAlignment VerticalAlignment::top{&topID};
const VerticalAlignment VerticalAlignment::center{&verticalCenterID};
const VerticalAlignment VerticalAlignment::bottom{&bottomID};
const VerticalAlignment VerticalAlignment::firstTextBaseline{&firstBaselineID};
const VerticalAlignment VerticalAlignment::lastTextBaseline{&lastBaselineID};

const Alignment Alignment::center{HorizontalAlignment::center, VerticalAlignment::center};
const Alignment Alignment::leading{HorizontalAlignment::leading, VerticalAlignment::center};
const Alignment Alignment::trailing{HorizontalAlignment::trailing, VerticalAlignment::center};
const Alignment Alignment::top{HorizontalAlignment::center, VerticalAlignment::top};
const Alignment Alignment::bottom{HorizontalAlignment::center, VerticalAlignment::bottom};
const Alignment Alignment::topLeading{HorizontalAlignment::leading, VerticalAlignment::top};
const Alignment Alignment::topTrailing{HorizontalAlignment::trailing, VerticalAlignment::top};
const Alignment Alignment::bottomLeading{HorizontalAlignment::leading, VerticalAlignment::bottom};
const Alignment Alignment::bottomTrailing{HorizontalAlignment::trailing, VerticalAlignment::bottom};

} // namespace ui
