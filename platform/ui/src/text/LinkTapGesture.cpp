#include "LinkTapGesture.h"

namespace ui::detail {

namespace {

class LinkTapRecognizer final : public GestureRecognizer {
public:
    explicit LinkTapRecognizer(std::function<std::shared_ptr<const Gesture>()> current)
        : current_(std::move(current)) {}

    Wish down(const GestureSample& s) override {
        pressed_ = linkAt(s);
        return pressed_ ? Wish::none : Wish::fail;
    }
    Wish moved(const GestureSample&) override { return Wish::none; }
    Wish up(const GestureSample& s) override { return linkAt(s) == pressed_ ? Wish::recognize : Wish::fail; }
    void perform(Wish wish) override {
        if (wish != Wish::recognize || !pressed_) return;
        if (auto gesture = std::dynamic_pointer_cast<const LinkTapGesture>(current_())) gesture->open(*pressed_);
    }

private:
    std::optional<foundation::URL> linkAt(const GestureSample& s) const {
        auto gesture = std::dynamic_pointer_cast<const LinkTapGesture>(current_());
        return gesture ? gesture->link(s.location, s.size) : std::nullopt;
    }

    std::function<std::shared_ptr<const Gesture>()> current_;
    std::optional<foundation::URL> pressed_;
};

} // namespace

std::unique_ptr<GestureRecognizer>
LinkTapGesture::makeRecognizer(std::function<std::shared_ptr<const Gesture>()> current) const {
    return std::make_unique<LinkTapRecognizer>(std::move(current));
}

} // namespace ui::detail
