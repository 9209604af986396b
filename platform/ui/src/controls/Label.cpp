#include "ui/Label.h"

#include "ui/Image.h"
#include "ui/LabelStyle.h"
#include "ui/Stack.h"
#include "ui/ViewContext.h"

namespace ui {

namespace detail {

namespace {

class LabelNode final : public CustomNodeBase {
public:
    explicit LabelNode(LabelModel model)
        : model_(std::move(model)) {}
    std::string_view typeName() const override { return "Label"; }
    const LabelModel& model() const { return model_; }
    View evaluate(ViewContext& ctx) const override {
        const bool hasIcon = model_.icon.node() && model_.icon.node()->typeName() != "EmptyView";
        switch (ctx.environment<LabelStyleKey>()) {
        case LabelStyle::iconOnly:
            // Without its title the icon still names itself to assistive technologies.
            if (hasIcon) return model_.icon.accessibilityLabel(model_.title);
            return View(model_.title);
        case LabelStyle::titleOnly:
            return View(model_.title);
        case LabelStyle::titleAndIcon:
            break;
        }
        return HStack(VerticalAlignment::center, 5, {model_.icon, View(model_.title)});
    }

private:
    LabelModel model_;
};

} // namespace

const LabelModel* labelModel(const View& view) {
    const auto* node = view.nodeAs<LabelNode>();
    return node ? &node->model() : nullptr;
}

View makeLabel(LabelModel model) {
    return View(std::make_shared<LabelNode>(std::move(model)));
}

} // namespace detail

Label::Label(Text title, std::string systemImage)
    : View(detail::makeLabel({std::move(title), Image::systemName(systemImage), std::move(systemImage)})) {}

Label::Label(Text title, View icon)
    : View(detail::makeLabel({std::move(title), std::move(icon), {}})) {}

} // namespace ui
