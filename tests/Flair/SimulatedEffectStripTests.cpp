// The simulated and continuous effects on a card, one row per effect, at 0, 0.05, 0.1, 0.2, 0.4
// and 0.8 s after a change (or after the condition was set or cleared); the strip is written to
// the temporary folder (quoril-flair-simulated-strip.png) for looking at.
#include "EffectProbe.h"

#include "Flair/AnyChangeEffect.h"
#include "Flair/AnyConditionalEffect.h"
#include "Flair/ChangeEffect.h"
#include "Flair/ConditionalEffect.h"
#include "ui/RoundedRectangle.h"
#include "ui/Stack.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFont>
#include <QImage>
#include <QPainter>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace flairtest;

namespace {

constexpr double cellWidth = 150, cellHeight = 120;
constexpr int labelWidth = 110;
const double times[] = {0, 0.05, 0.1, 0.2, 0.4, 0.8};

ui::View stripCard() {
    return ui::ZStack(ui::Alignment::top,
                      {ui::RoundedRectangle(6).fill(ui::Color(0.1, 0.25, 0.95)),
                       ui::View(ui::Color(1, 0.8, 0)).frame(44, 6).padding(ui::EdgeSet::top, 5)})
        .overlay(
            ui::Text("F").font(ui::Font::custom("DejaVu Sans", 20).bold()).foregroundColor(QColor(Qt::white)))
        .frame(60, 40);
}

ui::View cell(ui::View content) {
    const ui::View outline = ui::RoundedRectangle(6).stroke(ui::Color(0.6, 0.6, 0.6), 1).frame(60, 40);
    return ui::ZStack({outline, content}).padding(ui::EdgeSet::top, 30).frame(cellWidth, cellHeight);
}

struct ChangeRow {
    ProbePtr probe;
    Flair::AnyChangeEffect effect;
    ui::View body(ui::ViewContext& ctx) const {
        probe->value = ctx.state<int>("value", 0);
        return cell(stripCard() |
                    Flair::changeEffect(effect, probe->value->value(), [](const int&) { return true; }));
    }
};

struct ConditionRow {
    ProbePtr probe;
    Flair::AnyConditionalEffect effect;
    bool initially = false;
    ui::View body(ui::ViewContext& ctx) const {
        probe->condition = ctx.state<bool>("condition", initially);
        return cell(stripCard() | Flair::conditionalEffect(effect, probe->condition->value()));
    }
};

struct Row {
    std::string label;
    ui::View view;
    std::function<void()> start;
};

} // namespace

TEST(SimulatedEffectStripTest, StripForTheEye) {
    using Change = Flair::AnyChangeEffect;
    using Condition = Flair::AnyConditionalEffect;
    std::vector<Row> rows;
    const auto change = [&](std::string label, Change effect) {
        auto probe = std::make_shared<Probe>();
        rows.push_back({std::move(label), ui::View(ChangeRow{probe, std::move(effect)}),
                        [probe] { probe->value->set(1); }});
    };
    const auto condition = [&](std::string label, Condition effect, bool on) {
        auto probe = std::make_shared<Probe>();
        rows.push_back({std::move(label), ui::View(ConditionRow{probe, std::move(effect), !on}),
                        [probe, on] { probe->condition->set(on); }});
    };
    change("shake", Change::shake());
    change("wiggle", Change::wiggle());
    change("glow (pulse)", Change::glow());
    change("jump 24", Change::jump(24));
    change("spin", Change::spin());
    condition("glow on", Condition::glow(ui::Color(1, 0.45, 0), 16), true);
    condition("glow off", Condition::glow(ui::Color(1, 0.45, 0), 16), false);
    condition("press on", Condition::pressDown(), true);
    condition("press off", Condition::pressDown(), false);

    const int columns = int(std::size(times));
    QImage strip(labelWidth + columns * int(cellWidth), 20 + int(rows.size()) * int(cellHeight),
                 QImage::Format_ARGB32);
    strip.fill(Qt::white);
    QPainter painter(&strip);
    painter.setFont(QFont("DejaVu Sans", 9));
    for (int c = 0; c < columns; ++c)
        painter.drawText(QRectF(labelWidth + c * cellWidth, 0, cellWidth, 20), Qt::AlignCenter,
                         QString::number(times[c], 'g', 3) + " s");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        ui::TestHost host(rows[r].view, {cellWidth, cellHeight});
        host.stepFrames(60); // settled in its starting state
        rows[r].start();
        host.update();
        const int top = 20 + int(r) * int(cellHeight);
        double elapsed = 0;
        for (int c = 0; c < columns; ++c) {
            for (; elapsed < times[c] - 1e-9; elapsed += ui::TestHost::frameInterval)
                host.stepFrame();
            painter.drawImage(labelWidth + c * int(cellWidth), top, host.render());
        }
        painter.drawText(QRectF(4, top, labelWidth - 8, cellHeight), Qt::AlignVCenter | Qt::AlignRight,
                         QString::fromStdString(rows[r].label));
        painter.setPen(QColor(225, 225, 225));
        painter.drawLine(0, top, strip.width(), top);
        painter.setPen(Qt::black);
    }
    painter.end();
    EXPECT_TRUE(strip.save(QDir::temp().filePath("quoril-flair-simulated-strip.png")));
}
