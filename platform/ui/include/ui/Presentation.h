#pragma once

#include "ui/Alert.h"
#include "ui/EnvironmentValues.h"
#include "ui/View.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace ui {

// One alert, sheet or full-screen cover that a view asks its host to show. The view that
// presents it hands it up the tree as a preference while its binding is true; the host draws
// what reaches the root (ui/PresentationHost.h).
struct Presentation {
    enum class Kind { alert, sheet, fullScreenCover };

    Kind kind = Kind::alert;
    // Stable for as long as the presenting view.
    std::uint64_t id = 0;
    std::shared_ptr<const Alert> alert;   // alerts
    View content;                         // sheets and covers
    // The presenting view's environment, which the content is shown in.
    std::shared_ptr<const EnvironmentValues> environment;
    // Closes it: writes false through the presenting binding (which runs onDismiss).
    std::function<void()> dismiss;

    // Descriptions compare by identity: a presentation changes only when its view was rebuilt.
    bool operator==(const Presentation& other) const {
        return kind == other.kind && id == other.id && alert == other.alert &&
               content.node() == other.content.node() && environment == other.environment;
    }
};

// The presentations of a subtree, in tree order (later ones drawn on top).
struct PresentationsKey {
    using Value = std::vector<Presentation>;
    static Value defaultValue() { return {}; }
    static void reduce(Value& value, const std::function<Value()>& next) {
        auto more = next();
        value.insert(value.end(), more.begin(), more.end());
    }
};

} // namespace ui
