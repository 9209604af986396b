#include "ui/ContentUnavailableView.h"

#include "ControlLook.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/Stack.h"
#include "ui/ViewContext.h"

namespace ui {

namespace {

bool isEmpty(const View& view) {
    return view.enumerateChildren().empty();
}

// A Label here stands its icon large above its title.
View largeLabel(const View& label) {
    if (const auto* model = detail::labelModel(label)) {
        return VStack(HorizontalAlignment::center, 10,
                      {model->icon.font(Font::system(40)).foregroundStyle(detail::systemColor("secondaryLabelColor")),
                       View(model->title).font(Font::title2()).fontWeight(Font::Weight::bold)});
    }
    return label.font(Font::title2()).fontWeight(Font::Weight::bold);
}

struct ContentUnavailableBody {
    View label;
    View description;
    View actions;

    View body(ViewContext&) const {
        std::vector<View> parts;
        if (!isEmpty(label)) parts.push_back(largeLabel(label));
        if (!isEmpty(description))
            parts.push_back(description.foregroundStyle(detail::systemColor("secondaryLabelColor"))
                                .multilineTextAlignment(TextAlignment::center));
        if (!isEmpty(actions)) parts.push_back(actions.padding(EdgeSet::top, 4));
        return VStack(HorizontalAlignment::center, 8, std::move(parts))
            .padding(20)
            .frame(FlexibleFrame{.maxWidth = std::numeric_limits<CGFloat>::infinity(),
                                 .maxHeight = std::numeric_limits<CGFloat>::infinity()});
    }
};

} // namespace

ContentUnavailableView::ContentUnavailableView(View label, View description, View actions)
    : View(ContentUnavailableBody{std::move(label), std::move(description), std::move(actions)}) {}

ContentUnavailableView::ContentUnavailableView(Text title, std::string systemImage, View description)
    : ContentUnavailableView(Label(std::move(title), std::move(systemImage)), std::move(description)) {}

} // namespace ui
