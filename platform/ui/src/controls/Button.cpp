#include "ui/Button.h"

#include "PressGesture.h"
#include "ui/EventTargets.h"
#include "ui/Label.h"
#include "ui/ViewContext.h"

namespace ui {

namespace detail {

namespace {

class ButtonNode final : public CustomNodeBase {
public:
    explicit ButtonNode(ButtonModel model)
        : model_(std::move(model)) {}
    std::string_view typeName() const override { return "Button"; }
    // Found as a ui::Button (TestHost::findAllType); still unique to this node for reuse.
    std::type_index kind() const override { return typeid(Button); }
    const ButtonModel& model() const { return model_; }

    View evaluate(ViewContext& ctx) const override {
        auto pressed = ctx.state<bool>("isPressed", false);
        const auto& style = ctx.environment<ButtonStyleKey>();
        const auto action = model_.action;
        View body = style.makeBody({model_.label, model_.role, *pressed})
                        .gesture(PressGesture([action] { if (action) action(); },
                                              [pressed](bool down) { pressed.set(down); }))
                        .accessibilityAddTraits(AccessibilityTraits::isButton);
        return keyboardShortcutTarget(std::move(body), [action] {
            if (action) action();
        });
    }

private:
    ButtonModel model_;
};

View makeButton(ButtonModel model) {
    return View(std::make_shared<ButtonNode>(std::move(model)));
}

} // namespace

const ButtonModel* buttonModel(const View& view) {
    const auto* node = view.nodeAs<ButtonNode>();
    return node ? &node->model() : nullptr;
}

} // namespace detail

Button::Button(Text title, Action action)
    : Button(std::nullopt, std::move(action), View(std::move(title))) {}

Button::Button(Text title, std::optional<ButtonRole> role, Action action)
    : Button(role, std::move(action), View(std::move(title))) {}

Button::Button(Text title, std::string systemImage, Action action)
    : Button(std::nullopt, std::move(action), Label(std::move(title), std::move(systemImage))) {}

Button::Button(Action action, View label)
    : Button(std::nullopt, std::move(action), std::move(label)) {}

Button::Button(std::optional<ButtonRole> role, Action action, View label)
    : View(detail::makeButton({std::move(label), role, std::move(action)})) {}

} // namespace ui
