#pragma once

#include <cstdint>

namespace ui {

// A hosted widget that counts the changes of how it looks. While it is painted rather than
// live, what it painted is kept and drawn again as long as the count, its size and the scale
// it is drawn at stay the same and it holds no focus (a caret blinks), so that a list of
// editors does not render every one of them at every frame.
class HostedPaintRevision {
public:
    // Grows at every change that may show: text, selection, colours, fonts, size, state.
    virtual std::uint64_t paintRevision() const = 0;

protected:
    ~HostedPaintRevision() = default;
};

} // namespace ui
