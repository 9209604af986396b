#pragma once

#include "ui/Font.h"
#include "ui/FontContext.h"
#include "ui/TextCase.h"

#include <QColor>
#include <QLocale>

#include <memory>
#include <optional>

namespace foundation {
class Bundle;
}

namespace ui {

// What a text takes from its environment to become runs.
struct TextContext {
    // The font of runs that name none (`font` in the environment).
    Font font = Font::body();
    FontContext fontContext;
    // The colour of runs that name none (the resolved foreground style).
    QColor foregroundColor = Qt::black;
    // The colour of links (the resolved tint); the foreground colour when invalid.
    QColor linkColor;
    std::optional<TextCase> textCase;
    // Where keys without a bundle of their own are looked up; the main bundle when null.
    std::shared_ptr<const foundation::Bundle> bundle;
    // How numbers in a key's arguments are written; as in C when absent.
    std::optional<QLocale> locale;
};

} // namespace ui
