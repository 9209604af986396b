// A card under a repeating effect, drawn every 0.1 s over 1.5 s, one frame per row; the strip is
// written to the temporary folder (quoril-flair-repeat-strip.png) for looking at.
#include "EffectProbe.h"

#include "Flair/AnyConditionalEffect.h"
#include "Flair/ConditionalEffect.h"
#include "foundation/RunLoop.h"
#include "ui/RoundedRectangle.h"
#include "ui/Stack.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFont>
#include <QImage>
#include <QPainter>

#include <memory>

using namespace flairtest;

TEST(RepeatingEffectStripTest, StripForTheEye) {
    constexpr int frames = 16, labelWidth = 50;
    constexpr double frameWidth = 140, frameHeight = 44;
    auto probe = std::make_shared<Probe>();
    const auto effect =
        Flair::AnyConditionalEffect::repeat(countingEffect(probe, ui::Animation::linear(0.3)), 0.5);
    const ui::View outline = ui::RoundedRectangle(5).stroke(ui::Color(0.6, 0.6, 0.6), 1).frame(60, 30);
    const ui::View moving = ui::RoundedRectangle(5).fill(ui::Color(0.1, 0.25, 0.95)).frame(60, 30) |
                            Flair::conditionalEffect(effect, true);
    ui::TestHost host(ui::ZStack(ui::Alignment::leading, {outline, moving})
                          .padding(7)
                          .frame(frameWidth, frameHeight, ui::Alignment::leading),
                      {frameWidth, frameHeight});
    host.update();

    QImage strip(labelWidth + int(frameWidth), frames * int(frameHeight), QImage::Format_ARGB32);
    strip.fill(Qt::white);
    QPainter painter(&strip);
    painter.setFont(QFont("DejaVu Sans", 8));
    for (int frame = 0; frame < frames; ++frame) {
        if (frame > 0) host.stepFrames(6); // 0.1 s at the display's pace
        const int top = frame * int(frameHeight);
        painter.drawImage(labelWidth, top, host.render());
        painter.drawText(QRectF(4, top, labelWidth - 8, frameHeight), Qt::AlignVCenter | Qt::AlignRight,
                         QString::number(frame / 10.0, 'f', 1) + " s");
        painter.setPen(QColor(225, 225, 225));
        painter.drawLine(0, top, strip.width(), top);
        painter.setPen(Qt::black);
    }
    painter.end();
    EXPECT_GE(probe->shownCount, 3) << "ticks at 0, 0.5 and 1 s (and about 1.5 s)";
    EXPECT_TRUE(strip.save(QDir::temp().filePath("quoril-flair-repeat-strip.png")));

    host.setRoot(ui::View());
    host.update();
    foundation::RunLoop::main().advance(1);
}
