#include "painting/PaintedRuns.h"

#include "painting/PaintedBounds.h"

#include <vector>

namespace ui::detail::PaintedRuns {

namespace {

struct Run {
    const DisplayList* list;
    std::size_t first;
    std::size_t end;
    QRectF bounds;
};

// Only the runs of the elements recording now and of their finished children are kept, so it
// stays about as deep as the tree.
std::vector<Run>& runs() {
    thread_local std::vector<Run> kept;
    return kept;
}

QRectF united(const QRectF& a, const QRectF& b) {
    if (b.isEmpty()) return a;
    if (a.isEmpty()) return b;
    return a.united(b);
}

} // namespace

std::size_t mark() {
    return runs().size();
}

QRectF close(const DisplayList& list, std::size_t first, std::size_t mark) {
    auto& kept = runs();
    const auto& items = list.items();
    QRectF result;
    std::size_t next = first;
    for (std::size_t r = mark; r < kept.size(); ++r) {
        const Run& run = kept[r];
        // Runs into other lists (a layer's content) are inside items of this one.
        if (run.list != &list || run.first < next || run.end > items.size()) continue;
        for (; next < run.first; ++next)
            result = united(result, itemBounds(items[next]));
        result = united(result, run.bounds);
        next = run.end;
    }
    for (; next < items.size(); ++next)
        result = united(result, itemBounds(items[next]));
    kept.resize(mark);
    kept.push_back({&list, first, items.size(), result});
    return result;
}

void closeKnown(const DisplayList& list, std::size_t first, std::size_t mark, const QRectF& bounds) {
    auto& kept = runs();
    kept.resize(mark);
    kept.push_back({&list, first, list.items().size(), bounds});
}

void drop(std::size_t mark) {
    auto& kept = runs();
    if (kept.size() > mark) kept.resize(mark);
}

} // namespace ui::detail::PaintedRuns
