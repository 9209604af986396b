#include "Views/ItemTextField.h"

#include "Views/Utilities.h"

#include "desktop/LayoutManager.h"
#include "desktop/TextContainer.h"
#include "desktop/Window.h"
#include "ui/ColorScheme.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Font.h"
#include "ui/FontContext.h"
#include "ui/StyleContext.h"

#include <utility>

namespace quoril {

namespace {

constexpr double systemFontSize = 13;

ui::Font titleFont() {
    return ui::Font::system(systemFontSize, ui::Font::Weight::medium, ui::Font::Design::rounded);
}

} // namespace

ItemTextField::Coordinator::Coordinator(std::shared_ptr<Item> item, ui::Binding<bool> addingItem,
                                        ui::Binding<graphics::CGFloat> minHeight,
                                        std::function<void()> deleteAction)
    : item_(std::move(item))
    , addingItem_(std::move(addingItem))
    , minHeight_(std::move(minHeight))
    , deleteAction_(std::move(deleteAction)) {}

void ItemTextField::Coordinator::textDidBeginEditing(const desktop::TextViewNotification&) {
    addingItem_.set(false);
}

void ItemTextField::Coordinator::textDidChange(const desktop::TextViewNotification& notification) {
    desktop::TextView* textView = notification.object;
    if (!textView || !textView->layoutManager() || !textView->textContainer()) return;
    auto& layout = *textView->layoutManager();
    auto& container = *textView->textContainer();
    layout.ensureLayoutForTextContainer(container);
    // As tall as the text; as wide as the row gives it, as the text wraps at that width.
    const auto used = layout.usedRectForTextContainer(container);
    textView->setFrame({used.origin, {textView->frame().width(), used.height()}});
    minHeight_.set(layout.usedRectForTextContainer(container).height());
}

void ItemTextField::Coordinator::textDidEndEditing(const desktop::TextViewNotification& notification) {
    desktop::TextView* textView = notification.object;
    if (!textView) return;
    // A goal deleted meanwhile (burnt, say) takes nothing more: neither the text nor a deletion.
    if (item_->isDeleted()) return;
    const std::string text = textView->string();
    if (!text.empty()) {
        item_->setTitle(text);
    } else if (deleteAction_) {
        deleteAction_();
    }
}

bool ItemTextField::Coordinator::doCommandBySelector(desktop::TextView& textView, std::string_view selector) {
    if (selector == "insertNewline:") {
        if (textView.string().empty()) return false;
        addingItem_.set(true);
        return true;
    }
    if (selector == "cancelOperation:") {
        if (!item_->title().empty()) {
            if (auto window = textView.window()) window->makeFirstResponder(nullptr);
        } else if (deleteAction_) {
            deleteAction_();
        }
        return true;
    }
    return false;
}

std::shared_ptr<ItemTextField::Coordinator> ItemTextField::makeCoordinator() const {
    return std::make_shared<Coordinator>(item, addingItem, minHeight, deleteAction);
}

std::unique_ptr<desktop::TextView>
ItemTextField::makeWidget(const ui::RepresentableContext<ItemTextField>& context) const {
    auto textView = std::make_unique<desktop::TextView>();
    textView->setDelegate(context.coordinator);
    textView->setString(item->title());
    textView->setBackgroundColor(ui::Color::clear);
    textView->setFocusRingType(desktop::TextView::FocusRingType::none);
    textView->setFieldEditor(true);
    textView->setVerticallyResizable(true);

    ui::StyleContext style;
    style.colorScheme = context.environment.get<ui::ColorSchemeKey>();
    const QFont placeholderFont =
        ui::Font::system(systemFontSize, ui::Font::Weight::medium).resolveForWidget(ui::FontContext{});
    textView->setPlaceholderAttributedString(
        {ui::AttributedRun{"New Item", placeholderFont, ui::Color::secondary.resolve(style).toQColor()}});
    textView->setWritingToolsBehavior(ui::WritingToolsBehavior::disabled);
    if (auto* container = textView->textContainer())
        textView->layoutManager()->ensureLayoutForTextContainer(*container);
    textView->setFont(titleFont());
    return textView;
}

void ItemTextField::updateWidget(desktop::TextView& textView,
                                 const ui::RepresentableContext<ItemTextField>& context) const {
    textView.setColorScheme(context.environment.get<ui::ColorSchemeKey>());
    if (item->completed())
        textView.setTextColor(Utilities::accentColor());
    else if (item->inProgress())
        textView.setTextColor(ui::Color::primary);
    else
        textView.setTextColor(ui::Color::primary.opacity(0.7));
}

} // namespace quoril
