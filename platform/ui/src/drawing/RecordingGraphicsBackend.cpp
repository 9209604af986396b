#include "ui/RecordingGraphicsBackend.h"

#include <QString>

#include <cmath>

namespace ui {

std::string RecordingGraphicsBackend::Command::description() const {
    std::string text = name;
    for (double v : numbers)
        text += ' ' + QString::number(std::abs(v) < 1e-9 ? 0.0 : v, 'g', 6).toStdString();
    if (!subject.empty()) text += ' ' + subject;
    const std::string rest = state.description();
    if (!rest.empty()) text += " | " + rest;
    return text;
}

RecordingGraphicsBackend::RecordingGraphicsBackend()
    : commands_(std::make_shared<std::vector<Command>>()) {}

RecordingGraphicsBackend::RecordingGraphicsBackend(std::shared_ptr<std::vector<Command>> commands)
    : commands_(std::move(commands)) {}

std::vector<std::string> RecordingGraphicsBackend::descriptions() const {
    std::vector<std::string> result;
    for (const auto& c : *commands_)
        result.push_back(c.description());
    return result;
}

void RecordingGraphicsBackend::fill(const Path& path, const GraphicsContext::Shading& shading, FillStyle,
                                    const State& state) {
    const auto b = path.boundingRect();
    commands_->push_back({"fill", {b.origin.x, b.origin.y, b.size.width, b.size.height}, shading.description(), state});
}

void RecordingGraphicsBackend::stroke(const Path& path, const GraphicsContext::Shading& shading,
                                      const StrokeStyle& style, const State& state) {
    const auto b = path.boundingRect();
    commands_->push_back({"stroke",
                          {b.origin.x, b.origin.y, b.size.width, b.size.height, style.lineWidth},
                          shading.description(),
                          state});
}

void RecordingGraphicsBackend::draw(const GraphicsContext::Drawable& drawable,
                                    const graphics::CGAffineTransform& placement, const State& state) {
    const QRectF target =
        placement.toQTransform().mapRect(QRectF(0, 0, drawable.size.width, drawable.size.height));
    commands_->push_back({"draw", {target.x(), target.y(), target.width(), target.height()}, drawable.label, state});
}

std::shared_ptr<GraphicsContextBackend> RecordingGraphicsBackend::beginLayer(const State& state) {
    commands_->push_back({"beginLayer", {}, {}, state});
    return std::shared_ptr<RecordingGraphicsBackend>(new RecordingGraphicsBackend(commands_));
}

void RecordingGraphicsBackend::endLayer(GraphicsContextBackend&, const State&) {
    commands_->push_back({"endLayer", {}, {}, {}});
}

} // namespace ui
