#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace desktop {

enum class PasteboardType { string };

// The system clipboard. Main thread only.
class Pasteboard {
public:
    static Pasteboard& general();

    // Empties the clipboard; returns the new change count.
    std::int64_t clearContents();
    bool setString(const std::string& text, PasteboardType type = PasteboardType::string);
    std::optional<std::string> string(PasteboardType type = PasteboardType::string) const;
    // Grows with every change made through this pasteboard.
    std::int64_t changeCount() const { return changeCount_; }

private:
    Pasteboard() = default;
    std::int64_t changeCount_ = 0;
};

// Replaces the clipboard's contents with `text`.
void copyString(Pasteboard& pasteboard, const std::string& text);

} // namespace desktop
