#include "ui/Toggle.h"

#include "ui/EnvironmentKeys.h"
#include "ui/Label.h"
#include "ui/ViewContext.h"

namespace ui {

namespace detail {

namespace {

class ToggleNode final : public CustomNodeBase {
public:
    explicit ToggleNode(ToggleModel model)
        : model_(std::move(model)) {}
    std::string_view typeName() const override { return "Toggle"; }
    const ToggleModel& model() const { return model_; }

    View evaluate(ViewContext& ctx) const override {
        const auto& style = ctx.environment<ToggleStyleKey>();
        const bool hidden = ctx.environment<LabelsHiddenKey>();
        const bool enabled = ctx.environment<IsEnabledKey>();
        // A disabled toggle's style may still call for a change; the binding refuses it.
        Binding<bool> binding = model_.isOn;
        if (!enabled) binding = Binding<bool>([get = model_.isOn] { return get.get(); }, [](bool) {});
        return style.makeBody({hidden ? View() : model_.label, binding.get(), binding})
            .accessibilityAddTraits(AccessibilityTraits::isButton);
    }

private:
    ToggleModel model_;
};

View makeToggle(ToggleModel model) {
    return View(std::make_shared<ToggleNode>(std::move(model)));
}

} // namespace

const ToggleModel* toggleModel(const View& view) {
    const auto* node = view.nodeAs<ToggleNode>();
    return node ? &node->model() : nullptr;
}

} // namespace detail

Toggle::Toggle(Text title, Binding<bool> isOn)
    : Toggle(std::move(isOn), View(std::move(title))) {}

Toggle::Toggle(Text title, std::string systemImage, Binding<bool> isOn)
    : Toggle(std::move(isOn), Label(std::move(title), std::move(systemImage))) {}

Toggle::Toggle(Binding<bool> isOn, View label)
    : View(detail::makeToggle({std::move(label), std::move(isOn)})) {}

} // namespace ui
