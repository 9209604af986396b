#pragma once

#include "graphics/Image.h"
#include "ui/EnvironmentValues.h"
#include "ui/SymbolVariant.h"
#include "ui/View.h"

#include <memory>
#include <string>
#include <string_view>

namespace foundation {
class Bundle;
}

namespace ui {

// The variant system symbols below are drawn in (`symbolVariant`).
struct SymbolVariantKey {
    using Value = SymbolVariant;
    static Value defaultValue() { return SymbolVariant::none; }
};

// An image as a view: a bitmap from a bundle or a graphics::Image, or a system symbol.
//
// Unless made resizable an image keeps its own size in points (a bitmap's size at its scale, a
// symbol the size the environment's font gives it, sitting on the text's baseline) whatever
// it is offered; a resizable one takes what it is offered and stretches to it, its own size
// being its ideal, so aspectRatio/scaledToFit keep its proportions. Symbols are drawn in the
// foreground style, bitmaps as they are.
class Image : public View {
public:
    // The image resource `name` of `bundle` (the main bundle when null): `<name>@2x.png` or
    // `<name>.png` (see Bundle::imageResourcePath). A missing or unreadable image is logged once
    // and takes no space.
    explicit Image(std::string_view name, std::shared_ptr<const foundation::Bundle> bundle = nullptr);
    explicit Image(graphics::Image image);
    // A system symbol of our own icon set (SymbolImage); an unknown name keeps the size of a
    // symbol and draws nothing.
    static Image systemName(std::string_view name);

    Image resizable() const;

    struct Source;

private:
    Image(std::shared_ptr<const Source> source, bool resizable);
    std::shared_ptr<const Source> source_;
    bool resizable_ = false;
};

} // namespace ui
