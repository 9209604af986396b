#include "ui/VisualEffect.h"

namespace ui {

namespace {
VisualEffect::Step step(VisualEffect::Step::Kind kind) {
    VisualEffect::Step made;
    made.kind = kind;
    return made;
}
} // namespace

VisualEffect VisualEffect::adding(Step step) const {
    VisualEffect result = *this;
    result.steps_.push_back(std::move(step));
    return result;
}

VisualEffect VisualEffect::colorEffect(Shader shader, bool isEnabled) const {
    Step added = step(Step::Kind::shader);
    added.shader = ShaderEffect{std::move(shader), ShaderEffect::Kind::color, {}, isEnabled};
    return adding(std::move(added));
}

VisualEffect VisualEffect::layerEffect(Shader shader, graphics::CGSize maxSampleOffset,
                                       bool isEnabled) const {
    Step added = step(Step::Kind::shader);
    added.shader = ShaderEffect{std::move(shader), ShaderEffect::Kind::layer, maxSampleOffset, isEnabled};
    return adding(std::move(added));
}

VisualEffect VisualEffect::opacity(double opacity) const {
    Step added = step(Step::Kind::opacity);
    added.amount = opacity;
    return adding(std::move(added));
}

VisualEffect VisualEffect::blur(double radius, bool opaque) const {
    Step added = step(Step::Kind::blur);
    added.amount = radius;
    added.opaque = opaque;
    return adding(std::move(added));
}

VisualEffect VisualEffect::offset(graphics::CGSize offset) const {
    Step added = step(Step::Kind::offset);
    added.offset = offset;
    return adding(std::move(added));
}

AnimatableVector VisualEffect::animatableData() const {
    std::vector<double> values;
    for (const auto& step : steps_) {
        switch (step.kind) {
        case Step::Kind::shader: {
            const auto data = step.shader.animatableData();
            values.insert(values.end(), data.values().begin(), data.values().end());
            break;
        }
        case Step::Kind::opacity:
        case Step::Kind::blur:
            values.push_back(step.amount);
            break;
        case Step::Kind::offset:
            values.push_back(step.offset.width);
            values.push_back(step.offset.height);
            break;
        }
    }
    return AnimatableVector(std::move(values));
}

void VisualEffect::setAnimatableData(const AnimatableVector& data) {
    std::size_t next = 0;
    auto take = [&](double current) { return next < data.size() ? data.values()[next++] : current; };
    for (auto& step : steps_) {
        switch (step.kind) {
        case Step::Kind::shader: {
            const std::size_t count = step.shader.animatableData().size();
            std::vector<double> own;
            for (std::size_t i = 0; i < count && next < data.size(); ++i)
                own.push_back(data.values()[next++]);
            step.shader.setAnimatableData(AnimatableVector(std::move(own)));
            break;
        }
        case Step::Kind::opacity:
        case Step::Kind::blur:
            step.amount = take(step.amount);
            break;
        case Step::Kind::offset:
            step.offset.width = take(step.offset.width);
            step.offset.height = take(step.offset.height);
            break;
        }
    }
}

} // namespace ui
