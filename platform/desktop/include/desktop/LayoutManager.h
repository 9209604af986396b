#pragma once

#include "graphics/CGRect.h"

#include <QFont>
#include <QString>

#include <optional>

namespace desktop {

class TextContainer;
class TextView;

// Lays out a text view's text in its container and reports what the text takes.
class LayoutManager {
public:
    explicit LayoutManager(TextView& textView)
        : textView_(textView) {}

    // Lays the whole text out now, so that what follows measures the current text.
    void ensureLayoutForTextContainer(TextContainer& container);
    // The rectangle the laid-out lines take in the container: as wide as the widest line and as
    // tall as all lines; an empty text takes one empty line.
    graphics::CGRect usedRectForTextContainer(TextContainer& container);

private:
    // The last measure, asked again at every layout of the view around.
    struct Measured {
        QString text;
        QFont font;
        double width;
        graphics::CGRect used;
    };
    TextView& textView_;
    std::optional<Measured> measured_;
};

} // namespace desktop
