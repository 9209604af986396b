#include "ui/List.h"

#include "ListRow.h"
#include "ListRowReports.h"
#include "controls/ControlLook.h"
#include "events/EventNodes.h"
#include "motion/TransitionEffects.h"

#include "ui/AnyTransition.h"
#include "ui/ColorScheme.h"
#include "ui/EnvironmentKeys.h"
#include "ui/ForEach.h"
#include "ui/Gesture.h"
#include "ui/LazyStack.h"
#include "ui/Rectangle.h"
#include "ui/ScrollView.h"
#include "ui/ViewContext.h"
#include "ui/ViewNodes.h"

#include <algorithm>
#include <memory>

namespace ui {

namespace {

// The rows of a ForEach (or group) inside a list: the same ids, each row made a list row.
class ListRowsNode final : public ListNode {
public:
    using MakeRow = std::function<View(View, std::size_t)>;
    ListRowsNode(std::shared_ptr<const ListNode> rows, MakeRow makeRow)
        : rows_(std::move(rows))
        , makeRow_(std::move(makeRow)) {}
    std::string_view typeName() const override { return "ListRows"; }
    std::size_t count() const override { return rows_->count(); }
    bool hasExplicitIDs() const override { return rows_->hasExplicitIDs(); }
    foundation::AnyHashable idAt(std::size_t index) const override { return rows_->idAt(index); }
    std::shared_ptr<ListNode> withWrapper(Wrapper wrapper) const override {
        auto copy = std::make_shared<ListRowsNode>(*this);
        copy->wrappers_.push_back(std::move(wrapper));
        return copy;
    }

protected:
    View rawViewAt(std::size_t index) const override { return makeRow_(rows_->viewAt(index), index); }

private:
    std::shared_ptr<const ListNode> rows_;
    MakeRow makeRow_;
};

// A row being dragged to a new place.
struct Reorder {
    bool active = false;
    std::size_t group = 0;
    std::size_t source = 0;
    CGFloat translation = 0;
    bool operator==(const Reorder&) const = default;
};

// One run of rows: a ForEach's, or a single view's.
struct RowRun {
    std::shared_ptr<const ListNode> rows; // null for a single view
    View single;
    std::shared_ptr<const detail::EditableListNode> editable;
    std::size_t count() const { return rows ? rows->count() : 1; }
};

void collectRuns(const View& view, std::vector<RowRun>& runs) {
    if (const auto* section = view.nodeAs<detail::SectionNode>()) {
        if (section->header()) runs.push_back({nullptr, *section->header(), nullptr});
        for (const auto& child : section->content())
            collectRuns(child, runs);
        if (section->footer()) runs.push_back({nullptr, *section->footer(), nullptr});
        return;
    }
    if (auto list = std::dynamic_pointer_cast<const ListNode>(view.node())) {
        runs.push_back({list, {}, std::dynamic_pointer_cast<const detail::EditableListNode>(list)});
        return;
    }
    if (view.node()) runs.push_back({nullptr, view, nullptr});
}

bool sameID(const std::optional<foundation::AnyHashable>& a, const std::optional<foundation::AnyHashable>& b) {
    return a.has_value() && b.has_value() && *a == *b;
}

bool insideRow(const Element* element, const Element* list) {
    for (; element && element != list; element = element->parent()) {
        if (element->nodeAs<detail::ListRowNode>()) return true;
    }
    return false;
}

void collectRowElements(Element& element, std::size_t group, std::vector<Element*>& out) {
    if (!element.isVisible() || element.isHidden()) return;
    if (const auto* row = element.nodeAs<detail::ListRowNode>()) {
        if (row->place().group == group) out.push_back(&element);
        return;
    }
    for (const auto& child : element.children())
        collectRowElements(*child, group, out);
}

// Where a row dragged from `source` and released at `y` goes: the offset, in the rows before the
// move, it lands before. Rows out of sight are above or below the ones in sight.
std::optional<std::size_t> dropDestination(Element& list, std::size_t group, std::size_t source, CGFloat y) {
    std::vector<Element*> rows;
    collectRowElements(list, group, rows);
    std::vector<std::pair<std::size_t, CGFloat>> shown;
    for (auto* row : rows) {
        const auto offset = row->nodeAs<detail::ListRowNode>()->place().offset;
        if (offset != source) shown.push_back({offset, row->frame().midY()});
    }
    if (shown.empty()) return std::nullopt;
    std::sort(shown.begin(), shown.end());
    const std::size_t first = shown.front().first;
    std::size_t above = first > source ? first - 1 : first; // the unshown rows before the first shown one
    for (const auto& [offset, mid] : shown) {
        if (mid < y) ++above;
    }
    return above < source ? above : above + 1;
}

struct ListBody {
    std::vector<View> content;
    std::optional<List::ErasedSelection> selection;

    View body(ViewContext& ctx) const {
        auto reorder = ctx.state<Reorder>("\x01reorder", Reorder{});
        const auto self = ctx.element().reference();
        const auto background = ctx.environment<detail::ScrollContentBackgroundKey>();
        const auto scheme = ctx.environment<ColorSchemeKey>();
        const std::optional<foundation::AnyHashable> selected = selection ? selection->get() : std::nullopt;

        std::vector<RowRun> runs;
        for (const auto& view : content)
            collectRuns(view, runs);
        std::size_t lastRun = runs.size();
        for (std::size_t i = runs.size(); i-- > 0;) {
            if (runs[i].count() > 0) {
                lastRun = i;
                break;
            }
        }

        std::vector<foundation::AnyHashable> ids;
        std::vector<View> rows;
        for (std::size_t g = 0; g < runs.size(); ++g) {
            const auto& run = runs[g];
            const bool last = g == lastRun;
            if (!run.rows) {
                detail::ListRowPlace place{g, 0, run.single.tagValue(), false, last};
                place.selected = selection && sameID(place.selectionID, selected);
                View row = makeRow(selection, run.single, place, nullptr, reorder, self);
                // A row's own id stays its identity among the rows, so it can be scrolled to
                // while it is not built.
                if (const auto* id = run.single.nodeAs<detail::IDNode>()) {
                    ids.push_back(id->id());
                    row = row.idErased(id->id());
                }
                rows.push_back(row);
                continue;
            }
            const auto count = run.rows->count();
            if (run.rows->hasExplicitIDs()) {
                for (std::size_t i = 0; i < count; ++i)
                    ids.push_back(run.rows->idAt(i));
            }
            auto list = run.rows;
            auto move = run.editable ? run.editable->moveAction() : nullptr;
            auto selectionOn = selection.has_value();
            auto make = [selection = selection, list, g, count, last, selected, selectionOn, move, reorder, self](
                            View view, std::size_t offset) {
                detail::ListRowPlace place{g, offset, std::nullopt, false, last && offset + 1 == count};
                if (selectionOn) {
                    if (list->hasExplicitIDs())
                        place.selectionID = list->idAt(offset);
                    else
                        place.selectionID = view.tagValue();
                }
                place.selected = sameID(place.selectionID, selected);
                return makeRow(selection, std::move(view), place, move, reorder, self);
            };
            rows.push_back(View(std::make_shared<ListRowsNode>(list, make)));
        }
        detail::noteListRows(ctx.element(), std::move(ids), ctx.transaction());
        std::size_t rowCount = 0;
        for (const auto& run : runs)
            rowCount += run.count();
        detail::noteListRowCount(ctx.element(), rowCount);

        View view = ScrollView(View(LazyVStack(HorizontalAlignment::leading, 0, std::move(rows)))
                                   .environment(detail::InListRowsKey{}, true));
        if (background != Visibility::hidden)
            view = view.background(scheme == ColorScheme::dark ? Color(0.12, 0.12, 0.12) : Color(1, 1, 1));
        if (!selection) return view;
        return view.focusable().onKeyPress(
            [self, selection = *selection, runs](const KeyPress& press) { return deleteKey(press, self, selection, runs); });
    }

    static View makeRow(const std::optional<List::ErasedSelection>& selection, View content,
                        const detail::ListRowPlace& place, detail::EditableListNode::MoveAction move,
                        const State<Reorder>& reorder, const std::weak_ptr<detail::ElementRef>& self) {
        // Rows come and go with their own transition when their content carries one, else they fade.
        const auto transition = detail::transitionOf(content).value_or(AnyTransition::opacity());
        View row(std::make_shared<detail::ListRowNode>(std::move(content), place));
        if (selection && place.selectionID) {
            row = row.contentShape(Rectangle()).onTapGesture([select = selection->set, id = place.selectionID] {
                select(id);
            });
        }
        if (!move) return row.transition(transition);
        const bool dragged = reorder->active && reorder->group == place.group && reorder->source == place.offset;
        const auto group = place.group;
        const auto source = place.offset;
        auto drag = DragGesture(4, CoordinateSpace::global)
                        .onChanged([reorder, group, source](const DragGesture::Value& value) {
                            reorder.set(Reorder{true, group, source, value.translation.height});
                        })
                        .onEnded([reorder, group, source, move, self](const DragGesture::Value& value) {
                            reorder.set(Reorder{});
                            auto ref = self.lock();
                            if (!ref || !ref->element) return;
                            auto destination = dropDestination(*ref->element, group, source, value.location.y);
                            if (!destination || *destination == source || *destination == source + 1) return;
                            move(foundation::IndexSet(source), *destination);
                        })
                        .onCancelled([reorder] { reorder.set(Reorder{}); });
        // The dragged row is lifted above the others on the window's background, so that it
        // does not show through the rows it passes.
        // (The same modifiers either way, so that the row keeps its identity and state.)
        return row.background(dragged ? detail::systemColor("windowBackgroundColor") : Color::clear)
            .contentShape(Rectangle())
            .gesture(drag)
            .offset(0, dragged ? reorder->translation : 0)
            .transition(transition)
            .zIndex(dragged ? 1 : 0);
    }

    static KeyPress::Result deleteKey(const KeyPress& press, const std::weak_ptr<detail::ElementRef>& self,
                                      const List::ErasedSelection& selection, const std::vector<RowRun>& runs) {
        if (press.phase == KeyPress::Phase::up) return KeyPress::Result::ignored;
        if (!(press.key == KeyEquivalent::delete_) && !(press.key == KeyEquivalent::deleteForward))
            return KeyPress::Result::ignored;
        auto ref = self.lock();
        if (!ref || !ref->element) return KeyPress::Result::ignored;
        // A key typed into an editor in a row is the editor's, even when it lets it pass.
        if (insideRow(detail::focusedElement(ref->element->graph()), ref->element))
            return KeyPress::Result::ignored;
        const auto selected = selection.get();
        if (!selected) return KeyPress::Result::ignored;
        for (const auto& run : runs) {
            if (!run.editable || !run.editable->deleteAction()) continue;
            for (std::size_t i = 0; i < run.rows->count(); ++i) {
                const bool match = run.rows->hasExplicitIDs() ? run.rows->idAt(i) == *selected
                                                              : sameID(run.rows->viewAt(i).tagValue(), selected);
                if (!match) continue;
                run.editable->deleteAction()(foundation::IndexSet(i));
                return KeyPress::Result::handled;
            }
        }
        return KeyPress::Result::ignored;
    }
};

} // namespace

List::List(std::vector<View> content)
    : View(ListBody{std::move(content), std::nullopt}) {}

List::List(ErasedSelection selection, std::vector<View> content)
    : View(ListBody{std::move(content), std::move(selection)}) {}

} // namespace ui
