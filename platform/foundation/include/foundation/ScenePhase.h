#pragma once

namespace foundation {

// Where a program's scene stands: in front and taking input, shown but not taking input, or
// out of sight (which may precede quitting).
enum class ScenePhase { active, inactive, background };

} // namespace foundation
