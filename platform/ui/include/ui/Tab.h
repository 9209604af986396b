#pragma once

#include "foundation/AnyHashable.h"
#include "ui/Text.h"
#include "ui/View.h"

#include <string>

namespace ui {

// One tab of a TabView: its title and system image in the tab bar, the selection value that
// shows it, and its content, built only while it is shown.
struct Tab {
    template <class V>
    Tab(Text title, std::string systemImage, V value, View content)
        : title(std::move(title))
        , systemImage(std::move(systemImage))
        , value(hashable(std::move(value)))
        , content(std::move(content)) {}

    Text title;
    std::string systemImage;
    foundation::AnyHashable value;
    View content;

private:
    template <class V> static foundation::AnyHashable hashable(V value) {
        if constexpr (std::is_convertible_v<V, std::string_view>)
            return foundation::AnyHashable(std::string(std::string_view(value)));
        else
            return foundation::AnyHashable(std::move(value));
    }
};

} // namespace ui
