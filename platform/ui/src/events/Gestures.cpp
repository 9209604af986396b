#include "ui/Gesture.h"

#include <cmath>

namespace ui {

namespace {

using Wish = detail::GestureRecognizer::Wish;

double distance(QPointF a, QPointF b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

template <class G>
std::shared_ptr<const G> currentAs(const std::function<std::shared_ptr<const Gesture>()>& current) {
    return std::dynamic_pointer_cast<const G>(current());
}

class TapRecognizer final : public detail::GestureRecognizer {
public:
    explicit TapRecognizer(std::function<std::shared_ptr<const Gesture>()> current)
        : current_(std::move(current)) {}
    Wish down(const detail::GestureSample& s) override {
        start_ = s.location;
        clickCount_ = s.clickCount;
        return Wish::none;
    }
    Wish moved(const detail::GestureSample& s) override {
        return distance(s.location, start_) > TapGesture::maximumDistance ? Wish::fail : Wish::none;
    }
    Wish up(const detail::GestureSample& s) override {
        if (distance(s.location, start_) > TapGesture::maximumDistance) return Wish::fail;
        auto gesture = currentAs<TapGesture>(current_);
        if (!gesture) return Wish::fail;
        return clickCount_ % gesture->count() == 0 ? Wish::recognize : Wish::fail;
    }
    void perform(Wish wish) override {
        auto gesture = currentAs<TapGesture>(current_);
        if (wish == Wish::recognize && gesture && gesture->ended()) gesture->ended()();
    }

private:
    std::function<std::shared_ptr<const Gesture>()> current_;
    QPointF start_;
    int clickCount_ = 1;
};

class LongPressRecognizer final : public detail::GestureRecognizer {
public:
    LongPressRecognizer(std::function<std::shared_ptr<const Gesture>()> current, double duration,
                        CGFloat maximumDistance)
        : current_(std::move(current))
        , duration_(duration)
        , maximumDistance_(maximumDistance) {}
    Wish down(const detail::GestureSample& s) override {
        start_ = s.location;
        return duration_ <= 0 ? Wish::recognize : Wish::none;
    }
    Wish moved(const detail::GestureSample& s) override {
        return distance(s.location, start_) > maximumDistance_ ? Wish::fail : Wish::none;
    }
    Wish up(const detail::GestureSample&) override { return Wish::fail; }
    std::optional<double> timeout() const override {
        if (duration_ <= 0) return std::nullopt;
        return duration_;
    }
    Wish timerFired() override { return Wish::recognize; }
    void perform(Wish wish) override {
        auto gesture = currentAs<LongPressGesture>(current_);
        if (wish == Wish::recognize && gesture && gesture->ended()) gesture->ended()();
    }
    void started() override { setPressing(true); }
    void finished() override { setPressing(false); }

private:
    void setPressing(bool pressing) {
        if (pressing_ == pressing) return;
        pressing_ = pressing;
        auto gesture = currentAs<LongPressGesture>(current_);
        if (gesture && gesture->changed()) gesture->changed()(pressing);
    }

    std::function<std::shared_ptr<const Gesture>()> current_;
    double duration_;
    CGFloat maximumDistance_;
    QPointF start_;
    bool pressing_ = false;
};

class DragRecognizer final : public detail::GestureRecognizer {
public:
    DragRecognizer(std::function<std::shared_ptr<const Gesture>()> current, CGFloat minimumDistance)
        : current_(std::move(current))
        , minimumDistance_(minimumDistance) {}
    Wish down(const detail::GestureSample& s) override {
        start_ = s.location;
        return track(s);
    }
    Wish moved(const detail::GestureSample& s) override { return track(s); }
    Wish up(const detail::GestureSample& s) override {
        if (!active_) return Wish::fail;
        note(s);
        return Wish::recognize;
    }
    void perform(Wish wish) override {
        auto gesture = currentAs<DragGesture>(current_);
        if (!gesture) return;
        if (wish == Wish::begin) active_ = true;
        if (wish == Wish::recognize) active_ = false;
        const auto& action = wish == Wish::recognize ? gesture->ended() : gesture->changed();
        if (action) action(value_);
    }
    void finished() override {
        // Still active here: the drag began and never saw its release.
        if (!active_) return;
        active_ = false;
        if (auto gesture = currentAs<DragGesture>(current_); gesture && gesture->cancelled()) gesture->cancelled()();
    }

private:
    Wish track(const detail::GestureSample& s) {
        note(s);
        if (active_) return Wish::change;
        return distance(s.location, start_) >= minimumDistance_ ? Wish::begin : Wish::none;
    }
    void note(const detail::GestureSample& s) {
        value_.startLocation = {start_.x(), start_.y()};
        value_.location = {s.location.x(), s.location.y()};
        value_.translation = {s.location.x() - start_.x(), s.location.y() - start_.y()};
        value_.time = s.time;
    }

    std::function<std::shared_ptr<const Gesture>()> current_;
    CGFloat minimumDistance_;
    QPointF start_;
    DragGesture::Value value_;
    bool active_ = false;
};

} // namespace

TapGesture TapGesture::onEnded(std::function<void()> action) const {
    TapGesture copy = *this;
    copy.ended_ = std::move(action);
    return copy;
}

std::unique_ptr<detail::GestureRecognizer>
TapGesture::makeRecognizer(std::function<std::shared_ptr<const Gesture>()> current) const {
    return std::make_unique<TapRecognizer>(std::move(current));
}

LongPressGesture LongPressGesture::onEnded(std::function<void()> action) const {
    LongPressGesture copy = *this;
    copy.ended_ = std::move(action);
    return copy;
}

LongPressGesture LongPressGesture::onChanged(std::function<void(bool)> pressing) const {
    LongPressGesture copy = *this;
    copy.changed_ = std::move(pressing);
    return copy;
}

std::unique_ptr<detail::GestureRecognizer>
LongPressGesture::makeRecognizer(std::function<std::shared_ptr<const Gesture>()> current) const {
    return std::make_unique<LongPressRecognizer>(std::move(current), minimumDuration_, maximumDistance_);
}

DragGesture DragGesture::onChanged(std::function<void(const Value&)> action) const {
    DragGesture copy = *this;
    copy.changed_ = std::move(action);
    return copy;
}

DragGesture DragGesture::onEnded(std::function<void(const Value&)> action) const {
    DragGesture copy = *this;
    copy.ended_ = std::move(action);
    return copy;
}

DragGesture DragGesture::onCancelled(std::function<void()> action) const {
    DragGesture copy = *this;
    copy.cancelled_ = std::move(action);
    return copy;
}

std::unique_ptr<detail::GestureRecognizer>
DragGesture::makeRecognizer(std::function<std::shared_ptr<const Gesture>()> current) const {
    return std::make_unique<DragRecognizer>(std::move(current), minimumDistance_);
}

} // namespace ui
