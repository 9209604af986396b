#include "ui/TextLayout.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using ui::AttributedRun;
using ui::TextLayout;
using ui::TextLayoutOptions;

namespace {

QFont dejaVu(double size, const char* family = "DejaVu Sans") {
    QFont font(family);
    font.setPointSizeF(size);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

std::vector<AttributedRun> runs(std::string text, double size = 20) {
    return {AttributedRun{std::move(text), dejaVu(size)}};
}

QImage rendered(const TextLayout& layout, QSize size, QPointF origin = {}) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    layout.draw(painter, origin);
    return image;
}

// The box of dark pixels in the given rows.
QRect ink(const QImage& image, int top = 0, int bottom = -1) {
    if (bottom < 0) bottom = image.height() - 1;
    QRect box;
    for (int y = top; y <= bottom; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(TextLayoutTest, IdealSizeIsOneLineAsWideAsTheText) {
    const QFontMetricsF metrics(dejaVu(20), nullptr);
    const TextLayout layout(runs("Hello, world"), {}, std::nullopt, std::nullopt);
    EXPECT_EQ(layout.lineCount(), 1);
    EXPECT_FALSE(layout.isTruncated());
    EXPECT_NEAR(layout.size().width(), 20 * 6.6, 20 * 1.5) << "about 0.55 em a character";
    EXPECT_NEAR(layout.size().height(), 24, 1) << "a DejaVu line is 1.164 em";
    EXPECT_NEAR(layout.firstBaseline(), 18.6, 0.5);
    EXPECT_EQ(layout.lastBaseline(), layout.firstBaseline());

    const TextLayout infinite(runs("Hello, world"), {}, std::numeric_limits<double>::infinity(), 1e9);
    EXPECT_EQ(infinite.size(), layout.size());
    const TextLayout breaks(runs("Hello,\nworld"), {}, std::nullopt, std::nullopt);
    EXPECT_EQ(breaks.lineCount(), 2);
    EXPECT_EQ(breaks.displayedString(), "Hello,\nworld");
    EXPECT_NEAR(breaks.lastBaseline() - breaks.firstBaseline(), breaks.size().height() / 2, 0.01);

    const TextLayout empty({}, {}, 100, 100);
    EXPECT_EQ(empty.size(), QSizeF(0, 0));
}

TEST(TextLayoutTest, WrapsAtAWidthAndLaysOutAgainTheSameAtItsOwnSize) {
    const auto text = runs("The quick brown fox jumps over the lazy dog");
    const TextLayout ideal(text, {}, std::nullopt, std::nullopt);
    const TextLayout wrapped(text, {}, 150, std::nullopt);
    EXPECT_GT(wrapped.lineCount(), 2);
    EXPECT_LE(wrapped.size().width(), 150);
    EXPECT_GT(wrapped.size().width(), 100);
    EXPECT_DOUBLE_EQ(wrapped.size().height(), ideal.size().height() * wrapped.lineCount());

    const TextLayout again(text, {}, wrapped.size().width(), wrapped.size().height());
    EXPECT_EQ(again.size(), wrapped.size());
    EXPECT_EQ(again.lineCount(), wrapped.lineCount());
    EXPECT_FALSE(again.isTruncated());

    const TextLayout word(runs("Unbreakable"), {}, 30, std::nullopt);
    EXPECT_GT(word.lineCount(), 1) << "a word too wide breaks inside";
    EXPECT_LE(word.size().width(), 30);
    const TextLayout zero(runs("ab cd"), {}, 0, std::nullopt);
    EXPECT_EQ(zero.lineCount(), 4) << "a character a line, spaces aside";
}

TEST(TextLayoutTest, LineLimitAndHeightTruncateTheLastLine) {
    const auto text = runs("The quick brown fox jumps over the lazy dog");
    TextLayoutOptions one{.lineLimit = 1};
    const TextLayout tail(text, one, 150, std::nullopt);
    EXPECT_EQ(tail.lineCount(), 1);
    EXPECT_TRUE(tail.isTruncated());
    EXPECT_LE(tail.size().width(), 150);
    EXPECT_EQ(tail.displayedString().substr(0, 9), "The quick");
    EXPECT_EQ(tail.displayedString().substr(tail.displayedString().size() - 3), "…");

    one.truncationMode = ui::TextTruncationMode::head;
    const auto head = TextLayout(text, one, 150, std::nullopt).displayedString();
    EXPECT_EQ(head.substr(0, 3), "…");
    EXPECT_EQ(head.substr(head.size() - 8), "lazy dog");

    one.truncationMode = ui::TextTruncationMode::middle;
    const auto middle = TextLayout(text, one, 150, std::nullopt).displayedString();
    EXPECT_EQ(middle.substr(0, 5), "The q");
    EXPECT_EQ(middle.substr(middle.size() - 3), "dog");
    EXPECT_NE(middle.find("…"), std::string::npos);

    // One and a half lines of height show one; no height shows less than one line.
    const TextLayout full(text, {}, 150, std::nullopt);
    const double lineHeight = full.size().height() / full.lineCount();
    const TextLayout cut(text, {}, 150, lineHeight * 2.5);
    EXPECT_EQ(cut.lineCount(), 2);
    EXPECT_TRUE(cut.isTruncated());
    EXPECT_DOUBLE_EQ(cut.size().height(), lineHeight * 2);
    EXPECT_EQ(TextLayout(text, {}, 150, 3).lineCount(), 1);

    const TextLayout limitedBreaks(runs("first\nsecond"), {.lineLimit = 1}, std::nullopt, std::nullopt);
    EXPECT_EQ(limitedBreaks.displayedString(), "first…");
    const TextLayout trailingBreaks(runs("first\nsecond\n\n"), {.lineLimit = 2}, std::nullopt, std::nullopt);
    EXPECT_EQ(trailingBreaks.lineCount(), 2);
    EXPECT_EQ(trailingBreaks.displayedString(), "first\nsecond\n") << "only empty lines are cut";
    EXPECT_FALSE(trailingBreaks.isTruncated());
    EXPECT_FALSE(TextLayout(runs("short"), {.lineLimit = 1}, 150, std::nullopt).isTruncated());
}

TEST(TextLayoutTest, LinesAlignWithinTheWidestLine) {
    auto shortLine = [](ui::TextAlignment alignment, Qt::LayoutDirection direction) {
        const TextLayout layout(runs("WWWWWW\nW"), {.alignment = alignment, .layoutDirection = direction},
                                std::nullopt, std::nullopt);
        const QImage image = rendered(layout, QSize(200, 60));
        const int middle = int(layout.size().height() / 2);
        return std::pair(ink(image, 0, middle - 1), ink(image, middle, image.height() - 1));
    };
    const auto [longLeading, shortLeading] = shortLine(ui::TextAlignment::leading, Qt::LeftToRight);
    EXPECT_NEAR(shortLeading.left(), longLeading.left(), 1);
    const auto [longCenter, shortCenter] = shortLine(ui::TextAlignment::center, Qt::LeftToRight);
    EXPECT_NEAR(shortCenter.center().x(), longCenter.center().x(), 1.5);
    const auto [longTrailing, shortTrailing] = shortLine(ui::TextAlignment::trailing, Qt::LeftToRight);
    EXPECT_NEAR(shortTrailing.right(), longTrailing.right(), 1);
    const auto [longRtl, shortRtl] = shortLine(ui::TextAlignment::leading, Qt::RightToLeft);
    EXPECT_NEAR(shortRtl.right(), longRtl.right(), 1) << "leading is the right edge from right to left";
}

TEST(TextLayoutTest, DrawsEachRunInItsFontColourAndOffset) {
    std::vector<AttributedRun> text{{"H", dejaVu(40, "DejaVu Serif")}, {"H", dejaVu(20), Qt::red}};
    text.push_back({"H", dejaVu(20), Qt::black, false, false, 10});
    const TextLayout layout(text, {}, std::nullopt, std::nullopt);
    const QImage image = rendered(layout, QSize(120, 60), QPointF(5, 3));

    const QRect big = ink(image);
    EXPECT_NEAR(big.height(), 40 * 0.729, 2) << "cap height of 40-point DejaVu Serif";
    EXPECT_NEAR(big.bottom() + 1, 3 + layout.firstBaseline(), 1);
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 80) ++red;
        }
    EXPECT_GT(red, 40);

    // A raised run ends that far above the baseline.
    auto bottom = [](double offset) {
        std::vector<AttributedRun> raised = runs("H");
        raised[0].baselineOffset = offset;
        return ink(rendered(TextLayout(raised, {}, std::nullopt, std::nullopt), QSize(40, 40),
                            QPointF(0, 15)))
            .bottom();
    };
    EXPECT_EQ(bottom(0) - bottom(10), 10);
}

TEST(TextLayoutTest, OneLayoutDrawnAgainFollowsEachDrawsColourPlaceAndScaleAndLeavesThePen) {
    // A layout keeps its glyphs from its first draw: later draws in other colours, places and
    // scales must show those, and each leaves the painter's pen as it was.
    const TextLayout layout(runs("Hello"), {}, std::nullopt, std::nullopt);
    const QImage first = rendered(layout, QSize(80, 30));
    QImage again(160, 60, QImage::Format_ARGB32_Premultiplied);
    again.fill(Qt::white);
    QPainter painter(&again);
    const QPen pen(Qt::green, 3);
    painter.setPen(pen);
    painter.scale(2, 2);
    layout.draw(painter, QPointF(0, 0), {QColor(Qt::blue)});
    EXPECT_EQ(painter.pen(), pen);
    painter.end();
    const QRect small = ink(first), large = ink(again);
    EXPECT_NEAR(large.width(), 2 * small.width(), 2);
    EXPECT_NEAR(large.left(), 2 * small.left(), 2);
    int blue = 0;
    for (int y = 0; y < again.height(); ++y)
        for (int x = 0; x < again.width(); ++x)
            blue += again.pixelColor(x, y).blue() > 200 && again.pixelColor(x, y).red() < 80;
    EXPECT_GT(blue, 40);
    EXPECT_EQ(rendered(layout, QSize(80, 30)), first) << "drawn the first way again";
}

TEST(TextLayoutTest, HitTestsLinksWhereTheirGlyphsAre) {
    std::vector<AttributedRun> text = runs("Read ");
    text.push_back({"more", dejaVu(20)});
    text.back().link = foundation::URL::fromString("https://example.org/more");
    text.push_back({" here", dejaVu(20)});
    const TextLayout layout(text, {}, std::nullopt, std::nullopt);
    const double readWidth = QFontMetricsF(dejaVu(20)).horizontalAdvance("Read ") * 72 / 96;
    const double y = layout.size().height() / 2;

    EXPECT_EQ(layout.link(QPointF(readWidth + 5, y)),
              foundation::URL::fromString("https://example.org/more"));
    EXPECT_FALSE(layout.link(QPointF(5, y)));
    EXPECT_FALSE(layout.link(QPointF(layout.size().width() - 2, y)));
    EXPECT_FALSE(layout.link(QPointF(readWidth + 5, layout.size().height() + 1)));
    EXPECT_FALSE(layout.link(QPointF(layout.size().width() + 20, y)));

    // In a truncated last line the link is where the ellipsis left it.
    const TextLayout cut(text, {.lineLimit = 1}, readWidth + 55, std::nullopt);
    ASSERT_TRUE(cut.isTruncated());
    EXPECT_EQ(cut.displayedString().substr(0, 6), "Read m");
    EXPECT_EQ(cut.link(QPointF(readWidth + 5, y)), foundation::URL::fromString("https://example.org/more"));
}

// Runs that differ only in colour share their shaping, and a run in another font between them
// keeps its own.
TEST(TextLayoutTest, RunsOfOneFontLayOutAsOneRun) {
    const std::string words = "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu";
    std::vector<AttributedRun> coloured;
    for (std::size_t i = 0; i < words.size(); i += 5)
        coloured.push_back({words.substr(i, 5), dejaVu(20), i % 10 ? Qt::red : Qt::black});
    const TextLayout plain(runs(words), {}, 200, std::nullopt);
    const TextLayout pieces(coloured, {}, 200, std::nullopt);
    EXPECT_EQ(pieces.lineCount(), plain.lineCount());
    EXPECT_EQ(pieces.size(), plain.size());

    QFont bold = dejaVu(20);
    bold.setBold(true);
    auto width = [&](const QFont& middle, QColor last) {
        const std::vector<AttributedRun> three{{"mmm", dejaVu(20)}, {"mmm", middle}, {"mmm", dejaVu(20), last}};
        return TextLayout(three, {}, std::nullopt, std::nullopt).size().width();
    };
    EXPECT_EQ(width(bold, Qt::red), width(bold, Qt::black));
    EXPECT_GT(width(bold, Qt::red), width(dejaVu(20), Qt::red));
}
