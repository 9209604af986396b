// Where runs of recorded items paint, worked out once per run while a tree records: an element
// that measures its items takes the runs its children measured as they are.
#pragma once

#include "ui/DisplayList.h"

#include <QRectF>

#include <cstddef>

namespace ui::detail {

namespace PaintedRuns {

// Where the runs closed from now on begin: taken before an element records.
std::size_t mark();
// Where the items of `list` from `first` on paint, the runs closed since `mark` standing for
// theirs. The run then stands for all of them in an enclosing element's close.
QRectF close(const DisplayList& list, std::size_t first, std::size_t mark);
// Closes the run of `list` from `first` on with bounds known without measuring.
void closeKnown(const DisplayList& list, std::size_t first, std::size_t mark, const QRectF& bounds);
// Forgets the runs closed since `mark` (an element that measures nothing).
void drop(std::size_t mark);

} // namespace PaintedRuns

} // namespace ui::detail
