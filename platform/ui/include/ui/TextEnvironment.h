#pragma once

#include "ui/EnvironmentValues.h"
#include "ui/Font.h"
#include "ui/FontContext.h"
#include "ui/TextAlignment.h"
#include "ui/TextCase.h"
#include "ui/TextContext.h"
#include "ui/TextLayout.h"
#include "ui/TextTruncationMode.h"

#include <QFont>

#include <optional>

namespace ui {

// The font of text that names none; the body style when absent.
struct FontKey {
    using Value = std::optional<Font>;
    static Value defaultValue() { return std::nullopt; }
};
// The design of system fonts that name none (`fontDesign`).
struct FontDesignKey {
    using Value = std::optional<Font::Design>;
    static Value defaultValue() { return std::nullopt; }
};
// A weight every text below is drawn at, over its font's own (`fontWeight` on a view).
struct FontWeightKey {
    using Value = std::optional<Font::Weight>;
    static Value defaultValue() { return std::nullopt; }
};
struct LineLimitKey {
    using Value = std::optional<int>;
    static Value defaultValue() { return std::nullopt; }
};
struct MultilineTextAlignmentKey {
    using Value = TextAlignment;
    static Value defaultValue() { return TextAlignment::leading; }
};
struct TruncationModeKey {
    using Value = TextTruncationMode;
    static Value defaultValue() { return TextTruncationMode::tail; }
};
struct TextCaseKey {
    using Value = std::optional<TextCase>;
    static Value defaultValue() { return std::nullopt; }
};

// The environment's font with its weight applied.
Font environmentFont(const EnvironmentValues& environment);
FontContext fontContext(const EnvironmentValues& environment);
// The environment's font as a concrete face.
QFont resolvedFont(const EnvironmentValues& environment);
// What text needs from the environment: font, colours, case, and the main bundle for keys.
TextContext textContext(const EnvironmentValues& environment);
TextLayoutOptions textLayoutOptions(const EnvironmentValues& environment);

} // namespace ui
