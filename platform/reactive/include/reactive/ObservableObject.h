#pragma once

#include "reactive/ObservableObjectPublisher.h"

namespace reactive {

// Base of objects whose changes views follow: objectWillChange() emits before each change.
// Published properties send it for their owner; other changes may send it themselves.
class ObservableObject {
public:
    virtual ~ObservableObject() = default;

    const ObservableObjectPublisher& objectWillChange() const { return objectWillChange_; }

protected:
    ObservableObject() = default;
    // A copy is a new object: it has its own publisher and none of the original's observers.
    ObservableObject(const ObservableObject&) {}
    ObservableObject& operator=(const ObservableObject&) { return *this; }

private:
    ObservableObjectPublisher objectWillChange_;
};

} // namespace reactive
