#pragma once

namespace updater {

// Lets a program take part in how the standard user driver shows its dialogs. The driver holds
// it weakly; it asks nothing of it yet.
class UserDriverDelegate {
public:
    virtual ~UserDriverDelegate() = default;
};

} // namespace updater
