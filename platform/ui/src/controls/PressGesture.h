// The press that buttons and the other click-driven controls track.
#pragma once

#include "ui/Gesture.h"

#include <functional>
#include <memory>

namespace ui::detail {

// Pressing while the pointer is down inside the view; recognised when it is released inside,
// wherever it wandered in between. `pressing(false)` comes when the press ends in any way.
class PressGesture final : public Gesture {
public:
    PressGesture(std::function<void()> action, std::function<void(bool)> pressing = {})
        : action_(std::move(action))
        , pressing_(std::move(pressing)) {}

    const std::function<void()>& action() const { return action_; }
    const std::function<void(bool)>& pressing() const { return pressing_; }
    std::shared_ptr<const Gesture> clone() const override { return std::make_shared<PressGesture>(*this); }
    std::unique_ptr<GestureRecognizer>
    makeRecognizer(std::function<std::shared_ptr<const Gesture>()> current) const override;

private:
    std::function<void()> action_;
    std::function<void(bool)> pressing_;
};

} // namespace ui::detail
