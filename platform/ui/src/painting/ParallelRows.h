#pragma once

#include <functional>

namespace ui::detail {

// Runs `body(begin, end)` over consecutive blocks of the rows [0, rows), sharing the blocks
// among the calling thread and a few helper threads, and returns when every block is done.
// The caller takes blocks too, so the call finishes even when no helper is free. Small jobs
// (under `minimumRows` rows or `minimumWork` units of work) run on the caller alone. The first
// exception a block throws is rethrown here once all started blocks have ended; blocks not yet
// started then do not run.
void parallelRows(int rows, long long workPerRow, const std::function<void(int begin, int end)>& body);

// How many threads at most share one call: the caller and its helpers.
int parallelRowThreads();

} // namespace ui::detail
