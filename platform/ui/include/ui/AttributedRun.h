#pragma once

#include "foundation/URL.h"

#include <QColor>
#include <QFont>

#include <optional>
#include <string>

namespace ui {

// A piece of text with everything needed to lay it out and draw it: a resolved text.
struct AttributedRun {
    std::string text; // UTF-8
    QFont font;
    QColor foregroundColor = Qt::black;
    bool underline = false;
    bool strikethrough = false;
    // How far the run is raised above the line's baseline, in points.
    double baselineOffset = 0;
    std::optional<foundation::URL> link;

    bool operator==(const AttributedRun&) const = default;
};

} // namespace ui
