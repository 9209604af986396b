#include "ui/ColorScheme.h"
#include "ui/Menu.h"

#include "ControlLook.h"
#include "PressGesture.h"
#include "ui/Label.h"
#include "ui/MenuModel.h"
#include "ui/Path.h"
#include "ui/PopupPresenter.h"
#include "ui/RoundedRectangle.h"
#include "ui/Shape.h"
#include "ui/ShapeView.h"
#include "ui/Stack.h"
#include "ui/ViewContext.h"

namespace ui {

namespace detail {

namespace {

struct DownChevron : Shape<DownChevron> {
    Path path(const graphics::CGRect& r) const {
        Path p;
        p.move({r.origin.x, r.origin.y + r.size.height * 0.25});
        p.addLine({r.origin.x + r.size.width / 2, r.origin.y + r.size.height * 0.75});
        p.addLine({r.origin.x + r.size.width, r.origin.y + r.size.height * 0.25});
        return p;
    }
};

class MenuNode final : public CustomNodeBase {
public:
    explicit MenuNode(MenuViewModel model)
        : model_(std::move(model)) {}
    std::string_view typeName() const override { return "Menu"; }
    const MenuViewModel& model() const { return model_; }

    View evaluate(ViewContext& ctx) const override {
        const auto metrics = controlMetrics(ctx.environment<ControlSizeKey>());
        const bool enabled = ctx.environment<IsEnabledKey>();
        auto presenter = ctx.environment<PopupPresenterKey>();
        auto pressed = ctx.state<bool>("isPressed", false);
        const RoundedRectangle shape(metrics.cornerRadius);
        auto open = [presenter, content = model_.content, ref = ctx.element().reference()] {
            auto alive = ref.lock();
            if (!presenter || !alive || !alive->element) return;
            auto menu = MenuModel::from(content);
            menu.colorScheme = alive->element->environment().get<ColorSchemeKey>();
            presenter->presentMenu(std::move(menu), alive->element->frame());
        };
        View label = model_.label.lineLimit(1);
        if (metrics.font) label = label.font(metrics.font);
        View chevron = DownChevron()
                           .stroke(systemColor("secondaryLabelColor"),
                                   StrokeStyle{.lineWidth = 1.3,
                                               .lineCap = graphics::CGLineCap::round,
                                               .lineJoin = graphics::CGLineJoin::round})
                           .frame(7, 7);
        return HStack(VerticalAlignment::center, 6, {std::move(label), std::move(chevron)})
            .foregroundStyle(systemColor("labelColor"))
            .padding(EdgeInsets{metrics.verticalPadding, metrics.horizontalPadding, metrics.verticalPadding,
                                metrics.horizontalPadding - 2})
            .frame(FlexibleFrame{.minHeight = metrics.minHeight})
            .background(ZStack({shape.fill(systemColor("controlColor")).shadow(Color::black.opacity(0.12), 0.5, 0, 0.5),
                                shape.strokeBorder(systemColor("separatorColor"), 1),
                                shape.fill(Color::black.opacity(*pressed ? 0.15 : 0))}))
            .contentShape(shape)
            .gesture(PressGesture(open, [pressed](bool down) { pressed.set(down); }))
            .opacity(enabled ? 1 : disabledOpacity)
            .accessibilityAddTraits(AccessibilityTraits::isButton);
    }

private:
    MenuViewModel model_;
};

} // namespace

const MenuViewModel* menuViewModel(const View& view) {
    const auto* node = view.nodeAs<MenuNode>();
    return node ? &node->model() : nullptr;
}

} // namespace detail

Menu::Menu(Text title, View content)
    : Menu(std::move(content), View(std::move(title))) {}

Menu::Menu(Text title, std::string systemImage, View content)
    : Menu(std::move(content), Label(std::move(title), std::move(systemImage))) {}

Menu::Menu(View content, View label)
    : View(std::make_shared<detail::MenuNode>(detail::MenuViewModel{std::move(label), std::move(content)})) {}

} // namespace ui
