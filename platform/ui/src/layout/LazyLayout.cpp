#include "ui/LazyLayout.h"

#include "ui/Graph.h"
#include "ui/Layout.h"
#include "ui/ViewNodes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <unordered_map>
#include <unordered_set>

namespace ui::detail {

namespace {

// A row, its description made only when it is built: lists of thousands would otherwise
// describe every row at every update.
// It points into the content the state keeps (LazyState::content), without holding it, as
// lists of thousands would otherwise count references to it thousands of times.
struct Item {
    const ListNode* list = nullptr; // null for a single view
    std::size_t slot = 0;           // in the content
    std::size_t index = 0;          // in `list`
    ChildKey key;

    View view(const std::vector<View>& content) const { return list ? list->viewAt(index) : content[slot]; }
};

struct KeyHash {
    std::size_t operator()(const ChildKey& key) const {
        return key.id.hash() ^ (key.slot * 0x9e3779b97f4a7c15ULL);
    }
};

struct LazyState {
    std::vector<View> content; // what `items` point into
    std::vector<Item> items;
    std::unordered_map<ChildKey, std::size_t, KeyHash> positions; // of `items`, by key
    std::unordered_set<ChildKey, KeyHash> built;
    std::unordered_map<ChildKey, CGFloat, KeyHash> lengths; // along the axis, as measured
    CGFloat lengthSum = 0;                                  // of `lengths`, for the estimate
    std::vector<CGFloat> known; // the same by position in `items`; NaN where not measured
    CGFloat maxCross = 0;
    // Rows the last update brought, not built yet, and that update's transaction: when layout
    // builds them they are inserted with it, while rows built only as they scroll into sight are not.
    std::unordered_set<ChildKey, KeyHash> arriving;
    Transaction arrival;
    bool updated = false;
    // The descriptions handed to built rows since the last update: the same content gives
    // the same description, so building more rows leaves those already built as they are.
    std::unordered_map<ChildKey, View, KeyHash> described;

    void remember(std::size_t index, CGFloat length) {
        auto [it, added] = lengths.try_emplace(items[index].key, length);
        lengthSum += added ? length : length - it->second;
        it->second = length;
        known[index] = length;
    }
    CGFloat estimate() const { return lengths.empty() ? 0 : lengthSum / CGFloat(lengths.size()); }
};

std::shared_ptr<LazyState> stateOf(Element& element) {
    return element.slot<LazyState>("\x01lazy", [] { return std::make_shared<LazyState>(); });
}

// The rows of the content: a list's children one by one, other views as they are. Keys match
// those a plain stack would give, so a row keeps its identity either way.
std::vector<Item> itemsOf(const std::vector<View>& content) {
    std::vector<Item> items;
    for (std::size_t slot = 0; slot < content.size(); ++slot) {
        const auto* list = dynamic_cast<const ListNode*>(content[slot].node().get());
        if (!list) {
            // A row with an id is known by it, built or not, so it can be scrolled to.
            if (const auto* id = content[slot].nodeAs<IDNode>())
                items.push_back({nullptr, slot, 0, {slot * 1'000'003, id->id(), true, 0}});
            else
                items.push_back({nullptr, slot, 0, {slot, {}, false, 0}});
            continue;
        }
        const bool explicitIDs = list->hasExplicitIDs();
        const std::size_t count = list->count();
        items.reserve(items.size() + count);
        for (std::size_t i = 0; i < count; ++i) {
            ChildKey key{slot * 1'000'003 + (explicitIDs ? 0 : i + 1),
                         explicitIDs ? list->idAt(i) : foundation::AnyHashable(), explicitIDs, 0};
            items.push_back({list, slot, i, std::move(key)});
        }
    }
    return items;
}

void reconcileBuilt(Element& element, LazyState& state) {
    std::vector<std::size_t> shown;
    shown.reserve(state.built.size());
    for (const auto& key : state.built) {
        if (auto it = state.positions.find(key); it != state.positions.end()) shown.push_back(it->second);
    }
    std::sort(shown.begin(), shown.end());
    std::vector<ChildSpec> specs;
    specs.reserve(shown.size());
    for (const auto index : shown) {
        const auto& item = state.items[index];
        auto [it, made] = state.described.try_emplace(item.key);
        if (made) it->second = item.view(state.content);
        specs.push_back({it->second, item.key, {}});
    }
    element.reconcile(std::move(specs));
}

// Builds the rows layout just added to `state.built`: those that arrived with the last update
// under its transaction, so that they can show their insertion; the others (rows scrolled into
// sight) as before.
void reconcileAdded(Element& element, LazyState& state, const std::vector<ChildKey>& added) {
    std::vector<ChildKey> later;
    for (const auto& key : added) {
        if (!state.arriving.erase(key)) later.push_back(key);
    }
    if (later.size() < added.size()) {
        for (const auto& key : later)
            state.built.erase(key);
        element.graph().withUpdateTransaction(state.arrival, [&] { reconcileBuilt(element, state); });
        if (later.empty()) return;
        state.built.insert(later.begin(), later.end());
    }
    reconcileBuilt(element, state);
}

std::unordered_map<ChildKey, Element*, KeyHash> childrenByKey(Element& element) {
    std::unordered_map<ChildKey, Element*, KeyHash> result;
    for (const auto& child : element.children())
        result.emplace(child->key(), child.get());
    return result;
}

CGFloat lineLength(const LazyState& state, std::size_t begin, std::size_t end, CGFloat estimate) {
    bool known = false;
    CGFloat length = 0;
    for (std::size_t i = begin; i < end; ++i) {
        if (!std::isnan(state.known[i])) {
            length = std::max(length, state.known[i]);
            known = true;
        }
    }
    return known ? length : estimate;
}

// Takes `items` in by indexing all of them; notes those that arrive. Returns whether a row went.
bool replaceItems(LazyState& state, std::vector<Item> items) {
    auto previous = std::move(state.positions);
    state.items = std::move(items);
    state.positions.clear();
    state.positions.reserve(state.items.size());
    for (std::size_t i = 0; i < state.items.size(); ++i)
        state.positions.emplace(state.items[i].key, i);
    std::size_t kept = 0;
    for (const auto& item : state.items) {
        if (previous.count(item.key))
            ++kept;
        else if (state.updated)
            state.arriving.insert(item.key);
    }
    return kept < previous.size();
}

// Rows mostly change in one place (one added, one deleted): the runs of keys the old and new
// items share at their ends keep their entries, and only what lies between them is looked up.
// Takes `items` in that way and returns whether a row went; nothing when the change is too
// large for it (or keys repeat), leaving the state as it was.
std::optional<bool> followChange(LazyState& state, std::vector<Item>& items) {
    const auto& before = state.items;
    // Without repeated keys every item has its own entry.
    if (!state.updated || state.positions.size() != before.size()) return std::nullopt;
    const std::size_t shorter = std::min(before.size(), items.size());
    std::size_t prefix = 0;
    while (prefix < shorter && before[prefix].key == items[prefix].key)
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix].key == items[items.size() - 1 - suffix].key)
        ++suffix;
    const std::size_t oldEnd = before.size() - suffix;
    const std::size_t newEnd = items.size() - suffix;
    constexpr std::size_t followedAtMost = 64;
    if (oldEnd - prefix > followedAtMost || newEnd - prefix > followedAtMost) return std::nullopt;

    std::unordered_set<ChildKey, KeyHash> coming;
    std::vector<const ChildKey*> arriving;
    for (std::size_t i = prefix; i < newEnd; ++i) {
        if (!coming.insert(items[i].key).second) return std::nullopt;
        const auto it = state.positions.find(items[i].key);
        if (it == state.positions.end())
            arriving.push_back(&items[i].key);
        else if (it->second < prefix || it->second >= oldEnd)
            return std::nullopt; // a key the shared runs hold already: a repeated key
    }
    for (const auto* key : arriving)
        state.arriving.insert(*key);
    bool anyGone = false;
    for (std::size_t i = prefix; i < oldEnd; ++i) {
        if (!coming.count(before[i].key)) anyGone = true;
        state.positions.erase(before[i].key);
    }
    for (std::size_t i = prefix; i < newEnd; ++i)
        state.positions.emplace(items[i].key, i);
    if (items.size() != before.size()) {
        for (std::size_t i = newEnd; i < items.size(); ++i)
            state.positions[items[i].key] = i;
    }

    std::vector<CGFloat> known(items.size(), std::numeric_limits<CGFloat>::quiet_NaN());
    std::copy(state.known.begin(), state.known.begin() + std::ptrdiff_t(prefix), known.begin());
    std::copy(state.known.begin() + std::ptrdiff_t(oldEnd), state.known.end(),
              known.begin() + std::ptrdiff_t(newEnd));
    for (std::size_t i = prefix; i < newEnd; ++i) {
        if (auto it = state.lengths.find(items[i].key); it != state.lengths.end()) known[i] = it->second;
    }
    state.known = std::move(known);
    state.items = std::move(items);
    return anyGone;
}

bool unmeasured(const LazyState& state, std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) {
        if (std::isnan(state.known[i])) return true;
    }
    return false;
}

// Builds the rows of the line [begin, end) that are not built yet and measures them all.
void measureLine(Element& element, LazyState& state, std::size_t begin, std::size_t end,
                 const std::vector<LazyNode::Track>& lineTracks, CGFloat cross, Axis axis) {
    std::vector<ChildKey> added;
    for (std::size_t i = begin; i < end; ++i) {
        if (state.built.insert(state.items[i].key).second) added.push_back(state.items[i].key);
    }
    if (!added.empty()) reconcileAdded(element, state, added);
    for (std::size_t i = begin; i < end; ++i) {
        Element* child = nullptr;
        for (const auto& built : element.children()) {
            if (built->key() == state.items[i].key) {
                child = built.get();
                break;
            }
        }
        if (!child) continue;
        const CGFloat track = i - begin < lineTracks.size() ? lineTracks[i - begin].length : cross;
        const auto size = child->measure(proposalOf(std::nullopt, track, axis));
        state.remember(i, along(size, axis));
        state.maxCross = std::max(state.maxCross, across(size, axis));
    }
}

} // namespace

void LazyNode::update(Element& element) const {
    auto state = stateOf(element);
    state->arriving.clear();
    auto items = itemsOf(content_);
    auto patched = followChange(*state, items);
    const bool anyGone = patched ? *patched : replaceItems(*state, std::move(items));
    state->content = content_;
    state->updated = true;
    state->described.clear();
    state->arrival = element.graph().updateTransaction();
    // Kept past this update: it must not hold back the completion of the change.
    state->arrival.completion.reset();
    // Forget what was measured of rows that are gone.
    const auto gone = [&](const ChildKey& key) { return !state->positions.count(key); };
    std::erase_if(state->built, gone);
    if (anyGone) {
        std::erase_if(state->lengths, [&](const auto& entry) { return gone(entry.first); });
        state->lengthSum = 0;
        for (const auto& [key, length] : state->lengths)
            state->lengthSum += length;
    }
    if (!patched) {
        state->known.assign(state->items.size(), std::numeric_limits<CGFloat>::quiet_NaN());
        for (const auto& [key, length] : state->lengths) {
            if (auto it = state->positions.find(key); it != state->positions.end())
                state->known[it->second] = length;
        }
    }
    reconcileBuilt(element, *state);
}

CGFloat LazyNode::measuredCross(Element& element) const {
    return stateOf(element)->maxCross;
}

CGFloat LazyNode::crossLength(Element& element, std::optional<CGFloat> offered) const {
    if (offered && std::isfinite(*offered)) return *offered;
    return idealCrossLength(element);
}

void LazyNode::measureFirstLine(Element& element, CGFloat cross) const {
    auto state = stateOf(element);
    if (!state->lengths.empty() || state->items.empty()) return;
    const auto lineTracks = tracks(cross);
    const std::size_t n = std::max<std::size_t>(1, lineTracks.size());
    const std::size_t end = std::min(n, state->items.size());
    std::vector<ChildKey> added;
    for (std::size_t i = 0; i < end; ++i) {
        if (state->built.insert(state->items[i].key).second) added.push_back(state->items[i].key);
    }
    if (!added.empty()) reconcileAdded(element, *state, added);
    auto children = childrenByKey(element);
    for (std::size_t i = 0; i < end; ++i) {
        auto* child = children[state->items[i].key];
        const CGFloat track = i < lineTracks.size() ? lineTracks[i].length : cross;
        const auto size = child->measure(proposalOf(std::nullopt, track, axis_));
        state->remember(i, along(size, axis_));
        state->maxCross = std::max(state->maxCross, across(size, axis_));
    }
}

graphics::CGSize LazyNode::sizeThatFits(Element& element, const ProposedViewSize& proposal) const {
    auto state = stateOf(element);
    if (state->items.empty()) return {};
    measureFirstLine(element, crossLength(element, across(proposal, axis_)));
    const CGFloat cross = crossLength(element, across(proposal, axis_));
    const std::size_t n = std::max<std::size_t>(1, tracks(cross).size());
    const std::size_t lines = (state->items.size() + n - 1) / n;
    const CGFloat estimate = state->estimate();
    CGFloat main = spacing_ * CGFloat(lines - 1);
    for (std::size_t line = 0; line < lines; ++line)
        main += lineLength(*state, line * n, std::min(state->items.size(), (line + 1) * n), estimate);
    return sizeOf(main, cross, axis_);
}

void LazyNode::placeChildren(Element& element, const ProposedViewSize&) const {
    auto state = stateOf(element);
    const auto frame = element.layoutFrame();
    const CGFloat cross = across(frame.size, axis_);
    const auto lineTracks = tracks(cross);
    const std::size_t n = std::max<std::size_t>(1, lineTracks.size());
    const std::size_t count = state->items.size();
    const std::size_t lines = (count + n - 1) / n;
    const bool horizontal = axis_ == Axis::horizontal;
    const CGFloat start = horizontal ? frame.minX() : frame.minY();
    const CGFloat crossStart = horizontal ? frame.minY() : frame.minX();
    const auto visible = element.graph().visibleRect().intersection(frame);
    const CGFloat visibleMin = visible.isNull() ? 0 : (horizontal ? visible.minX() : visible.minY());
    const CGFloat visibleMax = visible.isNull() ? -1 : (horizontal ? visible.maxX() : visible.maxY());
    const CGFloat estimate = state->estimate();

    // Which lines show, by the lengths known so far. A line that may show but was never
    // measured is built and measured first, so that a poor estimate (a first row of another
    // height than the rest) does not build rows far out of sight.
    std::vector<bool> needed(lines, false);
    std::vector<ChildKey> added;
    CGFloat position = start;
    // Lines touching the visible part from outside do not show; empty ones inside do.
    const auto showsAt = [&](CGFloat at, CGFloat length) {
        return at < visibleMax && (at + length > visibleMin || (length == 0 && at >= visibleMin));
    };
    // Lines only move further along, so none past the visible end shows (unless lines overlap).
    const bool forwardOnly = spacing_ >= 0;
    std::size_t neededEnd = 0;
    for (std::size_t line = 0; line < lines; ++line) {
        if (forwardOnly && position >= visibleMax) break;
        const std::size_t end = std::min(count, (line + 1) * n);
        CGFloat length = lineLength(*state, line * n, end, estimate);
        bool shows = showsAt(position, length);
        if (shows && unmeasured(*state, line * n, end)) {
            measureLine(element, *state, line * n, end, lineTracks, cross, axis_);
            length = lineLength(*state, line * n, end, estimate);
            shows = showsAt(position, length);
        }
        if (shows) {
            needed[line] = true;
            neededEnd = line + 1;
            for (std::size_t i = line * n; i < end; ++i) {
                if (state->built.insert(state->items[i].key).second) added.push_back(state->items[i].key);
            }
        }
        position += length + spacing_;
    }
    if (!added.empty()) reconcileAdded(element, *state, added);
    auto children = childrenByKey(element);
    // Built rows out of sight stay built (and keep their state) but hidden.
    for (const auto& [key, child] : children) {
        auto it = state->positions.find(key);
        if (it != state->positions.end() && !needed[it->second / n]) child->setHidden(true);
    }

    position = start;
    for (std::size_t line = 0; line < neededEnd; ++line) {
        const std::size_t begin = line * n;
        const std::size_t end = std::min(count, begin + n);
        if (!needed[line]) {
            position += lineLength(*state, begin, end, estimate) + spacing_;
            continue;
        }
        std::vector<graphics::CGSize> sizes(end - begin);
        CGFloat length = 0;
        for (std::size_t i = begin; i < end; ++i) {
            auto* child = children[state->items[i].key];
            child->setHidden(false);
            const CGFloat track = lineTracks.empty() ? cross : lineTracks[i - begin].length;
            sizes[i - begin] = child->measure(proposalOf(std::nullopt, track, axis_));
            state->remember(i, along(sizes[i - begin], axis_));
            state->maxCross = std::max(state->maxCross, across(sizes[i - begin], axis_));
            length = std::max(length, along(sizes[i - begin], axis_));
        }
        for (std::size_t i = begin; i < end; ++i) {
            auto* child = children[state->items[i].key];
            const auto& track =
                lineTracks.empty() ? Track{0, cross, Alignment::center} : lineTracks[i - begin];
            const graphics::CGRect cell =
                horizontal ? graphics::CGRect{{position, crossStart + track.offset}, {length, track.length}}
                           : graphics::CGRect{{crossStart + track.offset, position}, {track.length, length}};
            const auto size = sizes[i - begin];
            child->place({alignedOrigin(*child, size, cell, track.alignment), size},
                         proposalOf(std::nullopt, track.length, axis_));
        }
        position += length + spacing_;
    }
}

std::optional<graphics::CGRect> LazyNode::estimatedFrame(Element& element,
                                                         const foundation::AnyHashable& id) const {
    auto state = stateOf(element);
    const auto frame = element.layoutFrame();
    const CGFloat cross = across(frame.size, axis_);
    const auto lineTracks = tracks(cross);
    const std::size_t n = std::max<std::size_t>(1, lineTracks.size());
    const CGFloat estimate = state->estimate();
    const bool horizontal = axis_ == Axis::horizontal;
    CGFloat position = horizontal ? frame.minX() : frame.minY();
    const CGFloat crossStart = horizontal ? frame.minY() : frame.minX();
    for (std::size_t begin = 0; begin < state->items.size(); begin += n) {
        const std::size_t end = std::min(state->items.size(), begin + n);
        const CGFloat length = lineLength(*state, begin, end, estimate);
        for (std::size_t i = begin; i < end; ++i) {
            if (!state->items[i].key.isExplicit || !(state->items[i].key.id == id)) continue;
            const auto& track =
                lineTracks.empty() ? Track{0, cross, Alignment::center} : lineTracks[i - begin];
            return horizontal
                       ? graphics::CGRect{{position, crossStart + track.offset}, {length, track.length}}
                       : graphics::CGRect{{crossStart + track.offset, position}, {track.length, length}};
        }
        position += length + spacing_;
    }
    return std::nullopt;
}

} // namespace ui::detail
