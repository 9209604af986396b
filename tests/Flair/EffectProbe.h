// A small change effect for tests, and what it reports about itself: its modifier moves the
// content 12 pt right per count, shows the count and keeps a number of its own.
#pragma once

#include "Flair/AnyChangeEffect.h"
#include "Flair/IsConditionalEffectKey.h"
#include "ui/Animation.h"
#include "ui/Color.h"
#include "ui/Font.h"
#include "ui/Rectangle.h"
#include "ui/ShapeView.h"
#include "ui/State.h"
#include "ui/TestHost.h"
#include "ui/Text.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <QColor>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace flairtest {

struct Probe {
    std::int64_t shownCount = -1;                    // the count the effect's modifier was last built for
    std::optional<ui::State<int>> own;               // the effect's own state
    std::optional<ui::State<int>> value;             // the watched value, where a test view keeps one
    std::optional<ui::State<bool>> condition;        // the condition, where a test view keeps one
    std::optional<ui::State<double>> interval;       // the repeat interval, where a test view keeps one
    std::map<std::string, bool> isConditionalEffect; // as read by the views of that name
};
using ProbePtr = std::shared_ptr<Probe>;

// Reads IsConditionalEffectKey into the probe under its name.
struct FlagReader {
    ProbePtr probe;
    std::string name;
    ui::View body(ui::ViewContext& ctx) const {
        probe->isConditionalEffect[name] = ctx.environment<Flair::IsConditionalEffectKey>();
        return ui::View();
    }
};

struct CountingModifier {
    std::int64_t count = 0;
    ProbePtr probe;
    ui::View body(ui::ViewContext& ctx, ui::View content) const {
        probe->own = ctx.state<int>("own", 0);
        probe->shownCount = count;
        const ui::View label = ui::Text("count " + std::to_string(count))
                                   .font(ui::Font::custom("DejaVu Sans", 10))
                                   .foregroundColor(QColor(Qt::white));
        return content.overlay(label).offset(12.0 * count, 0).overlay(ui::View(FlagReader{probe, "effect"}));
    }
};

inline Flair::AnyChangeEffect countingEffect(const ProbePtr& probe, std::optional<ui::Animation> animation,
                                             double cooldown = 0) {
    return Flair::AnyChangeEffect(
        [probe](std::int64_t count) {
            return CountingModifier{count, probe};
        },
        std::move(animation), cooldown);
}

// A 40 × 20 card, found by the id "card".
inline ui::View card() {
    return ui::Rectangle().fill(ui::Color(0.1, 0.25, 0.95)).frame(40, 20).id("card");
}

// Where the card shows, mid-animation included.
inline graphics::CGPoint cardOrigin(const ui::TestHost& host) {
    return ui::TestHost::frame(host.find("card")).origin;
}

} // namespace flairtest
