#include "ui/Font.h"

#include "ui/FontContext.h"
#include "ui/FontFamilies.h"

#include <QFont>
#include <QFontDatabase>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

constexpr double bodySize = 13;

double styleSize(Font::TextStyle style) {
    switch (style) {
    case Font::TextStyle::largeTitle:
        return 26;
    case Font::TextStyle::title:
        return 22;
    case Font::TextStyle::title2:
        return 17;
    case Font::TextStyle::title3:
        return 15;
    case Font::TextStyle::headline:
        return 13;
    case Font::TextStyle::subheadline:
        return 11;
    case Font::TextStyle::body:
        return bodySize;
    case Font::TextStyle::callout:
        return 12;
    case Font::TextStyle::footnote:
        return 10;
    case Font::TextStyle::caption:
        return 10;
    case Font::TextStyle::caption2:
        return 10;
    }
    return bodySize;
}

QFont::Weight qtWeight(Font::Weight weight) {
    switch (weight) {
    case Font::Weight::ultraLight:
        return QFont::Thin;
    case Font::Weight::thin:
        return QFont::ExtraLight;
    case Font::Weight::light:
        return QFont::Light;
    case Font::Weight::regular:
        return QFont::Normal;
    case Font::Weight::medium:
        return QFont::Medium;
    case Font::Weight::semibold:
        return QFont::DemiBold;
    case Font::Weight::bold:
        return QFont::Bold;
    case Font::Weight::heavy:
        return QFont::ExtraBold;
    case Font::Weight::black:
        return QFont::Black;
    }
    return QFont::Normal;
}

double validSize(double size) {
    return std::isfinite(size) && size > 0 ? size : bodySize;
}

} // namespace

double scaleFactor(ContentSizeCategory category) {
    // Relative to the body size of the default category, so every style keeps its proportions.
    switch (category) {
    case ContentSizeCategory::extraSmall:
        return 14.0 / 17;
    case ContentSizeCategory::small:
        return 15.0 / 17;
    case ContentSizeCategory::medium:
        return 16.0 / 17;
    case ContentSizeCategory::large:
        return 1;
    case ContentSizeCategory::extraLarge:
        return 19.0 / 17;
    case ContentSizeCategory::extraExtraLarge:
        return 21.0 / 17;
    case ContentSizeCategory::extraExtraExtraLarge:
        return 23.0 / 17;
    case ContentSizeCategory::accessibilityMedium:
        return 28.0 / 17;
    case ContentSizeCategory::accessibilityLarge:
        return 33.0 / 17;
    case ContentSizeCategory::accessibilityExtraLarge:
        return 40.0 / 17;
    case ContentSizeCategory::accessibilityExtraExtraLarge:
        return 47.0 / 17;
    case ContentSizeCategory::accessibilityExtraExtraExtraLarge:
        return 53.0 / 17;
    }
    return 1;
}

Font Font::system(TextStyle style, std::optional<Design> design, std::optional<Weight> weight) {
    Font font;
    font.kind_ = Kind::textStyle;
    font.style_ = style;
    font.size_ = styleSize(style);
    font.design_ = design;
    font.weight_ = weight;
    return font;
}

Font Font::system(double size, Weight weight, std::optional<Design> design) {
    Font font;
    font.kind_ = Kind::system;
    font.size_ = validSize(size);
    font.weight_ = weight;
    font.design_ = design;
    return font;
}

Font Font::custom(std::string name, double size) {
    Font font;
    font.kind_ = Kind::custom;
    font.size_ = validSize(size);
    font.name_ = std::move(name);
    return font;
}

Font Font::custom(std::string name, FixedSize size) {
    Font font = custom(std::move(name), size.points);
    font.fixedSize_ = true;
    return font;
}

Font Font::weight(Weight weight) const {
    Font font = *this;
    font.weight_ = weight;
    return font;
}

Font Font::italic() const {
    Font font = *this;
    font.italic_ = true;
    return font;
}

Font Font::monospaced() const {
    Font font = *this;
    font.design_ = Design::monospaced;
    return font;
}

double Font::size() const {
    return size_;
}

std::optional<Font::TextStyle> Font::textStyle() const {
    if (kind_ != Kind::textStyle) return std::nullopt;
    return style_;
}

QFont Font::resolveForWidget(const FontContext& context) const {
    QFont font = resolve(context);
    if (font.pointSizeF() > 0) font.setPixelSize(std::max(1, int(std::lround(font.pointSizeF()))));
    return font;
}

QFont Font::resolve(const FontContext& context) const {
    QFont font;
    double size = size_;
    if (kind_ != Kind::system && !fixedSize_) size *= scaleFactor(context.sizeCategory);
    font.setPointSizeF(size);
    // Unhinted outlines keep advances independent of the device, so text measures the same
    // wherever it is drawn.
    font.setHintingPreference(QFont::PreferNoHinting);

    std::optional<FontFace> face;
    if (kind_ == Kind::custom && design_ != Design::monospaced) face = installedFontFace(name_);

    QFont::Weight weight = QFont::Normal;
    bool italic = italic_;
    if (face) {
        font.setFamilies(QStringList{QString::fromStdString(face->family)});
        if (!face->style.empty()) {
            const auto family = QString::fromStdString(face->family);
            const auto style = QString::fromStdString(face->style);
            weight = QFont::Weight(QFontDatabase::weight(family, style));
            italic = italic || QFontDatabase::italic(family, style) ||
                     style.contains(u"Italic", Qt::CaseInsensitive) ||
                     style.contains(u"Oblique", Qt::CaseInsensitive);
            if (!weight_ && !italic_) font.setStyleName(style);
        }
    } else {
        const Design design = design_.value_or(
            kind_ == Kind::custom ? Design::defaultDesign : context.design.value_or(Design::defaultDesign));
        font.setFamilies(QStringList{QString::fromStdString(systemFontFamily(design))});
        if (kind_ == Kind::textStyle && style_ == TextStyle::headline) weight = QFont::Bold;
    }
    if (weight_) weight = qtWeight(*weight_);
    font.setWeight(weight);
    font.setItalic(italic);
    return font;
}

} // namespace ui
