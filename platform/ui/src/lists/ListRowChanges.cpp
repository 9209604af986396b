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
    const std::unordered_set<foundation::AnyHashable> before(previous->ids.begin(), previous->ids.end());
    const std::unordered_set<foundation::AnyHashable> now(ids.begin(), ids.end());
    ListRowChanges changes;
    for (const auto& id : ids) {
        if (!before.count(id)) changes.inserted.push_back(id);
    }
    for (const auto& id : previous->ids) {
        if (!now.count(id)) changes.removed.push_back(id);
    }
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
