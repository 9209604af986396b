#include "LinkTapGesture.h"
#include "ui/AnimatableColor.h"
#include "ui/DisplayList.h"
#include "ui/Element.h"
#include "ui/EnvironmentKeys.h"
#include "ui/TextEnvironment.h"
#include "ui/TextLayout.h"
#include "ui/View.h"
#include "ui/ViewContext.h"
#include "ui/ViewPrimitive.h"

#include <QPainter>

#include <algorithm>
#include <string>
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
        draw(list, frame, environment, {});
    }

    // Each run's colour animates; a new colour only repaints, the lines stay where they are.
    void update(Element& element) const override {
        resolve(element.environment());
        for (std::size_t r = 0; r < runs_.size(); ++r) {
            const AnimatableColor target = AnimatableColor::from(runs_[r].foregroundColor);
            element.animatedAttribute(colorAttribute(r), target, detail::AnimatedEffect::paint)
                .setTarget(target, element.transaction());
        }
    }

    void render(const Element& element, DisplayList& list) const override {
        resolve(element.environment());
        // At rest the runs paint their colours as described, not their round trip through the
        // engine's form.
        std::vector<QColor> shown;
        for (std::size_t r = 0; r < runs_.size(); ++r) {
            const auto* color = element.findAnimatedAttribute<AnimatableColor>(colorAttribute(r));
            if (!color || !color->isAnimating()) continue;
            if (shown.empty())
                for (const auto& run : runs_)
                    shown.push_back(run.foregroundColor);
            shown[r] = color->value().toQColor();
        }
        draw(list, element.frame(), element.environment(), std::move(shown));
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

    static std::string colorAttribute(std::size_t run) { return "foreground." + std::to_string(run); }

    void draw(DisplayList& list, const graphics::CGRect& frame, const EnvironmentValues& environment,
              std::vector<QColor> colors) const {
        const TextLayout laid = layout(frame.width(), frame.height(), environment);
        if (laid.lineCount() == 0) return;
        const QRectF bounds = frame.toQRectF();
        list.draw(bounds, [laid, origin = bounds.topLeft(), colors = std::move(colors)](QPainter& painter) {
            laid.draw(painter, origin, colors);
        });
    }

    void resolve(const EnvironmentValues& environment) const {
        if (environment_ && *environment_ == environment) return;
        environment_ = environment;
        runs_ = text_.resolve(textContext(environment));
        options_ = textLayoutOptions(environment);
        cache_.clear();
    }

    TextLayout layout(std::optional<double> width, std::optional<double> height,
                      const EnvironmentValues& environment) const {
        resolve(environment);
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

// A text that may draw markdown links: clicks on them open their URLs through the environment's
// openURL action. Only texts with links carry the gesture, so others take no clicks of their own.
class LinkedTextNode final : public detail::CustomNodeBase {
public:
    explicit LinkedTextNode(Text text)
        : text_(std::move(text)) {}

    View evaluate(ViewContext& ctx) const override {
        const EnvironmentValues& environment = ctx.environmentValues();
        View leaf(std::shared_ptr<const ViewPrimitive>(std::make_shared<TextLeaf>(text_)));
        auto runs = text_.resolve(textContext(environment));
        const bool hasLink = std::any_of(runs.begin(), runs.end(), [](const auto& run) { return run.link.has_value(); });
        if (!hasLink) return leaf;
        return leaf.gesture(detail::LinkTapGesture(std::move(runs), textLayoutOptions(environment),
                                                   environment.get<OpenURLKey>()));
    }
    bool isEqual(const ViewNode& other) const override {
        const auto* same = dynamic_cast<const LinkedTextNode*>(&other);
        return same && same->text_ == text_;
    }
    std::string_view typeName() const override { return "LinkedText"; }
    std::optional<std::string> text() const override { return text_.string(textContext(EnvironmentValues())); }

private:
    Text text_;
};

} // namespace

View::View(Text text)
    : View(text.isVerbatim()
               ? View(std::shared_ptr<const ViewPrimitive>(std::make_shared<TextLeaf>(std::move(text))))
               : View(std::make_shared<LinkedTextNode>(std::move(text)))) {}

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
