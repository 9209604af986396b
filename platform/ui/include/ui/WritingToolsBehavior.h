#pragma once

#include "ui/EnvironmentValues.h"

namespace ui {

// Whether hosted text editors offer the system's writing tools; recorded in the environment for
// the editors to read.
enum class WritingToolsBehavior { automatic, complete, limited, disabled };

struct WritingToolsBehaviorKey {
    using Value = WritingToolsBehavior;
    static Value defaultValue() { return WritingToolsBehavior::automatic; }
};

} // namespace ui
