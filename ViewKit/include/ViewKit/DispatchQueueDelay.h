#pragma once

#include "foundation/Date.h"
#include "foundation/DispatchQueue.h"

namespace ViewKit {

// Runs `work` on `queue` once `seconds` have passed from now, as DispatchQueue::asyncAfter
// does with that deadline: a negative delay runs as soon as the queue gets to it, a NaN or
// infinite one never.
void asyncAfter(const foundation::DispatchQueue& queue, foundation::TimeInterval seconds,
                foundation::DispatchQueue::Work work);

} // namespace ViewKit
