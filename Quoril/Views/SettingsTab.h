#pragma once

namespace quoril {

// The settings window's tabs.
enum class SettingsTab { general, appearance, updates };

} // namespace quoril
