#include "ui/DisplayList.h"
#include "ui/EnvironmentKeys.h"
#include "ui/TextEnvironment.h"
#include "ui/TextLayout.h"
#include "ui/View.h"
#include "ui/ViewPrimitive.h"

#include <QPainter>

#include <utility>
#include <vector>

namespace ui {

namespace {

// Text as a leaf. Parents measure a text several times per pass and the renderer draws it
// every frame, so the runs and the last few layouts are kept while the environment stays.
class TextLeaf final : public ViewPrimitive {
public:
    explicit TextLeaf(Text text)
        : text_(std::move(text)) {}

    graphics::CGSize sizeThatFits(const ProposedViewSize& proposal,
                                  const EnvironmentValues& environment) const override {
        const QSizeF size = layout(proposal.width, proposal.height, environment).size();
        return {size.width(), size.height()};
    }

    void record(DisplayList& list, const graphics::CGRect& frame,
                const EnvironmentValues& environment) const override {
        const TextLayout laid = layout(frame.width(), frame.height(), environment);
        if (laid.lineCount() == 0) return;
        const QRectF bounds = frame.toQRectF();
        list.draw(bounds,
                  [laid, origin = bounds.topLeft()](QPainter& painter) { laid.draw(painter, origin); });
    }

    bool isEqual(const ViewPrimitive& other) const override {
        const auto* same = dynamic_cast<const TextLeaf*>(&other);
        return same && same->text_ == text_;
    }
    std::optional<std::string> text() const override {
        return text_.string(textContext(EnvironmentValues()));
    }
    std::optional<CGFloat> alignmentGuide(const AlignmentID* id, graphics::CGSize size,
                                          const EnvironmentValues& environment) const override {
        if (id == VerticalAlignment::firstTextBaseline.id)
            return layout(size.width, size.height, environment).firstBaseline();
        if (id == VerticalAlignment::lastTextBaseline.id)
            return layout(size.width, size.height, environment).lastBaseline();
        return std::nullopt;
    }
    std::string_view typeName() const override { return "Text"; }

private:
    struct Cached {
        std::optional<double> width, height;
        TextLayout layout;
    };

    TextLayout layout(std::optional<double> width, std::optional<double> height,
                      const EnvironmentValues& environment) const {
        if (!environment_ || !(*environment_ == environment)) {
            environment_ = environment;
            runs_ = text_.resolve(textContext(environment));
            options_ = textLayoutOptions(environment);
            cache_.clear();
        }
        for (const auto& cached : cache_) {
            if (cached.width == width && cached.height == height) return cached.layout;
        }
        TextLayout made(runs_, options_, width, height);
        if (cache_.size() >= 6) cache_.erase(cache_.begin());
        cache_.push_back({width, height, made});
        return made;
    }

    Text text_;
    // Main thread only, like the rest of the graph.
    mutable std::optional<EnvironmentValues> environment_;
    mutable std::vector<AttributedRun> runs_;
    mutable TextLayoutOptions options_;
    mutable std::vector<Cached> cache_;
};

} // namespace

View::View(Text text)
    : View(std::shared_ptr<const ViewPrimitive>(std::make_shared<TextLeaf>(std::move(text)))) {}

View View::font(std::optional<Font> font) const {
    return environment(FontKey{}, std::move(font));
}

View View::fontDesign(std::optional<Font::Design> design) const {
    return environment(FontDesignKey{}, design);
}

View View::fontWeight(std::optional<Font::Weight> weight) const {
    return environment(FontWeightKey{}, weight);
}

View View::lineLimit(std::optional<int> limit) const {
    return environment(LineLimitKey{}, limit);
}

View View::multilineTextAlignment(TextAlignment alignment) const {
    return environment(MultilineTextAlignmentKey{}, alignment);
}

View View::truncationMode(TextTruncationMode mode) const {
    return environment(TruncationModeKey{}, mode);
}

View View::textCase(std::optional<TextCase> textCase) const {
    return environment(TextCaseKey{}, textCase);
}

} // namespace ui
