#include "PressGesture.h"

namespace ui::detail {

namespace {

using Wish = GestureRecognizer::Wish;

class PressRecognizer final : public GestureRecognizer {
public:
    explicit PressRecognizer(std::function<std::shared_ptr<const Gesture>()> current)
        : current_(std::move(current)) {}

    Wish down(const GestureSample& s) override {
        setPressing(inside(s));
        return Wish::none;
    }
    Wish moved(const GestureSample& s) override {
        setPressing(inside(s));
        return Wish::none;
    }
    Wish up(const GestureSample& s) override { return inside(s) ? Wish::recognize : Wish::fail; }
    void perform(Wish wish) override {
        if (wish != Wish::recognize) return;
        if (auto gesture = gestureNow(); gesture && gesture->action()) gesture->action()();
    }
    void finished() override { setPressing(false); }

private:
    static bool inside(const GestureSample& s) {
        return s.location.x() >= 0 && s.location.y() >= 0 && s.location.x() <= s.size.width &&
               s.location.y() <= s.size.height;
    }
    std::shared_ptr<const PressGesture> gestureNow() const {
        return std::dynamic_pointer_cast<const PressGesture>(current_());
    }
    void setPressing(bool pressing) {
        if (pressing_ == pressing) return;
        pressing_ = pressing;
        if (auto gesture = gestureNow(); gesture && gesture->pressing()) gesture->pressing()(pressing);
    }

    std::function<std::shared_ptr<const Gesture>()> current_;
    bool pressing_ = false;
};

} // namespace

std::unique_ptr<GestureRecognizer>
PressGesture::makeRecognizer(std::function<std::shared_ptr<const Gesture>()> current) const {
    return std::make_unique<PressRecognizer>(std::move(current));
}

} // namespace ui::detail
