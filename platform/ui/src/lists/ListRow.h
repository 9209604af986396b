// The row of a List: its content inset, its background and its separator.
#pragma once

#include "foundation/AnyHashable.h"
#include "ui/AlikeNode.h"
#include "ui/Color.h"
#include "ui/Edge.h"
#include "ui/Element.h"
#include "ui/Preference.h"
#include "ui/View.h"

#include <cstddef>
#include <optional>

namespace ui::detail {

// What the views of a row ask of the list (listRowInsets and its neighbours), handed up to the
// row like a preference.
struct ListRowTraits {
    std::optional<EdgeInsets> insets;
    std::optional<View> background;
    std::optional<Color> separatorTint;
    EdgeSet tintEdges = EdgeSet::vertical;
    bool separatorHidden = false;

    bool operator==(const ListRowTraits& other) const {
        auto sameBackground = [&] {
            if (background.has_value() != other.background.has_value()) return false;
            return !background || background->node() == other.background->node();
        };
        return insets == other.insets && sameBackground() && separatorTint == other.separatorTint &&
               tintEdges == other.tintEdges && separatorHidden == other.separatorHidden;
    }
};

struct ListRowTraitsKey {
    using Value = ListRowTraits;
    static Value defaultValue() { return {}; }
    // Siblings add what the earlier ones left unset.
    static void reduce(Value& value, const std::function<Value()>& next) {
        const auto more = next();
        if (!value.insets) value.insets = more.insets;
        if (!value.background) value.background = more.background;
        if (!value.separatorTint) {
            value.separatorTint = more.separatorTint;
            value.tintEdges = more.tintEdges;
        }
        value.separatorHidden = value.separatorHidden || more.separatorHidden;
    }
};

// Where a row stands in its list.
struct ListRowPlace {
    std::size_t group = 0;  // which run of rows (a ForEach, or a single row)
    std::size_t offset = 0; // its position in that run
    std::optional<foundation::AnyHashable> selectionID;
    bool selected = false;
    bool last = false; // the list's last row draws no separator below it
    bool operator==(const ListRowPlace& other) const {
        return group == other.group && offset == other.offset && selected == other.selected &&
               last == other.last && selectionID.has_value() == other.selectionID.has_value() &&
               (!selectionID || *selectionID == *other.selectionID);
    }
};

class ListRowNode final : public ViewNode, public AlikeNode {
public:
    ListRowNode(View content, ListRowPlace place)
        : content_(std::move(content))
        , place_(std::move(place)) {}

    std::string_view typeName() const override { return "ListRow"; }
    bool alike(const ViewNode& previous) const override {
        const auto* same = dynamic_cast<const ListRowNode*>(&previous);
        return same && same->place_ == place_;
    }
    const ListRowPlace& place() const { return place_; }
    // The traits the row's content handed up in the last update.
    static ListRowTraits traits(const Element& element);

    void update(Element& element) const override;
    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override;
    void placeChildren(Element& element, const ProposedViewSize& proposal) const override;
    void render(const Element& element, DisplayList& list) const override;
    void collectPreferences(const Element& element, PreferenceValues& values) const override;

private:
    View content_;
    ListRowPlace place_;
};

} // namespace ui::detail

namespace ui::detail {

// Whether lists below paint their own background (scrollContentBackground).
struct ScrollContentBackgroundKey {
    using Value = Visibility;
    static Value defaultValue() { return Visibility::automatic; }
};

} // namespace ui::detail
