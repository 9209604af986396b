#include "ui/ColorScheme.h"
#include "ui/Picker.h"

#include "ControlLook.h"
#include "PressGesture.h"
#include "ui/Circle.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Image.h"
#include "ui/Path.h"
#include "ui/PopupPresenter.h"
#include "ui/Rectangle.h"
#include "ui/RoundedRectangle.h"
#include "ui/Shape.h"
#include "ui/ShapeView.h"
#include "ui/Stack.h"
#include "ui/TintShapeStyle.h"
#include "ui/ViewContext.h"

namespace ui::detail {

namespace {

using Options = std::vector<PickerOption>;

// Two small chevrons, one up and one down, as pop-up buttons show.
struct UpDownChevrons : Shape<UpDownChevrons> {
    Path path(const graphics::CGRect& r) const {
        Path p;
        const CGFloat midX = r.origin.x + r.size.width / 2;
        const CGFloat w = r.size.width / 2, h = r.size.height;
        p.move({midX - w, r.origin.y + h * 0.38});
        p.addLine({midX, r.origin.y + h * 0.08});
        p.addLine({midX + w, r.origin.y + h * 0.38});
        p.move({midX - w, r.origin.y + h * 0.62});
        p.addLine({midX, r.origin.y + h * 0.92});
        p.addLine({midX + w, r.origin.y + h * 0.62});
        return p;
    }
};

View selectable(View row, const PickerSelection& selection, const foundation::AnyHashable& tag) {
    return row.contentShape(Rectangle()).gesture(PressGesture([set = selection.set, tag] { set(tag); }));
}

// All options stacked with only the chosen one shown, so the button is as wide as the widest.
View chosenLabel(const Options& options, std::optional<std::size_t> chosen) {
    std::vector<View> layers;
    for (std::size_t i = 0; i < options.size(); ++i) {
        View label = options[i].label.lineLimit(1);
        layers.push_back(chosen == i ? label : label.hidden());
    }
    return ZStack(Alignment::leading, std::move(layers));
}

View menuStyle(ViewContext& ctx, const PickerModel& model, const Options& options, std::optional<std::size_t> chosen) {
    const auto metrics = controlMetrics(ctx.environment<ControlSizeKey>());
    auto presenter = ctx.environment<PopupPresenterKey>();
    const RoundedRectangle shape(metrics.cornerRadius);
    View label = chosenLabel(options, chosen);
    if (metrics.font) label = label.font(metrics.font);
    View indicator = ZStack({RoundedRectangle(metrics.cornerRadius - 1).fill(TintShapeStyle{}),
                             UpDownChevrons().stroke(Color::white, StrokeStyle{.lineWidth = 1.3,
                                                                               .lineCap = graphics::CGLineCap::round,
                                                                               .lineJoin = graphics::CGLineJoin::round})
                                 .frame(6, 10)})
                         .frame(metrics.minHeight - 6, metrics.minHeight - 6);
    auto open = [presenter, ref = ctx.element().reference(), selection = model.selection, options, chosen] {
        auto alive = ref.lock();
        if (!presenter || !alive || !alive->element) return;
        MenuModel menu;
        for (std::size_t i = 0; i < options.size(); ++i) {
            MenuItem item = MenuItem::labelled(options[i].label);
            item.isChecked = chosen == i;
            item.action = [set = selection.set, tag = options[i].tag] { set(tag); };
            menu.items.push_back(std::move(item));
        }
        menu.colorScheme = alive->element->environment().get<ColorSchemeKey>();
        presenter->presentMenu(std::move(menu), alive->element->frame());
    };
    return HStack(VerticalAlignment::center, 8, {std::move(label), std::move(indicator)})
        .foregroundStyle(systemColor("labelColor"))
        .padding(EdgeInsets{2, metrics.horizontalPadding, 2, 3})
        .frame(FlexibleFrame{.minHeight = metrics.minHeight})
        .background(ZStack({shape.fill(systemColor("controlColor")).shadow(Color::black.opacity(0.12), 0.5, 0, 0.5),
                            shape.strokeBorder(systemColor("separatorColor"), 1)}))
        .contentShape(shape)
        .gesture(PressGesture(open));
}

View segmentedStyle(ViewContext& ctx, const PickerModel& model, const Options& options,
                    std::optional<std::size_t> chosen) {
    const auto metrics = controlMetrics(ctx.environment<ControlSizeKey>());
    std::vector<View> segments;
    for (std::size_t i = 0; i < options.size(); ++i) {
        const bool on = chosen == i;
        View segment = options[i].label.lineLimit(1).padding(
            EdgeInsets{metrics.verticalPadding, metrics.horizontalPadding + 2, metrics.verticalPadding,
                       metrics.horizontalPadding + 2});
        if (metrics.font) segment = segment.font(metrics.font);
        segment = segment.foregroundStyle(on ? AnyShapeStyle(Color::white) : AnyShapeStyle(systemColor("labelColor")))
                      .frame(FlexibleFrame{.minHeight = metrics.minHeight - 2})
                      .background(on ? View(RoundedRectangle(metrics.cornerRadius - 1).fill(TintShapeStyle{}))
                                     : View());
        segments.push_back(selectable(std::move(segment), model.selection, options[i].tag));
        // A hairline between two segments neither of which is chosen.
        if (i + 1 < options.size()) {
            const bool line = !on && chosen != i + 1;
            segments.push_back(Rectangle()
                                   .fill(line ? systemColor("separatorColor") : Color::clear)
                                   .frame(1, metrics.minHeight - 10));
        }
    }
    const RoundedRectangle shape(metrics.cornerRadius);
    return HStack(VerticalAlignment::center, 0, std::move(segments))
        .padding(1)
        .background(ZStack({shape.fill(systemColor("controlColor")).shadow(Color::black.opacity(0.12), 0.5, 0, 0.5),
                            shape.strokeBorder(systemColor("separatorColor"), 1)}));
}

View listStyle(const PickerModel& model, const Options& options, std::optional<std::size_t> chosen, bool radio) {
    std::vector<View> rows;
    for (std::size_t i = 0; i < options.size(); ++i) {
        const bool on = chosen == i;
        View mark;
        if (radio) {
            mark = on ? View(ZStack({Circle().fill(TintShapeStyle{}), Circle().fill(Color::white).frame(5, 5)}))
                      : View(ZStack({Circle().fill(systemColor("controlColor")),
                                     Circle().strokeBorder(systemColor("separatorColor"), 1)}));
            mark = mark.frame(14, 14);
        } else {
            View check = Image::systemName("checkmark").font(Font::system(11, Font::Weight::semibold));
            mark = (on ? check : check.hidden()).frame(14, 14);
        }
        View row = HStack(VerticalAlignment::center, 6, {std::move(mark), options[i].label.lineLimit(1)});
        rows.push_back(selectable(std::move(row), model.selection, options[i].tag));
    }
    return VStack(HorizontalAlignment::leading, radio ? 6 : 4, std::move(rows));
}

class PickerNode final : public CustomNodeBase {
public:
    explicit PickerNode(PickerModel model)
        : model_(std::move(model)) {}
    std::string_view typeName() const override { return "Picker"; }
    const PickerModel& model() const { return model_; }

    View evaluate(ViewContext& ctx) const override {
        const auto options = pickerOptions(model_.content);
        const auto chosen = selectedOption(options, model_.selection.get());
        const bool enabled = ctx.environment<IsEnabledKey>();
        View control;
        switch (ctx.environment<PickerStyleKey>().kind()) {
        case PickerStyle::Kind::automatic:
        case PickerStyle::Kind::menu:
            control = menuStyle(ctx, model_, options, chosen);
            break;
        case PickerStyle::Kind::segmented:
            control = segmentedStyle(ctx, model_, options, chosen);
            break;
        case PickerStyle::Kind::inlineList:
            control = listStyle(model_, options, chosen, false);
            break;
        case PickerStyle::Kind::radioGroup:
            control = listStyle(model_, options, chosen, true);
            break;
        }
        control = control.opacity(enabled ? 1 : disabledOpacity);
        if (ctx.environment<LabelsHiddenKey>()) return control;
        // A list of options starts level with the label; a single control sits centred on it.
        const auto kind = ctx.environment<PickerStyleKey>().kind();
        const bool list = kind == PickerStyle::Kind::inlineList || kind == PickerStyle::Kind::radioGroup;
        return HStack(list ? VerticalAlignment::top : VerticalAlignment::center, 8, {model_.label, std::move(control)});
    }

private:
    PickerModel model_;
};

} // namespace

const PickerModel* pickerModel(const View& view) {
    const auto* node = view.nodeAs<PickerNode>();
    return node ? &node->model() : nullptr;
}

std::vector<PickerOption> pickerOptions(const View& content) {
    std::vector<PickerOption> options;
    for (const auto& child : content.enumerateChildren()) {
        if (auto tag = child.tagValue()) options.push_back({std::move(*tag), child});
    }
    return options;
}

std::optional<std::size_t> selectedOption(const std::vector<PickerOption>& options,
                                          const foundation::AnyHashable& selection) {
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (options[i].tag == selection) return i;
    }
    return std::nullopt;
}

View makePicker(PickerModel model) {
    return View(std::make_shared<PickerNode>(std::move(model)));
}

} // namespace ui::detail
