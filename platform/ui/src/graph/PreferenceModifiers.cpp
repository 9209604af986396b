#include "graph/PreferenceCollectors.h"

#include "ui/Element.h"
#include "ui/Graph.h"
#include "ui/Layout.h"
#include "ui/ViewNodes.h"

namespace ui {

namespace {

// Adds to or changes what its content hands up.
class CollectNode final : public detail::TransparentWrapperNode {
public:
    CollectNode(View content, std::function<void(const Element&, PreferenceValues&)> collect)
        : TransparentWrapperNode(std::move(content))
        , collect_(std::move(collect)) {}
    std::string_view typeName() const override { return "Preference"; }
    void collectPreferences(const Element& element, PreferenceValues& values) const override {
        collect_(element, values);
    }

private:
    std::function<void(const Element&, PreferenceValues&)> collect_;
};

struct LastPreference {
    PreferenceValues values;
    bool seen = false;
};

class PreferenceChangeNode final : public detail::TransparentWrapperNode {
public:
    PreferenceChangeNode(View content, detail::KeyID key, std::function<void(const PreferenceValues&)> action)
        : TransparentWrapperNode(std::move(content))
        , key_(key)
        , action_(std::move(action)) {}
    std::string_view typeName() const override { return "OnPreferenceChange"; }
    void collectPreferences(const Element& element, PreferenceValues& values) const override {
        auto last = const_cast<Element&>(element).slot<LastPreference>(
            "\x01onPreferenceChange", [] { return std::make_shared<LastPreference>(); });
        if (last->seen && last->values.sameValue(key_, values)) return;
        last->seen = true;
        last->values = values;
        element.graph().enqueueAction([action = action_, values] { action(values); });
    }

private:
    detail::KeyID key_;
    std::function<void(const PreferenceValues&)> action_;
};

// An overlay or background made from the preferences its primary content collected: read
// after layout, and made again (in the same update) when the value changed.
class PreferenceReaderNode final : public ViewNode {
public:
    PreferenceReaderNode(View primary, detail::KeyID key,
                         std::function<View(const PreferenceValues&)> content, Alignment alignment,
                         bool inFront)
        : primary_(std::move(primary))
        , key_(key)
        , content_(std::move(content))
        , alignment_(alignment)
        , inFront_(inFront) {}
    std::string_view typeName() const override {
        return inFront_ ? "OverlayPreferenceValue" : "BackgroundPreferenceValue";
    }

    static std::shared_ptr<LastPreference> last(Element& element) {
        return element.slot<LastPreference>("\x01preferenceReader",
                                            [] { return std::make_shared<LastPreference>(); });
    }
    Element* primary(Element& element) const { return element.children()[inFront_ ? 0 : 1].get(); }
    Element* secondary(Element& element) const { return element.children()[inFront_ ? 1 : 0].get(); }

    void update(Element& element) const override {
        detail::reconcileLayered(element, primary_, content_(last(element)->values), inFront_);
    }
    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override {
        return detail::contentSize(detail::flatten(*primary(element)), proposal);
    }
    void placeChildren(Element& element, const ProposedViewSize& proposal) const override {
        const auto frame = element.layoutFrame();
        detail::placeContent(detail::flatten(*primary(element)), frame, proposal, Alignment::center);
        detail::placeContent(detail::flatten(*secondary(element)), frame, ProposedViewSize(frame.size),
                             alignment_, true);
    }
    void collectPreferences(const Element& element, PreferenceValues&) const override {
        auto& self = const_cast<Element&>(element);
        const auto& values = primary(self)->preferences();
        auto stored = last(self);
        const bool unchanged = stored->seen ? stored->values.sameValue(key_, values) : !values.find(key_);
        stored->seen = true;
        if (unchanged) return;
        stored->values = values;
        self.invalidate(Transaction::current());
    }

private:
    View primary_;
    detail::KeyID key_;
    std::function<View(const PreferenceValues&)> content_;
    Alignment alignment_;
    bool inFront_;
};

} // namespace

bool detail::collectsWithElement(const ViewNode& node) {
    return typeid(node) == typeid(CollectNode);
}

View View::collectErased(std::function<void(const Element&, PreferenceValues&)> collect) const {
    return apply(
        [collect](View content) { return View(std::make_shared<CollectNode>(std::move(content), collect)); });
}

View View::onPreferenceChangeErased(detail::KeyID key,
                                    std::function<void(const PreferenceValues&)> action) const {
    return View(std::make_shared<PreferenceChangeNode>(*this, key, std::move(action)));
}

View View::preferenceReaderErased(detail::KeyID key, std::function<View(const PreferenceValues&)> content,
                                  Alignment alignment, bool overlay) const {
    return View(std::make_shared<PreferenceReaderNode>(*this, key, std::move(content), alignment, overlay));
}

} // namespace ui
