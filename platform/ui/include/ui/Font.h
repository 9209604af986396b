#pragma once

#include <optional>
#include <string>

class QFont;

namespace ui {

struct FontContext;

// A font as views describe it: a system text style, a system font of a given size, or a named
// font; with an optional weight, design and italic. An immutable value; `resolve` turns it into a
// concrete QFont for a context.
//
// Sizes are in points, one point being one unit of view geometry. The QFont that `resolve` gives
// carries that size as its point size, which draws at one pixel per point on a 72-dpi device; the
// text layout measures on such a device, so text is as large on screen as its font size says.
//
// The text styles' sizes at the default size category (weight regular unless noted):
//   largeTitle 26, title 22, title2 17, title3 15, headline 13 (bold), subheadline 11, body 13,
//   callout 12, footnote 10, caption 10, caption2 10.
class Font {
public:
    enum class TextStyle {
        largeTitle,
        title,
        title2,
        title3,
        headline,
        subheadline,
        body,
        callout,
        footnote,
        caption,
        caption2,
    };
    // Lightest to heaviest; mapped to the weights 100 (ultraLight) to 900 (black).
    enum class Weight { ultraLight, thin, light, regular, medium, semibold, bold, heavy, black };
    // `rounded` uses an installed family with "Rounded" in its name, and the default design's
    // family when there is none.
    enum class Design { defaultDesign, serif, rounded, monospaced };

    static Font largeTitle() { return system(TextStyle::largeTitle); }
    static Font title() { return system(TextStyle::title); }
    static Font title2() { return system(TextStyle::title2); }
    static Font title3() { return system(TextStyle::title3); }
    static Font headline() { return system(TextStyle::headline); }
    static Font subheadline() { return system(TextStyle::subheadline); }
    static Font body() { return system(TextStyle::body); }
    static Font callout() { return system(TextStyle::callout); }
    static Font footnote() { return system(TextStyle::footnote); }
    static Font caption() { return system(TextStyle::caption); }
    static Font caption2() { return system(TextStyle::caption2); }

    static Font system(TextStyle style, std::optional<Design> design = {}, std::optional<Weight> weight = {});
    // A fixed size that ignores the size category. A size that is not a positive finite number
    // gives the body size. Without a design, the environment's applies.
    static Font system(double size, Weight weight = Weight::regular, std::optional<Design> design = {});
    // A font by family name ("DejaVu Serif", matched without regard to case) or by face name
    // ("DejaVu Serif Bold", "DejaVuSerif-Bold"). An empty or unknown name gives the system font
    // of that size. Scales with the size category like the text styles.
    static Font custom(std::string name, double size);
    // The same at a size that ignores the size category, as a desktop font object fixes it.
    struct FixedSize {
        double points;
    };
    static Font custom(std::string name, FixedSize size);

    // The same font, always at `weight`.
    Font weight(Weight weight) const;
    Font bold() const { return weight(Weight::bold); }
    Font italic() const;
    // A fixed-width face: the system monospaced family (also for named fonts).
    Font monospaced() const;

    // The size at the default size category.
    double size() const;
    std::optional<TextStyle> textStyle() const;
    // The family name of a custom font; empty for system fonts.
    const std::string& name() const { return name_; }

    QFont resolve(const FontContext& context) const;
    // The same font sized in pixels, for Qt widgets: they measure at the screen's dots per
    // inch, where a point size would draw larger than the layer's own text beside them.
    QFont resolveForWidget(const FontContext& context) const;

    bool operator==(const Font&) const = default;

private:
    enum class Kind { textStyle, system, custom };
    Font() = default;

    Kind kind_ = Kind::textStyle;
    TextStyle style_ = TextStyle::body;
    double size_ = 0;
    std::string name_;
    std::optional<Weight> weight_;
    std::optional<Design> design_;
    bool italic_ = false;
    bool fixedSize_ = false;
};

} // namespace ui
