#include "ui/Image.h"

#include "foundation/Bundle.h"
#include "foundation/Logger.h"
#include "ui/DisplayList.h"
#include "ui/ShapeStyleEnvironment.h"
#include "ui/SymbolImage.h"
#include "ui/TextEnvironment.h"
#include "ui/ViewPrimitive.h"

#include <QPainter>

#include <filesystem>
#include <map>
#include <utility>

namespace ui {

struct Image::Source {
    // A bitmap, or a symbol when `systemName` is set.
    graphics::Image bitmap;
    std::string name;
    std::filesystem::path bundlePath;
    std::optional<std::string> systemName;

    bool operator==(const Source& other) const {
        if (systemName || other.systemName) return systemName == other.systemName;
        if (!name.empty() || !other.name.empty()) return name == other.name && bundlePath == other.bundlePath;
        return bitmap.qImage().cacheKey() == other.bitmap.qImage().cacheKey() &&
               bitmap.scale() == other.bitmap.scale();
    }
};

namespace {

const foundation::Logger& logger() {
    static const foundation::Logger log("ui", "Image");
    return log;
}

// Decoded once per bundle folder and name: bodies make their images anew on every evaluation.
graphics::Image namedImage(const foundation::Bundle& bundle, const std::string& name) {
    static std::map<std::pair<std::filesystem::path, std::string>, graphics::Image> cache;
    const auto key = std::make_pair(bundle.bundlePath(), name);
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    graphics::Image image = graphics::Image::named(bundle, name);
    if (image.isNull()) logger().error("No image named \"{}\" in {}", name, bundle.bundlePath().string());
    cache.emplace(key, image);
    return image;
}

// By the font's point size: view geometry counts one unit per point, whatever the screen.
SymbolMetrics symbolMetrics(const EnvironmentValues& environment) {
    return SymbolImage::metrics(resolvedFont(environment).pointSizeF());
}

class ImageLeaf final : public ViewPrimitive {
public:
    ImageLeaf(std::shared_ptr<const Image::Source> source, bool resizable)
        : source_(std::move(source))
        , resizable_(resizable) {}

    graphics::CGSize sizeThatFits(const ProposedViewSize& proposal,
                                  const EnvironmentValues& environment) const override {
        const auto natural = naturalSize(environment);
        if (!resizable_) return natural;
        return proposal.replacingUnspecifiedDimensions(natural);
    }

    void record(DisplayList& list, const graphics::CGRect& frame,
                const EnvironmentValues& environment) const override {
        const QRectF target = frame.toQRectF();
        if (!source_->systemName) {
            if (source_->bitmap.isNull() || target.isEmpty()) return;
            list.drawImage(target, source_->bitmap.qImage());
            return;
        }
        SymbolImage symbol(*source_->systemName, environment.get<SymbolVariantKey>());
        if (symbol.isEmpty()) return;
        const QColor color = foregroundColor(environment, target);
        const int weight = resolvedFont(environment).weight();
        list.draw(target, [symbol, target, color, weight](QPainter& painter) {
            symbol.draw(painter, target, color, weight);
        });
    }

    bool isEqual(const ViewPrimitive& other) const override {
        const auto* same = dynamic_cast<const ImageLeaf*>(&other);
        return same && same->resizable_ == resizable_ && *same->source_ == *source_;
    }
    std::optional<CGFloat> alignmentGuide(const AlignmentID* id, graphics::CGSize size,
                                          const EnvironmentValues& environment) const override {
        if (!source_->systemName) return std::nullopt;
        if (id != VerticalAlignment::firstTextBaseline.id && id != VerticalAlignment::lastTextBaseline.id)
            return std::nullopt;
        const auto metrics = symbolMetrics(environment);
        const double height = metrics.size.height();
        return height > 0 ? metrics.baseline * size.height / height : 0;
    }
    std::string_view typeName() const override { return "Image"; }

private:
    graphics::CGSize naturalSize(const EnvironmentValues& environment) const {
        if (!source_->systemName) return source_->bitmap.size();
        // Its outline is built on a worker from here, while the rest of the frame is laid out,
        // rather than when the frame is painted.
        SymbolImage(*source_->systemName, environment.get<SymbolVariantKey>())
            .prepare(resolvedFont(environment).weight());
        const QSizeF size = symbolMetrics(environment).size;
        return {size.width(), size.height()};
    }

    std::shared_ptr<const Image::Source> source_;
    bool resizable_;
};

} // namespace

Image::Image(std::shared_ptr<const Source> source, bool resizable)
    : View(std::shared_ptr<const ViewPrimitive>(std::make_shared<ImageLeaf>(source, resizable)))
    , source_(std::move(source))
    , resizable_(resizable) {}

Image::Image(std::string_view name, std::shared_ptr<const foundation::Bundle> bundle)
    : Image(
          [&] {
              const foundation::Bundle& from = bundle ? *bundle : *foundation::Bundle::main();
              auto source = std::make_shared<Source>();
              source->name = std::string(name);
              source->bundlePath = from.bundlePath();
              source->bitmap = namedImage(from, source->name);
              return std::shared_ptr<const Source>(std::move(source));
          }(),
          false) {}

Image::Image(graphics::Image image)
    : Image(
          [&] {
              auto source = std::make_shared<Source>();
              source->bitmap = std::move(image);
              return std::shared_ptr<const Source>(std::move(source));
          }(),
          false) {}

Image Image::systemName(std::string_view name) {
    auto source = std::make_shared<Source>();
    source->systemName = std::string(name);
    return Image(std::move(source), false);
}

Image Image::resizable() const {
    return Image(source_, true);
}

View View::symbolVariant(SymbolVariant variant) const {
    return environment(SymbolVariantKey{}, variant);
}

} // namespace ui
