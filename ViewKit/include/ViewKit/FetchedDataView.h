#pragma once

#include "ViewKit/MainActor.h"

#include "ui/View.h"
#include "ui/ViewConditional.h"
#include "ui/ViewContext.h"

#include <functional>
#include <optional>

namespace ViewKit {

// Shows data that is fetched elsewhere: the content built from the data once there is any
// (also while a refresh runs), else the loading view while a fetch runs, else the no-data
// view. The builder runs only with data; an empty collection is data.
template <class Data> struct FetchedDataView {
    std::optional<Data> data;
    bool isLoading = false;
    ui::View loadingView;
    ui::View noDataView;
    std::function<ui::View(const Data&)> content;

    ui::View body(ui::ViewContext&) const {
        detail::requireMainActor("FetchedDataView");
        const bool shown = data.has_value() || isLoading;
        const ui::View inner = shown ? ui::View(ui::ConditionalContent(data.has_value(),
                                                                       data ? content(*data) : ui::View(), loadingView))
                                     : ui::View();
        return ui::ConditionalContent(shown, inner, noDataView);
    }
};

} // namespace ViewKit
