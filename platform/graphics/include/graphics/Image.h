#pragma once

#include "graphics/CGSize.h"

#include <QImage>
#include <QSize>

#include <filesystem>
#include <string_view>

namespace foundation {
class Bundle;
}

namespace graphics {

// Pixels with a point size: a scale-2 image of 64×64 pixels is 32×32 points.
class Image {
public:
    // The null image: no pixels, zero size.
    Image() = default;
    // A scale that is not a positive finite number counts as 1.
    explicit Image(QImage pixels, double scale = 1);

    // The null image when the file is missing or does not decode.
    static Image contentsOfFile(const std::filesystem::path& path, double scale = 1);
    // The bundle's image resource `name`: `<name>@2x.png` at scale 2, else `<name>.png` at
    // scale 1 (see Bundle::imageResourcePath); a double-scale file that does not decode is
    // passed over. `name` is a file name, never a path.
    static Image named(const foundation::Bundle& bundle, std::string_view name);

    bool isNull() const { return pixels_.isNull(); }
    // In points.
    CGSize size() const;
    double scale() const { return scale_; }
    QSize pixelSize() const { return pixels_.size(); }
    const QImage& qImage() const { return pixels_; }

private:
    QImage pixels_;
    double scale_ = 1;
};

} // namespace graphics
