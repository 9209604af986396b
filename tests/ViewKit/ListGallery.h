// The list building blocks together, for looking at by eye: rendered offscreen and shown in a
// window on a virtual screen.
#pragma once

#include "ViewKit/ListAction.h"
#include "ViewKit/ListCard.h"
#include "ViewKit/ListHeader.h"
#include "ViewKit/ListSectionTitle.h"
#include "ViewKit/ListShelfSection.h"
#include "ViewKit/NavigationButton.h"
#include "ViewKit/TextEditorStyle.h"

#include "ui/Color.h"
#include "ui/Button.h"
#include "ui/Font.h"
#include "ui/ForEach.h"
#include "ui/Image.h"
#include "ui/Stack.h"
#include "ui/Text.h"

#include <QImage>
#include <QPainter>

#include <string>

namespace viewkit_testing {


inline ui::Image headerImage() {
    QImage pixels(120, 60, QImage::Format_ARGB32_Premultiplied);
    pixels.fill(QColor(0x2f, 0x80, 0xed));
    QPainter painter(&pixels);
    painter.setBrush(QColor(0xf2, 0xc9, 0x4c));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(40, 10, 40, 40));
    painter.end();
    return ui::Image(graphics::Image(pixels));
}

inline ui::View card(const std::string& title) {
    return ViewKit::ListCard([title] { return ui::View(ui::Text::verbatim(title)).padding(12); },
                             [] { return ui::View(ui::Button("Rename", [] {})); });
}

inline ui::View editor(const std::string& text, const ViewKit::TextEditorStyle& style) {
    const ui::Binding<std::string> binding([text] { return text; }, [](std::string) {});
    return ViewKit::textEditorStyle(ui::TextEditor(binding), style).frame(80, 44);
}

inline ui::View gallery() {
    return ui::VStack(
        ui::HorizontalAlignment::leading, 10,
        {ViewKit::listHeader(headerImage(), 60),
         ViewKit::ListSectionTitle{"Today", nullptr, true},
         ui::HStack(ui::VerticalAlignment::center, 12, {card("Buy milk"), card("Call the bank")}).padding(16),
         ViewKit::ListSubtitle{"Two goals left, one of them with a rather long subtitle that gets cut", nullptr},
         ViewKit::ListShelfSection(
             20, [] { return ui::View(ui::Text::verbatim("Shelf")).font(ui::Font::headline()); },
             [] { return ui::ForEach(1, 8, [](int i) { return card("Item " + std::to_string(i)); }); }),
         ui::View(ViewKit::NavigationButton{[] {}, [] { return ui::View(ui::Text::verbatim("Settings")); }})
             .padding(ui::EdgeSet::horizontal, 16),
         ui::HStack(ui::VerticalAlignment::center, 16,
                    {ViewKit::ListAction::call("+49 30 1234").button(), ViewKit::ListAction::copy("text").button(),
                     ViewKit::ListAction::email("a@b.org").button(),
                     ViewKit::ListAction::open("https://example.org").button()})
             .padding(ui::EdgeSet::horizontal, 16),
         ui::HStack(ui::VerticalAlignment::center, 12,
                    {editor("automatic", ViewKit::TextEditorStyle::automatic()),
                     editor("plain", ViewKit::TextEditorStyle::plain()),
                     editor("rounded", ViewKit::TextEditorStyle::roundedBorder()),
                     editor("coloured", ViewKit::TextEditorStyle::roundedColorBorder(ui::Color::accentColor, 2))})
             .padding(16)});
}

} // namespace viewkit_testing
