#include "ui/TextLayout.h"

#include "TextMeasuring.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QString>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <mutex>
#include <tuple>
#include <utility>

namespace ui {

namespace {

constexpr QChar lineSeparator = QChar::LineSeparator;
constexpr QChar ellipsis = QChar(0x2026);
// QTextLayout measures in 1/64ths; laying out again at a reported width must not wrap earlier.
constexpr double widthSlack = 1.0 / 64;
constexpr double unlimitedWidth = 1e7;

std::optional<double> usable(std::optional<double> length) {
    if (!length || !std::isfinite(*length)) return std::nullopt;
    return std::max(0.0, *length);
}

// Characters with, for each, the run it came from.
struct Piece {
    QString text;
    std::vector<int> runOf;

    void append(QStringView chars, int run) {
        text += chars;
        runOf.insert(runOf.end(), std::size_t(chars.size()), run);
    }
};

struct LaidOutPiece {
    std::unique_ptr<QTextLayout> layout;
    Piece piece;
};

QFont decorated(const AttributedRun& run) {
    QFont font = run.font;
    font.setUnderline(run.underline);
    font.setStrikeOut(run.strikethrough);
    return font;
}

std::unique_ptr<QTextLayout> makeLayout(const Piece& piece, const std::vector<AttributedRun>& runs,
                                        Qt::LayoutDirection direction, bool wrap) {
    const QFont base = runs.empty() ? QFont() : decorated(runs.front());
    auto layout = std::make_unique<QTextLayout>(piece.text, base, textMeasuringDevice());
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setTextDirection(direction);
    option.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    layout->setTextOption(option);
    // Runs that differ only in what is drawn apart (colour, offset) share one format: each
    // format boundary splits the text into more pieces to shape.
    QList<QTextLayout::FormatRange> formats;
    for (int i = 0; i < int(piece.runOf.size());) {
        const QFont font = decorated(runs[std::size_t(piece.runOf[std::size_t(i)])]);
        int j = i, run = piece.runOf[std::size_t(i)];
        for (; j < int(piece.runOf.size()); ++j) {
            const int next = piece.runOf[std::size_t(j)];
            if (next == run) continue;
            if (!(decorated(runs[std::size_t(next)]) == font)) break;
            run = next;
        }
        QTextLayout::FormatRange range;
        range.start = i;
        range.length = j - i;
        range.format.setFont(font);
        formats.append(range);
        i = j;
    }
    if (formats.size() != 1 || formats.front().format.font() != base) layout->setFormats(formats);
    layout->setCacheEnabled(true);
    return layout;
}

double singleLineWidth(const Piece& piece, const std::vector<AttributedRun>& runs,
                       Qt::LayoutDirection direction) {
    auto layout = makeLayout(piece, runs, direction, false);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    if (line.isValid()) line.setLineWidth(unlimitedWidth);
    layout->endLayout();
    return line.isValid() ? line.naturalTextWidth() : 0;
}

std::vector<int> graphemeBoundaries(const QString& text) {
    std::vector<int> boundaries{0};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    while (finder.toNextBoundary() != -1)
        boundaries.push_back(int(finder.position()));
    return boundaries;
}

bool isSpace(QChar c) {
    return c.isSpace() || c == lineSeparator;
}

} // namespace

struct TextLayout::Impl {
    std::vector<AttributedRun> runs;
    Piece full;
    std::unique_ptr<QTextLayout> main;
    int mainLines = 0;                // lines of `main` that are drawn
    int mainEnd = 0;                  // characters of `main` that are drawn
    std::optional<LaidOutPiece> last; // the truncated last line
    QSizeF size{0, 0};
    double firstBaseline = 0;
    double lastBaseline = 0;

    Piece truncatedLine(int start, TextTruncationMode mode, std::optional<double> width,
                        Qt::LayoutDirection direction) const;
    // A picture of the glyphs of characters [from, to) of `layout` in a colour, `scale` pixels
    // per point, and where its top left lies from the layout's origin: text in perspective is
    // drawn from it. A few are kept (a layout may be drawn from more than one thread).
    struct Raster {
        QImage image;
        QPointF origin;
    };
    mutable std::mutex rastersMutex;
    mutable std::map<std::tuple<const QTextLayout*, int, int, QRgba64, qreal>, Raster> rasters;

    // Characters [from, to) of a layout that come from one run, with their glyphs ready to draw
    // (decorations are drawn apart). Worked out at the first draw: the layout does not change,
    // and asking it for glyphs again at every paint costs a third of drawing them.
    struct Span {
        int from = 0, to = 0, run = 0;
        QList<QGlyphRun> glyphs;
    };
    mutable std::once_flag spansMade;
    mutable std::vector<Span> mainSpans, lastSpans;

    std::vector<Span> spans(const QTextLayout& layout, const Piece& piece, int end) const;
    Raster raster(const QTextLayout& layout, int from, int to, const QColor& color, qreal scale) const;
    void drawLayout(QPainter& painter, QPointF origin, const QTextLayout& layout, int lines,
                    const Piece& piece, const std::vector<Span>& spans,
                    const std::vector<QColor>& runColors) const;
    std::optional<foundation::URL> linkIn(const QTextLayout& layout, int lines, const Piece& piece,
                                          QPointF point) const;
};

Piece TextLayout::Impl::truncatedLine(int start, TextTruncationMode mode, std::optional<double> width,
                                      Qt::LayoutDirection direction) const {
    const int length = int(full.text.size());
    // Without a width, or at the end of a line break, the ellipsis ends the line's own text.
    int end = int(full.text.indexOf(lineSeparator, start));
    if (end < 0) end = length;
    if (!width) mode = TextTruncationMode::tail;
    if (mode != TextTruncationMode::tail) end = length;

    Piece rest;
    for (int i = start; i < end; ++i) {
        const QChar c = full.text[i] == lineSeparator ? QChar(u' ') : full.text[i];
        rest.append(QStringView(&c, 1), full.runOf[std::size_t(i)]);
    }
    const auto boundaries = graphemeBoundaries(rest.text);
    const int graphemes = int(boundaries.size()) - 1;
    const int firstRun = rest.runOf.empty() ? full.runOf[std::size_t(start)] : rest.runOf.front();
    const int lastRun = rest.runOf.empty() ? firstRun : rest.runOf.back();

    auto build = [&](int kept) {
        Piece piece;
        auto copy = [&](int from, int to) {
            for (int i = from; i < to; ++i)
                piece.append(QStringView(&rest.text[i], 1), rest.runOf[std::size_t(i)]);
        };
        auto trimmedEnd = [&](int to) {
            while (to > 0 && isSpace(rest.text[to - 1]))
                --to;
            return to;
        };
        auto trimmedStart = [&](int from) {
            while (from < int(rest.text.size()) && isSpace(rest.text[from]))
                ++from;
            return from;
        };
        const QChar dots = ellipsis;
        switch (mode) {
        case TextTruncationMode::tail: {
            const int to = trimmedEnd(boundaries[std::size_t(kept)]);
            copy(0, to);
            piece.append(QStringView(&dots, 1), to > 0 ? rest.runOf[std::size_t(to - 1)] : firstRun);
            break;
        }
        case TextTruncationMode::head: {
            const int from = trimmedStart(boundaries[std::size_t(graphemes - kept)]);
            piece.append(QStringView(&dots, 1),
                         from < int(rest.text.size()) ? rest.runOf[std::size_t(from)] : lastRun);
            copy(from, int(rest.text.size()));
            break;
        }
        case TextTruncationMode::middle: {
            const int to = trimmedEnd(boundaries[std::size_t((kept + 1) / 2)]);
            const int from = std::max(to, trimmedStart(boundaries[std::size_t(graphemes - kept / 2)]));
            copy(0, to);
            piece.append(QStringView(&dots, 1), to > 0 ? rest.runOf[std::size_t(to - 1)] : firstRun);
            copy(from, int(rest.text.size()));
            break;
        }
        }
        return piece;
    };

    if (!width) return build(graphemes);
    auto fits = [&](int kept) {
        return singleLineWidth(build(kept), runs, direction) <= *width + widthSlack;
    };
    // The most characters that fit beside the ellipsis; the ellipsis alone when none do.
    int low = 0, high = graphemes;
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (fits(mid))
            low = mid;
        else
            high = mid - 1;
    }
    return build(low);
}

TextLayout::TextLayout(const std::vector<AttributedRun>& runs, const TextLayoutOptions& options,
                       std::optional<double> proposedWidth, std::optional<double> proposedHeight) {
    auto impl = std::make_shared<Impl>();
    impl->runs = runs;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        QString chars = QString::fromStdString(runs[r].text);
        chars.replace(u'\n', lineSeparator);
        impl->full.append(chars, int(r));
    }
    const auto width = usable(proposedWidth);
    const auto height = usable(proposedHeight);
    const auto direction = options.layoutDirection;
    if (impl->full.text.isEmpty()) {
        impl_ = std::move(impl);
        return;
    }

    impl->main = makeLayout(impl->full, impl->runs, direction, width.has_value());
    QTextLayout& main = *impl->main;
    const int maxLinesByLimit =
        options.lineLimit ? std::max(1, *options.lineLimit) : std::numeric_limits<int>::max();
    std::vector<QTextLine> lines;
    main.beginLayout();
    double y = 0;
    while (true) {
        QTextLine line = main.createLine();
        if (!line.isValid()) break;
        line.setLineWidth(width ? *width + widthSlack : unlimitedWidth);
        line.setPosition(QPointF(0, y));
        y += line.height();
        lines.push_back(line);
    }
    main.endLayout();

    int shown = std::min(int(lines.size()), maxLinesByLimit);
    if (height) {
        int fitting = 0;
        double bottom = 0;
        while (fitting < shown && bottom + lines[std::size_t(fitting)].height() <= *height + 1e-6)
            bottom += lines[std::size_t(fitting++)].height();
        shown = std::max(1, fitting);
    }
    bool truncated = shown < int(lines.size());
    int mainEnd = int(impl->full.text.size());
    if (truncated) {
        // Lines that are cut but hold nothing to show (the text ends in line breaks) need no
        // ellipsis.
        mainEnd = lines[std::size_t(shown)].textStart();
        const QStringView cut = QStringView(impl->full.text).mid(mainEnd);
        truncated = !std::all_of(cut.begin(), cut.end(), isSpace);
    }
    impl->mainLines = truncated ? shown - 1 : shown;
    impl->mainEnd = truncated ? lines[std::size_t(shown - 1)].textStart() : mainEnd;

    double contentWidth = 0;
    for (int i = 0; i < impl->mainLines; ++i)
        contentWidth = std::max(contentWidth, lines[std::size_t(i)].naturalTextWidth());
    std::optional<QTextLine> lastLine;
    if (truncated) {
        auto piece = impl->truncatedLine(impl->mainEnd, options.truncationMode, width, direction);
        auto layout = makeLayout(piece, impl->runs, direction, false);
        layout->beginLayout();
        QTextLine line = layout->createLine();
        line.setLineWidth(unlimitedWidth);
        layout->endLayout();
        contentWidth = std::max(contentWidth, line.naturalTextWidth());
        lastLine = line;
        impl->last = LaidOutPiece{std::move(layout), std::move(piece)};
    }

    // Lines are placed by hand, so that alignment is relative to the widest line.
    double factor = 0;
    const bool rightToLeft = direction == Qt::RightToLeft;
    switch (options.alignment) {
    case TextAlignment::leading:
        factor = rightToLeft ? 1 : 0;
        break;
    case TextAlignment::center:
        factor = 0.5;
        break;
    case TextAlignment::trailing:
        factor = rightToLeft ? 0 : 1;
        break;
    }
    y = 0;
    bool first = true;
    auto place = [&](QTextLine& line) {
        line.setPosition(QPointF((contentWidth - line.naturalTextWidth()) * factor, y));
        if (std::exchange(first, false)) impl->firstBaseline = line.ascent();
        impl->lastBaseline = y + line.ascent();
        y += line.height();
    };
    for (int i = 0; i < impl->mainLines; ++i)
        place(lines[std::size_t(i)]);
    if (lastLine) place(*lastLine);
    impl->size = QSizeF(contentWidth, y);
    impl_ = std::move(impl);
}

QSizeF TextLayout::size() const {
    return impl_->size;
}
double TextLayout::firstBaseline() const {
    return impl_->firstBaseline;
}
double TextLayout::lastBaseline() const {
    return impl_->lastBaseline;
}
int TextLayout::lineCount() const {
    return impl_->mainLines + (impl_->last ? 1 : 0);
}
bool TextLayout::isTruncated() const {
    return impl_->last.has_value();
}

std::string TextLayout::displayedString() const {
    QString shown = impl_->full.text.left(impl_->mainEnd);
    if (impl_->last) shown += impl_->last->piece.text;
    shown.replace(lineSeparator, u'\n');
    return shown.toStdString();
}

TextLayout::Impl::Raster TextLayout::Impl::raster(const QTextLayout& layout, int from, int to,
                                                  const QColor& color, qreal scale) const {
    const auto key = std::tuple(&layout, from, to, color.rgba64(), scale);
    const std::lock_guard lock(rastersMutex);
    if (auto found = rasters.find(key); found != rasters.end()) return found->second;
    const auto glyphRuns = layout.glyphRuns(from, to - from);
    QRectF bounds;
    for (const auto& glyphs : glyphRuns)
        bounds |= glyphs.boundingRect();
    // Room for the smoothing of the edges.
    bounds = bounds.adjusted(-1, -1, 1, 1).toAlignedRect();
    Raster made{
        QImage((bounds.size() * scale).toSize().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied),
        bounds.topLeft()};
    made.image.setDevicePixelRatio(scale);
    made.image.fill(Qt::transparent);
    QPainter painter(&made.image);
    painter.setPen(color);
    for (auto glyphs : glyphRuns) {
        glyphs.setUnderline(false);
        glyphs.setStrikeOut(false);
        glyphs.setOverline(false);
        painter.drawGlyphRun(-bounds.topLeft(), glyphs);
    }
    painter.end();
    if (rasters.size() >= 16) rasters.erase(rasters.begin());
    return rasters.emplace(key, std::move(made)).first->second;
}

namespace {

// Pixels per point for text drawn in perspective through `painter`: twice what the device
// shows at the magnification the transform has where the text starts, in steps of two.
qreal perspectiveScale(const QPainter& painter, QPointF at) {
    const QTransform& t = painter.worldTransform();
    const qreal w = t.m13() * at.x() + t.m23() * at.y() + t.m33();
    const qreal magnification = std::sqrt(std::abs(t.m11() * t.m22() - t.m12() * t.m21())) / std::abs(w);
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1;
    const qreal steps =
        std::isfinite(magnification) && magnification > 1 ? std::ceil(std::log2(magnification)) : 0;
    return 2 * ratio * std::exp2(std::min<qreal>(steps, 4));
}

} // namespace

std::vector<TextLayout::Impl::Span> TextLayout::Impl::spans(const QTextLayout& layout, const Piece& piece,
                                                            int end) const {
    std::vector<Span> made;
    for (int i = 0; i < end;) {
        const int run = piece.runOf[std::size_t(i)];
        int j = i;
        while (j < end && piece.runOf[std::size_t(j)] == run)
            ++j;
        Span span{i, j, run, layout.glyphRuns(i, j - i)};
        for (auto& glyphs : span.glyphs) {
            glyphs.setUnderline(false);
            glyphs.setStrikeOut(false);
            glyphs.setOverline(false);
        }
        made.push_back(std::move(span));
        i = j;
    }
    return made;
}

void TextLayout::Impl::drawLayout(QPainter& painter, QPointF origin, const QTextLayout& layout, int lines,
                                  const Piece& piece, const std::vector<Span>& spans,
                                  const std::vector<QColor>& runColors) const {
    const bool projective = painter.worldTransform().type() == QTransform::TxProject;
    for (const Span& span : spans) {
        const int i = span.from, j = span.to, run = span.run;
        const auto& attributes = runs[std::size_t(run)];
        const QColor color =
            std::size_t(run) < runColors.size() ? runColors[std::size_t(run)] : attributes.foregroundColor;
        const QPointF at = origin - QPointF(0, attributes.baselineOffset);
        painter.setPen(color);
        if (projective) {
            // Painting glyph outlines through a perspective costs far more than drawing a picture
            // of them.
            const Raster shown = raster(layout, i, j, color, perspectiveScale(painter, at));
            painter.save();
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(at + shown.origin, shown.image);
            painter.restore();
        } else {
            // Decorations are drawn below, across the run's whole advance, spaces included.
            for (const auto& glyphs : span.glyphs)
                painter.drawGlyphRun(at, glyphs);
        }
        if (attributes.underline || attributes.strikethrough) {
            const QFontMetricsF metrics(attributes.font, textMeasuringDevice());
            const double thickness = std::max(1.0, metrics.lineWidth());
            for (int l = 0; l < lines; ++l) {
                const QTextLine line = layout.lineAt(l);
                const int from = std::max(i, line.textStart());
                const int lineEnd = line.textStart() + line.textLength();
                int to = std::min(j, lineEnd);
                // A line's trailing spaces show nothing to underline.
                if (to == lineEnd)
                    while (to > from && isSpace(piece.text[to - 1]))
                        --to;
                if (from >= to) continue;
                const double x1 = line.cursorToX(from), x2 = line.cursorToX(to);
                const double baseline = at.y() + line.y() + line.ascent();
                auto rule = [&](double y) {
                    painter.fillRect(
                        QRectF(at.x() + std::min(x1, x2), y - thickness / 2, std::abs(x2 - x1), thickness),
                        color);
                };
                if (attributes.underline) rule(baseline + metrics.underlinePos());
                if (attributes.strikethrough) rule(baseline - metrics.strikeOutPos());
            }
        }
    }
}

void TextLayout::draw(QPainter& painter, QPointF origin) const {
    draw(painter, origin, {});
}

void TextLayout::draw(QPainter& painter, QPointF origin, const std::vector<QColor>& runColors) const {
    if (!impl_->main) return;
    const Impl& impl = *impl_;
    std::call_once(impl.spansMade, [&impl] {
        impl.mainSpans = impl.spans(*impl.main, impl.full, impl.mainEnd);
        if (impl.last)
            impl.lastSpans = impl.spans(*impl.last->layout, impl.last->piece, int(impl.last->piece.text.size()));
    });
    // Only the pen changes: putting it back costs far less than saving the painter's whole state.
    const QPen pen = painter.pen();
    impl.drawLayout(painter, origin, *impl.main, impl.mainLines, impl.full, impl.mainSpans, runColors);
    if (impl.last) impl.drawLayout(painter, origin, *impl.last->layout, 1, impl.last->piece, impl.lastSpans, runColors);
    painter.setPen(pen);
}

std::optional<foundation::URL> TextLayout::Impl::linkIn(const QTextLayout& layout, int lines,
                                                        const Piece& piece, QPointF point) const {
    for (int i = 0; i < lines; ++i) {
        const QTextLine line = layout.lineAt(i);
        const QRectF rect = line.naturalTextRect();
        if (point.y() < line.y() || point.y() >= line.y() + line.height()) continue;
        if (point.x() < rect.left() || point.x() >= rect.right()) return std::nullopt;
        const int index = line.xToCursor(point.x(), QTextLine::CursorOnCharacter);
        if (index < 0 || index >= int(piece.runOf.size())) return std::nullopt;
        return runs[std::size_t(piece.runOf[std::size_t(index)])].link;
    }
    return std::nullopt;
}

std::optional<foundation::URL> TextLayout::link(QPointF point) const {
    if (!impl_->main) return std::nullopt;
    if (auto found = impl_->linkIn(*impl_->main, impl_->mainLines, impl_->full, point)) return found;
    if (impl_->last) return impl_->linkIn(*impl_->last->layout, 1, impl_->last->piece, point);
    return std::nullopt;
}

} // namespace ui
