#include "ui/Element.h"
#include "ui/EnvironmentKeys.h"
#include "ui/ViewNodes.h"

namespace ui {

namespace {

// Changes the environment of its content, and so of every descendant of it.
class EnvironmentNode final : public detail::TransparentWrapperNode {
public:
    EnvironmentNode(View content, std::function<void(EnvironmentValues&)> change)
        : TransparentWrapperNode(std::move(content))
        , change_(std::move(change)) {}
    std::string_view typeName() const override { return "Environment"; }
    void change(EnvironmentValues& values) const { change_(values); }
    void update(Element& element) const override {
        EnvironmentValues values = element.environment();
        change_(values);
        element.reconcile({ChildSpec{content_, {}, std::move(values)}});
    }

private:
    std::function<void(EnvironmentValues&)> change_;
};

} // namespace

bool detail::applyEnvironmentChange(const ViewNode& node, EnvironmentValues& values) {
    const auto* environment = dynamic_cast<const EnvironmentNode*>(&node);
    if (!environment) return false;
    environment->change(values);
    return true;
}

View View::environmentErased(detail::KeyID key, detail::EquatableValue value) const {
    return transformEnvironmentErased(
        [key, value](EnvironmentValues& values) { values.setErased(key, value); });
}

View View::environment(EnvironmentValues whole) const {
    return transformEnvironmentErased([whole](EnvironmentValues& values) { values = whole; });
}

View View::transformEnvironmentErased(std::function<void(EnvironmentValues&)> transform) const {
    return apply([transform](View content) {
        return View(std::make_shared<EnvironmentNode>(std::move(content), transform));
    });
}

View View::disabled(bool disabled) const {
    return transformEnvironment(IsEnabledKey{},
                                [disabled](bool& enabled) { enabled = enabled && !disabled; });
}

View View::preferredColorScheme(std::optional<ColorScheme> scheme) const {
    return preference(PreferredColorSchemeKey{}, scheme);
}

} // namespace ui
