#include "ui/Label.h"

#include "ui/Image.h"
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
    View evaluate(ViewContext&) const override {
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
