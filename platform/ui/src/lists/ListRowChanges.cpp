#include "ui/ListRowChanges.h"

#include "ListRowReports.h"

#include "ui/Element.h"

#include <algorithm>
#include <unordered_set>

namespace ui {

namespace {

struct RowIDs {
    std::vector<foundation::AnyHashable> ids;
    bool seen = false;
};

constexpr const char* changesSlot = "\x01listRowChanges";

// The ids of `from` that `in` lacks, in the order of `from`, looking only at from[first, last):
// the others are known to be in `in`.
std::vector<foundation::AnyHashable> missing(const std::vector<foundation::AnyHashable>& from,
                                             std::size_t first, std::size_t last,
                                             const std::vector<foundation::AnyHashable>& in,
                                             std::size_t inFirst, std::size_t inLast) {
    std::vector<foundation::AnyHashable> result;
    if (first == last) return result;
    const std::unordered_set<foundation::AnyHashable> middle(in.begin() + std::ptrdiff_t(inFirst),
                                                             in.begin() + std::ptrdiff_t(inLast));
    for (std::size_t i = first; i < last; ++i) {
        if (!middle.count(from[i])) result.push_back(from[i]);
    }
    return result;
}

bool contains(const std::vector<foundation::AnyHashable>& ids, const foundation::AnyHashable& id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// Which ids came and went. Rows mostly change in one place (a row added, one deleted), so the
// runs both lists share at their ends are skipped, and only what lies between them is hashed.
ListRowChanges rowDifference(const std::vector<foundation::AnyHashable>& before,
                             const std::vector<foundation::AnyHashable>& now) {
    std::size_t prefix = 0;
    const std::size_t shorter = std::min(before.size(), now.size());
    while (prefix < shorter && before[prefix] == now[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == now[now.size() - 1 - suffix])
        ++suffix;
    ListRowChanges changes;
    changes.inserted = missing(now, prefix, now.size() - suffix, before, prefix, before.size() - suffix);
    changes.removed = missing(before, prefix, before.size() - suffix, now, prefix, now.size() - suffix);
    // An id repeated in a list (a caller's mistake) may stand in the skipped runs as well.
    constexpr std::size_t checkedOneByOne = 16;
    if (changes.inserted.size() + changes.removed.size() > checkedOneByOne) {
        const std::unordered_set<foundation::AnyHashable> all(before.begin(), before.end());
        std::erase_if(changes.inserted, [&](const auto& id) { return all.count(id) > 0; });
        const std::unordered_set<foundation::AnyHashable> allNow(now.begin(), now.end());
        std::erase_if(changes.removed, [&](const auto& id) { return allNow.count(id) > 0; });
    } else {
        std::erase_if(changes.inserted, [&](const auto& id) { return contains(before, id); });
        std::erase_if(changes.removed, [&](const auto& id) { return contains(now, id); });
    }
    return changes;
}

const ListRowChanges* findChanges(const Element& element) {
    if (const auto* changes = element.findSlot<ListRowChanges>(changesSlot)) return changes;
    for (const auto& child : element.children()) {
        if (const auto* changes = findChanges(*child)) return changes;
    }
    return nullptr;
}

} // namespace

const ListRowChanges* ListRowChanges::last(const Element& list) {
    return findChanges(list);
}

namespace detail {

void noteListRowCount(Element& list, std::size_t count) {
    *list.slot<std::size_t>("\x01listRowCount", [] { return std::make_shared<std::size_t>(0); }) = count;
}

std::optional<std::size_t> listRowCount(const Element& element) {
    if (const auto* count = element.findSlot<std::size_t>("\x01listRowCount")) return *count;
    return std::nullopt;
}

void noteListRows(Element& list, std::vector<foundation::AnyHashable> ids, const Transaction& transaction) {
    auto previous = list.slot<RowIDs>("\x01listRowIDs", [] { return std::make_shared<RowIDs>(); });
    if (!previous->seen) {
        // The rows a list starts with come with it; only later ones are inserted.
        previous->seen = true;
        previous->ids = std::move(ids);
        return;
    }
    ListRowChanges changes = rowDifference(previous->ids, ids);
    previous->ids = std::move(ids);
    if (changes.isEmpty()) return;
    changes.transaction = transaction;
    reportListRowChanges(list, std::move(changes));
}

// The one place row insertions and removals arrive. The rows animate their coming and going
// themselves, each through its transition; this keeps the record for those who ask.
void reportListRowChanges(Element& list, ListRowChanges changes) {
    auto slot = list.slot<ListRowChanges>(changesSlot, [] { return std::make_shared<ListRowChanges>(); });
    *slot = std::move(changes);
}

} // namespace detail

} // namespace ui
