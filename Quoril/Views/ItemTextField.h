#pragma once

#include "Model/Item.h"

#include "desktop/TextView.h"
#include "desktop/TextViewDelegate.h"
#include "graphics/CGFloat.h"
#include "ui/Binding.h"
#include "ui/Representable.h"

#include <functional>
#include <memory>
#include <string_view>

namespace quoril {

// Edits a goal's title in place: a hosted field editor whose text is stored in the goal when
// editing ends (an editor left empty deletes its goal instead), that turns Return in a title
// into a request for the next goal and Escape into the end of editing, and that reports the
// height of its text so the row grows with it.
struct ItemTextField {
    using WidgetType = desktop::TextView;

    std::shared_ptr<Item> item;
    ui::Binding<bool> addingItem;
    ui::Binding<graphics::CGFloat> minHeight;
    std::function<void()> deleteAction;

    // The text view's delegate; holds the bindings, not their values.
    class Coordinator : public desktop::TextViewDelegate {
    public:
        Coordinator(std::shared_ptr<Item> item, ui::Binding<bool> addingItem,
                    ui::Binding<graphics::CGFloat> minHeight, std::function<void()> deleteAction);

        void textDidBeginEditing(const desktop::TextViewNotification& notification) override;
        void textDidChange(const desktop::TextViewNotification& notification) override;
        void textDidEndEditing(const desktop::TextViewNotification& notification) override;
        bool doCommandBySelector(desktop::TextView& textView, std::string_view selector) override;

    private:
        std::shared_ptr<Item> item_;
        ui::Binding<bool> addingItem_;
        ui::Binding<graphics::CGFloat> minHeight_;
        std::function<void()> deleteAction_;
    };

    std::shared_ptr<Coordinator> makeCoordinator() const;
    std::unique_ptr<desktop::TextView> makeWidget(const ui::RepresentableContext<ItemTextField>& context) const;
    // Colours the text by the goal's flags; the text itself is set only when the view is made.
    void updateWidget(desktop::TextView& textView, const ui::RepresentableContext<ItemTextField>& context) const;
};

} // namespace quoril
