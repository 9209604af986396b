#pragma once

namespace ui {

// How a picker shows its options (View::pickerStyle); made from the style types below.
class PickerStyle {
public:
    enum class Kind { automatic, menu, segmented, inlineList, radioGroup };

    constexpr explicit PickerStyle(Kind kind = Kind::automatic)
        : kind_(kind) {}
    constexpr Kind kind() const { return kind_; }
    constexpr bool operator==(const PickerStyle&) const = default;

private:
    Kind kind_;
};

// A pop-up button showing the chosen option; a click opens a menu of all of them. The
// automatic style is this one.
struct MenuPickerStyle : PickerStyle {
    constexpr MenuPickerStyle()
        : PickerStyle(Kind::menu) {}
};
struct DefaultPickerStyle : PickerStyle {
    constexpr DefaultPickerStyle()
        : PickerStyle(Kind::automatic) {}
};
// A row of joined segments, the chosen one filled.
struct SegmentedPickerStyle : PickerStyle {
    constexpr SegmentedPickerStyle()
        : PickerStyle(Kind::segmented) {}
};
// The options one below the other, the chosen one checked; inside a menu, checked entries.
struct InlinePickerStyle : PickerStyle {
    constexpr InlinePickerStyle()
        : PickerStyle(Kind::inlineList) {}
};
// The options one below the other, each with a round radio button.
struct RadioGroupPickerStyle : PickerStyle {
    constexpr RadioGroupPickerStyle()
        : PickerStyle(Kind::radioGroup) {}
};

struct PickerStyleKey {
    using Value = PickerStyle;
    static Value defaultValue() { return PickerStyle(); }
};

} // namespace ui
