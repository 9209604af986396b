#include "ui/SymbolImage.h"

#include "ui/Font.h"
#include "ui/FontContext.h"
#include "ui/TextLayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

namespace {

// Every system symbol the program and its libraries show.
const std::vector<std::string> usedNames{
    "arrow.trianglehead.2.clockwise.rotate.90",
    "checkmark",
    "checkmark.circle",
    "checkmark.circle.fill",
    "chevron.right",
    "circle.dotted",
    "clipboard",
    "doc.on.doc",
    "envelope",
    "flame",
    "gear",
    "paintbrush.pointed",
    "pencil",
    "phone",
    "plus",
    "safari",
    "square.and.arrow.up",
    "star.circle",
    "star.circle.fill",
    "trash",
    "xmark",
    "xmark.circle",
};

const QRect box(8, 8, 48, 48);

QImage render(const ui::SymbolImage& symbol, int weight = QFont::Normal) {
    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    symbol.draw(painter, box, Qt::black, weight);
    return image;
}

// Coverage in whole pixels, and how much of it falls outside the box.
struct Ink {
    double inside = 0;
    double outside = 0;
};

Ink ink(const QImage& image) {
    Ink result;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            (box.contains(x, y) ? result.inside : result.outside) += qAlpha(image.pixel(x, y)) / 255.0;
    return result;
}

TEST(SymbolImageTest, EveryUsedNameDrawsInsideItsBox) {
    for (const auto& name : usedNames) {
        SCOPED_TRACE(name);
        const ui::SymbolImage symbol(name);
        ASSERT_FALSE(symbol.isEmpty());
        const auto drawn = ink(render(symbol));
        EXPECT_GT(drawn.inside, 0.04 * box.width() * box.height());
        EXPECT_EQ(drawn.outside, 0);
    }
}

TEST(SymbolImageTest, FillVariantIsTheFilledSymbolWhereThereIsOne) {
    for (const char* name : {"flame", "checkmark.circle", "star.circle", "xmark.circle", "trash", "envelope",
                             "doc.on.doc", "clipboard", "phone", "safari", "gear"}) {
        SCOPED_TRACE(name);
        const ui::SymbolImage outline(name);
        const ui::SymbolImage filled(name, ui::SymbolVariant::fill);
        EXPECT_EQ(filled.resolvedName(), std::string(name) + ".fill");
        EXPECT_GT(ink(render(filled)).inside, ink(render(outline)).inside * 1.3);
    }
    // Line symbols have no filled form and draw as they are.
    for (const char* name : {"plus", "checkmark", "xmark", "chevron.right"}) {
        SCOPED_TRACE(name);
        const ui::SymbolImage filled(name, ui::SymbolVariant::fill);
        EXPECT_EQ(filled.resolvedName(), name);
        EXPECT_EQ(render(filled), render(ui::SymbolImage(name)));
    }
    // A filled name stays filled.
    EXPECT_EQ(ui::SymbolImage("star.circle.fill", ui::SymbolVariant::fill).resolvedName(),
              "star.circle.fill");
    EXPECT_EQ(ui::SymbolImage("star.circle.fill").resolvedName(), "star.circle.fill");
}

TEST(SymbolImageTest, HeavierWeightsDrawThickerLines) {
    const ui::SymbolImage symbol("xmark.circle");
    double previous = 0;
    for (int weight = 100; weight <= 900; weight += 100) {
        SCOPED_TRACE(weight);
        const double drawn = ink(render(symbol, weight)).inside;
        EXPECT_GT(drawn, previous);
        previous = drawn;
    }
    EXPECT_EQ(render(symbol, 0), render(symbol, 100));
    EXPECT_EQ(render(symbol, 5000), render(symbol, 900));
}

TEST(SymbolImageTest, UnknownNameIsAnEmptySymbolThatStillTakesItsPlace) {
    testing::internal::CaptureStderr();
    const ui::SymbolImage symbol("no.such.symbol");
    const ui::SymbolImage again("no.such.symbol", ui::SymbolVariant::fill);
    const std::string logged = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(symbol.isEmpty());
    EXPECT_TRUE(again.isEmpty());
    EXPECT_EQ(symbol.systemName(), "no.such.symbol");
    EXPECT_EQ(symbol.resolvedName(), "");
    EXPECT_TRUE(symbol.path().isEmpty());
    EXPECT_TRUE(symbol.image(17, Qt::black).isNull());
    EXPECT_EQ(ink(render(symbol)).inside, 0);
    EXPECT_FALSE(ui::SymbolImage::exists("no.such.symbol"));
    // Logged once, naming the symbol.
    const auto first = logged.find("no.such.symbol");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(logged.find("no.such.symbol", first + 1), std::string::npos);
    EXPECT_TRUE(ui::SymbolImage().isEmpty());
}

TEST(SymbolImageTest, ImageIsATemplateInTheGivenColourAtTheGivenScale) {
    const QColor tint(10, 120, 230);
    const auto image = ui::SymbolImage("checkmark.circle.fill").image(20, tint, QFont::Normal, 2);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(40, 40));
    EXPECT_EQ(image.devicePixelRatio(), 2);
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) != 255) continue;
            ++opaque;
            EXPECT_EQ(QColor(p), tint);
        }
    EXPECT_GT(opaque, 400);
    EXPECT_TRUE(ui::SymbolImage("plus").image(0, tint).isNull());
    EXPECT_TRUE(ui::SymbolImage("plus").image(12, tint, QFont::Normal, std::nan("")).isNull());
    EXPECT_TRUE(ui::SymbolImage("plus").image(1e9, tint).isNull());
}

// The vertical middle of what is painted, in pixels.
double inkMiddle(const QImage& image) {
    int top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return (top + bottom + 1) / 2.0;
}

TEST(SymbolImageTest, SymbolBesideTextCentresOnItsCapitals) {
    QFont font("DejaVu Sans");
    font.setPixelSize(40);
    const auto metrics = ui::SymbolImage::metrics(font);
    EXPECT_DOUBLE_EQ(metrics.size.width(), 40);
    EXPECT_DOUBLE_EQ(metrics.size.height(), 40);

    const double baseline = 80;
    QImage text(120, 120, QImage::Format_ARGB32_Premultiplied);
    text.fill(Qt::transparent);
    QPainter painter(&text);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(10, baseline), "H");
    painter.end();

    QImage symbol(120, 120, QImage::Format_ARGB32_Premultiplied);
    symbol.fill(Qt::transparent);
    painter.begin(&symbol);
    ui::SymbolImage("plus").draw(painter, QRectF(QPointF(10, baseline - metrics.baseline), metrics.size),
                                 Qt::black);
    painter.end();

    EXPECT_NEAR(inkMiddle(symbol), inkMiddle(text), 1.0);

    // A font in points, as text views resolve it: the symbol has the size of the laid-out text.
    const QFont body = ui::Font::custom("DejaVu Sans", 30).resolve({});
    const auto beside = ui::SymbolImage::metrics(body);
    EXPECT_DOUBLE_EQ(beside.size.width(), 30);
    const ui::TextLayout layout({ui::AttributedRun{"H", body}}, {}, std::nullopt, std::nullopt);
    text.fill(Qt::transparent);
    painter.begin(&text);
    layout.draw(painter, QPointF(10, baseline - layout.firstBaseline()));
    painter.end();
    symbol.fill(Qt::transparent);
    painter.begin(&symbol);
    ui::SymbolImage("plus").draw(painter, QRectF(QPointF(10, baseline - beside.baseline), beside.size),
                                 Qt::black);
    painter.end();
    EXPECT_NEAR(inkMiddle(symbol), inkMiddle(text), 1.0);

    const auto plain = ui::SymbolImage::metrics(13);
    EXPECT_EQ(plain.size, QSizeF(13, 13));
    EXPECT_GT(plain.baseline, 6.5);
    EXPECT_LT(plain.baseline, 13);
    EXPECT_EQ(ui::SymbolImage::metrics(-1).size, QSizeF());
}

} // namespace

// Outlines asked for ahead on workers while other threads draw the same symbols: every draw
// waits for the one build and gets the whole outline.
TEST(SymbolImageTest, OutlinesPreparedAheadDrawTheSameEverywhere) {
    // Weights no other test draws, so these builds start here.
    const std::vector<int> weights{250, 350};
    for (const int weight : weights)
        for (const auto& name : usedNames)
            ui::SymbolImage(name).prepare(weight);
    ui::SymbolImage("no.such.symbol").prepare(); // harmless

    std::vector<std::vector<QImage>> drawn(4);
    std::vector<std::thread> threads;
    for (auto& images : drawn)
        threads.emplace_back([&images, &weights] {
            for (const int weight : weights)
                for (const auto& name : usedNames) {
                    const ui::SymbolImage symbol(name);
                    symbol.prepare(weight);
                    images.push_back(render(symbol, weight));
                }
        });
    for (auto& thread : threads)
        thread.join();

    std::size_t i = 0;
    for (const int weight : weights)
        for (const auto& name : usedNames) {
            SCOPED_TRACE(name + " at " + std::to_string(weight));
            const QImage here = render(ui::SymbolImage(name), weight);
            const Ink drawnHere = ink(here);
            EXPECT_GT(drawnHere.inside, 0.04 * box.width() * box.height());
            EXPECT_EQ(drawnHere.outside, 0);
            for (const auto& images : drawn)
                EXPECT_EQ(images[i], here);
            ++i;
        }
}
