#pragma once

#include "foundation/URL.h"
#include "ui/AttributedRun.h"
#include "ui/TextAlignment.h"
#include "ui/TextTruncationMode.h"

#include <QColor>
#include <QPointF>
#include <QSizeF>
#include <Qt>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPainter;

namespace ui {

struct TextLayoutOptions {
    // The most lines shown; none for no limit. Values below 1 mean 1.
    std::optional<int> lineLimit;
    TextAlignment alignment = TextAlignment::leading;
    TextTruncationMode truncationMode = TextTruncationMode::tail;
    Qt::LayoutDirection layoutDirection = Qt::LeftToRight;

    bool operator==(const TextLayoutOptions&) const = default;
};

// Attributed runs laid out as one paragraph for a proposed size, ready to measure, draw and
// hit-test. An immutable value (copies share the layout).
//
// Without a proposed width (or with an infinite or invalid one) lines break only at line breaks
// and the width is the widest line: the ideal size. With a width, lines wrap at word boundaries
// (inside a word that alone is too wide) and the width is the widest line, at most the proposal
// unless a single character is wider. A proposed height, like the line limit, caps the lines
// shown, though never below one. When lines are cut, the last one shown ends (tail), starts
// (head) or is cut in its middle by an ellipsis so that it fits the width; without a width the
// ellipsis simply ends the last line. An empty text has zero size.
//
// Laying out again at the size a layout reported gives the same lines, so a parent may measure
// with one proposal and place with the result.
class TextLayout {
public:
    TextLayout(const std::vector<AttributedRun>& runs, const TextLayoutOptions& options,
               std::optional<double> proposedWidth, std::optional<double> proposedHeight);

    QSizeF size() const;
    // Distances from the top to the first and the last line's baselines.
    double firstBaseline() const;
    double lastBaseline() const;
    int lineCount() const;
    bool isTruncated() const;
    // What is drawn, lines joined by "\n" where the text had a line break.
    std::string displayedString() const;

    // Draws with the layout's top-left corner at `origin`.
    void draw(QPainter& painter, QPointF origin) const;
    // The same in other colours, one per run in the order the layout was given them (a colour
    // animating between two updates); runs past the end keep their own.
    void draw(QPainter& painter, QPointF origin, const std::vector<QColor>& runColors) const;
    // The link under `point` (relative to the top-left corner), if any.
    std::optional<foundation::URL> link(QPointF point) const;

private:
    struct Impl;
    std::shared_ptr<const Impl> impl_;
};

} // namespace ui
