// What the particle effect tests share: a card whose watched value a test bumps, stepping the
// manual clock, walking an element's ancestors and reading what a display list paints.
#pragma once

#include "Flair/AnyChangeEffect.h"
#include "Flair/ChangeEffect.h"
#include "foundation/UUID.h"
#include "ui/AnimatedAttribute.h"
#include "ui/DisplayList.h"
#include "ui/Element.h"
#include "ui/GraphicsContext.h"
#include "ui/RecordingGraphicsBackend.h"
#include "ui/State.h"
#include "ui/TestHost.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <QPainterPath>
#include <QRectF>
#include <QTransform>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace flairtest {

using ValueHandle = std::shared_ptr<std::optional<ui::State<int>>>;

// `content` under `effect`, watching a number the test changes.
struct Changing {
    ValueHandle value;
    ui::View content;
    Flair::AnyChangeEffect effect;
    ui::View body(ui::ViewContext& ctx) const {
        auto number = ctx.state<int>("value", 0);
        *value = number;
        return content | Flair::changeEffect(effect, *number, [](const int&) { return true; });
    }
};

struct Trigger {
    ValueHandle value = std::make_shared<std::optional<ui::State<int>>>();

    ui::View operator()(ui::View content, Flair::AnyChangeEffect effect) const {
        return Changing{value, std::move(content), std::move(effect)};
    }
    // A new value, and the update that counts it.
    void change(ui::TestHost& host) const {
        (*value)->set(***value + 1);
        host.update();
    }
};

// Frames of 1/60 s (the last one shorter) until `seconds` have passed.
inline void advance(ui::TestHost& host, double seconds) {
    while (seconds > 1e-9) {
        const double step = std::min(seconds, ui::TestHost::frameInterval);
        host.stepFrame(step);
        seconds -= step;
    }
}

inline bool isAncestor(const ui::Element* ancestor, const ui::Element* element) {
    for (const ui::Element* e = element ? element->parent() : nullptr; e; e = e->parent())
        if (e == ancestor) return true;
    return false;
}

// What one fill of a display list paints with, through the layers around it (shapes paint
// their strokes as filled outlines).
struct Painted {
    QPainterPath path; // in root coordinates
    QColor color;
    double opacity = 1;
    double blurRadius = 0;
    std::vector<ui::ColorFilter> filters;
};

inline void collectPainted(const ui::DisplayList& list, const QTransform& transform, Painted around,
                           std::vector<Painted>& out) {
    for (const auto& item : list.items()) {
        if (const auto* layer = std::get_if<ui::DisplayList::Layer>(&item)) {
            Painted inner = around;
            inner.opacity *= layer->style.opacity;
            inner.blurRadius = std::max(inner.blurRadius, double(layer->style.blurRadius));
            inner.filters.insert(inner.filters.end(), layer->style.colorFilters.begin(),
                                 layer->style.colorFilters.end());
            collectPainted(*layer->content, layer->style.transform * transform, inner, out);
        } else if (const auto* fill = std::get_if<ui::DisplayList::Fill>(&item)) {
            Painted p = around;
            p.path = transform.map(fill->path);
            p.color = fill->brush.color();
            out.push_back(p);
        }
    }
}

// The width of a stroked outline's left side, along the middle: where it stops covering.
inline double outlineWidth(const QPainterPath& stroked) {
    const QRectF bounds = stroked.boundingRect();
    double x = bounds.left();
    while (x < bounds.center().x() && stroked.contains(QPointF(x + 1e-4, bounds.center().y())))
        x += 1e-4;
    return x - bounds.left();
}

// What a custom view or modifier presents of its animatable data.
inline double presentedData(const ui::Element* element) {
    const auto* attribute = element->findSlot<ui::detail::AttributeAnimation>("\x1f"
                                                                              "animatableData");
    return attribute ? static_cast<const ui::detail::AnimatedAttribute<double>*>(attribute)->value() : -1;
}

// A canvas context that records, with `count` symbols of `size` tagged 0, 1, 2, ….
inline ui::GraphicsContext recordingContext(const std::shared_ptr<ui::RecordingGraphicsBackend>& backend,
                                            int count, graphics::CGSize size = {10, 10}) {
    return ui::GraphicsContext(backend, {},
                               [count, size](const foundation::AnyHashable& id)
                                   -> std::optional<ui::GraphicsContext::ResolvedSymbol> {
                                   const int* i = id.get<int>();
                                   if (!i || *i < 0 || *i >= count) return std::nullopt;
                                   ui::GraphicsContext::ResolvedSymbol symbol;
                                   symbol.size = size;
                                   symbol.content = std::make_shared<ui::DisplayList>();
                                   symbol.label = "symbol(" + std::to_string(*i) + ")";
                                   symbol.id = id;
                                   return symbol;
                               });
}

inline std::vector<ui::RecordingGraphicsBackend::Command> draws(const ui::RecordingGraphicsBackend& backend) {
    std::vector<ui::RecordingGraphicsBackend::Command> result;
    for (const auto& command : backend.commands())
        if (command.name == "draw") result.push_back(command);
    return result;
}

// Where a draw puts the centre of its drawable, in canvas coordinates.
inline QPointF drawnCentre(const ui::RecordingGraphicsBackend::Command& draw) {
    const QPointF centre(draw.numbers[0] + draw.numbers[2] / 2, draw.numbers[1] + draw.numbers[3] / 2);
    return draw.state.transform.toQTransform().map(centre);
}

// A fixed identifier, the same on every run.
inline foundation::UUID fixedID(std::uint8_t first) {
    return foundation::UUID(foundation::UUID::Bytes{first, 0x51, 0x7e, 0x2a, 0x90, 0x11, 0x4c, 0x3d, 0x8e,
                                                    0x05, 0xb7, 0x66, 0x21, 0xf4, 0x9a, 0x03});
}

inline std::vector<Painted> painted(const ui::TestHost& host) {
    std::vector<Painted> out;
    collectPainted(const_cast<ui::TestHost&>(host).graph().displayList(), QTransform(), {}, out);
    return out;
}

} // namespace flairtest
