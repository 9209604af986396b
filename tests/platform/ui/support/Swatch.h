// A representable for tests: a widget that paints one colour, with counters of what the layer
// did to it.
#pragma once

#include "ui/Representable.h"

#include <QColor>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace uitest {

class SwatchWidget : public QWidget {
public:
    QColor color = Qt::green;
    std::function<void()> onPress;
    bool pressHandled = false;

    SwatchWidget() { setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed); }
    QSize sizeHint() const override { return {40, 20}; }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), color); }
    void mousePressEvent(QMouseEvent*) override {
        if (onPress) onPress();
        pressHandled = true; // the widget must still be whole here
    }
};

struct SwatchProbe {
    int coordinators = 0;
    int made = 0;
    int updates = 0;
    int dismantled = 0;
    const void* lastCoordinator = nullptr;
};

struct SwatchCoordinator {
    std::shared_ptr<SwatchProbe> probe;
};

struct Swatch {
    using WidgetType = SwatchWidget;
    using Context = ui::RepresentableContext<Swatch>;

    QColor color = Qt::green;
    std::shared_ptr<SwatchProbe> probe = std::make_shared<SwatchProbe>();
    bool live = true;
    std::optional<graphics::CGSize> size;            // the representable's own answer
    QSizePolicy::Policy policy = QSizePolicy::Fixed; // both axes

    std::shared_ptr<SwatchCoordinator> makeCoordinator() const {
        ++probe->coordinators;
        return std::make_shared<SwatchCoordinator>(SwatchCoordinator{probe});
    }
    std::unique_ptr<SwatchWidget> makeWidget(const Context& context) const {
        ++probe->made;
        probe->lastCoordinator = context.coordinator.get();
        return std::make_unique<SwatchWidget>();
    }
    void updateWidget(SwatchWidget& widget, const Context& context) const {
        ++probe->updates;
        probe->lastCoordinator = context.coordinator.get();
        widget.color = color;
        widget.setSizePolicy(policy, policy);
    }
    static void dismantleWidget(SwatchWidget&, SwatchCoordinator& coordinator) {
        ++coordinator.probe->dismantled;
    }
    bool showsLive(const SwatchWidget&, const Context&) const { return live; }
    std::optional<graphics::CGSize> sizeThatFits(const ui::ProposedViewSize&, SwatchWidget&,
                                                 const Context&) const {
        return size;
    }
};

} // namespace uitest
