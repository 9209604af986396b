#include "ListRow.h"

#include "ui/View.h"

namespace ui {

namespace {

template <class F> View withTraits(const View& view, F change) {
    return view.transformPreference(detail::ListRowTraitsKey{}, [change](detail::ListRowTraits& traits) {
        change(traits);
    });
}

} // namespace

View View::listRowInsets(std::optional<EdgeInsets> insets) const {
    return withTraits(*this, [insets](detail::ListRowTraits& traits) { traits.insets = insets; });
}

View View::listRowBackground(std::optional<View> background) const {
    return withTraits(*this, [background](detail::ListRowTraits& traits) { traits.background = background; });
}

View View::listRowSeparatorTint(std::optional<Color> tint, EdgeSet edges) const {
    return withTraits(*this, [tint, edges](detail::ListRowTraits& traits) {
        traits.separatorTint = tint;
        traits.tintEdges = edges;
    });
}

View View::listRowSeparator(Visibility visibility, EdgeSet edges) const {
    return withTraits(*this, [visibility, edges](detail::ListRowTraits& traits) {
        if (edges.contains(Edge::bottom)) traits.separatorHidden = visibility == Visibility::hidden;
    });
}

View View::scrollContentBackground(Visibility visibility) const {
    return environment(detail::ScrollContentBackgroundKey{}, visibility);
}

// Plain is the only style, and the one lists have without asking.
View View::listStyle(ListStyle) const {
    return *this;
}

} // namespace ui
