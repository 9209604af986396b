#pragma once

namespace updater {

// Lets a program take part in the updater's work. The updater holds it weakly; it asks nothing
// of it yet.
class UpdaterDelegate {
public:
    virtual ~UpdaterDelegate() = default;
};

} // namespace updater
