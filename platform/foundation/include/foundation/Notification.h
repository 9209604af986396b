#pragma once

#include "foundation/Any.h"

#include <map>
#include <memory>
#include <string>

namespace foundation {

using NotificationName = std::string;
using UserInfo = std::map<std::string, Any>;

// What a NotificationCenter delivers. The object is compared by identity, never by value.
struct Notification {
    NotificationName name;
    std::shared_ptr<const void> object;
    UserInfo userInfo;

    friend bool operator==(const Notification& a, const Notification& b) {
        return a.name == b.name && a.object.get() == b.object.get() && a.userInfo == b.userInfo;
    }
};

} // namespace foundation
