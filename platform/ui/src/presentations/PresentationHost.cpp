#include "ui/PresentationHost.h"

#include "controls/ControlLook.h"

#include "ui/Accessibility.h"

#include "ui/Button.h"
#include "ui/ButtonStyle.h"
#include "ui/Color.h"
#include "ui/Element.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Font.h"
#include "ui/Rectangle.h"
#include "ui/RoundedRectangle.h"
#include "ui/Stack.h"
#include "ui/ViewContext.h"

#include <algorithm>

namespace ui {
namespace {

constexpr CGFloat alertWidth = 260;
constexpr CGFloat cornerRadius = 10;

// Closes the presentation, then runs what the user chose, so an action may present again.
Button::Action closingThen(const Presentation& presentation, Button::Action action) {
    return [dismiss = presentation.dismiss, action = std::move(action)] {
        if (dismiss) dismiss();
        if (action) action();
    };
}

// Swallows the clicks meant for the content beneath.
View backdrop(double dimming) {
    return View(Color::black.opacity(dimming)).contentShape(Rectangle()).onTapGesture([] {});
}

// Escape closes a sheet or cover: a shortcut without anything to see.
View escapeCloses(const Presentation& presentation) {
    return View(Button(Text(std::string()), closingThen(presentation, {})))
        .keyboardShortcut(KeyboardShortcut::cancelAction)
        .frame(0, 0)
        .hidden();
}

Color panelColor(const EnvironmentValues& environment) {
    return environment.get<ColorSchemeKey>() == ColorScheme::dark ? Color(0.17, 0.17, 0.18) : Color(0.97, 0.97, 0.97);
}

View alertPanel(const Presentation& presentation) {
    const Alert& alert = *presentation.alert;
    const int defaultIndex = alert.defaultIndex();
    const int cancelIndex = alert.cancelIndex();
    std::vector<View> buttons;
    for (int i = 0; i < int(alert.buttons.size()); ++i) {
        const auto& b = alert.buttons[std::size_t(i)];
        View button = View(Button(b.role, closingThen(presentation, b.action), b.label.frame([] { FlexibleFrame f; f.maxWidth = 1e9; return f; }())))
                          .buttonStyle(i == defaultIndex ? AnyButtonStyle(BorderedProminentButtonStyle{})
                                                         : AnyButtonStyle(BorderedButtonStyle{}));
        if (i == defaultIndex)
            button = button.keyboardShortcut(KeyboardShortcut::defaultAction);
        else if (i == cancelIndex)
            button = button.keyboardShortcut(KeyboardShortcut::cancelAction);
        buttons.push_back(button);
    }
    // The only button is also the way out by Escape.
    if (cancelIndex == defaultIndex && cancelIndex >= 0)
        buttons.push_back(View(Button(Text(std::string()),
                                      closingThen(presentation, alert.buttons[std::size_t(cancelIndex)].action)))
                              .keyboardShortcut(KeyboardShortcut::cancelAction)
                              .frame(0, 0)
                              .hidden());
    View row = alert.buttons.size() <= 2 ? View(HStack(VerticalAlignment::center, 8, buttons))
                                         : View(VStack(HorizontalAlignment::center, 6, buttons));
    std::vector<View> parts{View(alert.title).font(Font::headline()).multilineTextAlignment(TextAlignment::center)};
    if (alert.message) parts.push_back(alert.message->font(Font::callout()).multilineTextAlignment(TextAlignment::center));
    parts.push_back(row.padding(EdgeSet::top, 6));
    return View(VStack(HorizontalAlignment::center, 8, std::move(parts)))
        .padding(16)
        .frame(alertWidth, std::nullopt)
        .background(RoundedRectangle(cornerRadius).fill(panelColor(presentation.environment ? *presentation.environment : EnvironmentValues())))
        .overlay(RoundedRectangle(cornerRadius).strokeBorder(Color::gray.opacity(0.4), 0.5))
        .shadow(Color::black.opacity(0.3), 12, 0, 4)
        .accessibilityElement(AccessibilityChildBehavior::contain)
        .accessibilityAddTraits(AccessibilityTraits::isModal)
        .accessibilityLabel(alert.title);
}

// The presentation's content in the presenting view's environment, able to dismiss itself and
// to present in turn (shown over it).
View presentedContent(const Presentation& presentation, int level) {
    EnvironmentValues environment = presentation.environment ? *presentation.environment : EnvironmentValues();
    // A sheet shown from a list's row is no row itself.
    environment.set<detail::InListRowsKey>(false);
    return PresentationHost::wrap(presentation.content)
        .environment<DismissKey>(DismissAction(presentation.dismiss))
        .environment<ModalLevelKey>(level)
        .environment(environment);
}

View presentationView(const Presentation& presentation, int level) {
    const EnvironmentValues environment = presentation.environment ? *presentation.environment : EnvironmentValues();
    switch (presentation.kind) {
    case Presentation::Kind::alert:
        return ZStack({backdrop(0.15), alertPanel(presentation)})
            .environment<ModalLevelKey>(level)
            .environment(environment);
    case Presentation::Kind::sheet:
        return ZStack({backdrop(0.25), escapeCloses(presentation).environment<ModalLevelKey>(level),
                       // Not clipped: what the sheet presents may reach beyond it.
                       presentedContent(presentation, level)
                           .background(RoundedRectangle(cornerRadius)
                                           .fill(panelColor(environment))
                                           .shadow(Color::black.opacity(0.35), 16, 0, 6))
                           .padding(20)
                           .accessibilityElement(AccessibilityChildBehavior::contain)
                           .accessibilityAddTraits(AccessibilityTraits::isModal)});
    case Presentation::Kind::fullScreenCover:
        return ZStack({backdrop(0), escapeCloses(presentation).environment<ModalLevelKey>(level),
                       presentedContent(presentation, level)
                           .frame([] { FlexibleFrame f; f.maxWidth = 1e9; f.maxHeight = 1e9; return f; }())
                           .background(panelColor(environment))
                           .accessibilityElement(AccessibilityChildBehavior::contain)
                           .accessibilityAddTraits(AccessibilityTraits::isModal)});
    }
    return View();
}

// What one wrapped root draws over itself.
struct PresentationLayer {
    std::vector<Presentation> presentations;
    View body(ViewContext& ctx) const {
        if (presentations.empty()) return View();
        const int base = ctx.environment<ModalLevelKey>();
        std::vector<View> shown;
        for (std::size_t i = 0; i < presentations.size(); ++i)
            shown.push_back(presentationView(presentations[i], base + int(i) + 1).id(presentations[i].id));
        return ZStack(std::move(shown));
    }
};

} // namespace

View PresentationHost::wrap(View root) {
    return root.overlayPreferenceValue(PresentationsKey{}, [](const std::vector<Presentation>& presentations) {
        return View(PresentationLayer{presentations});
    });
}

std::vector<Presentation> PresentationHost::presented(const Element& root) {
    return root.preferences().get<PresentationsKey>();
}

bool PresentationHost::chooseAlertButton(const Element& root, std::string_view title) {
    const auto shown = presented(root);
    if (shown.empty() || !shown.back().alert) return false;
    const auto& top = shown.back();
    for (const auto& button : top.alert->buttons) {
        if (button.title() != title) continue;
        closingThen(top, button.action)();
        return true;
    }
    return false;
}

bool PresentationHost::dismissTopmost(const Element& root) {
    const auto shown = presented(root);
    if (shown.empty()) return false;
    // Closing an alert by the user chooses its cancel button when it has one.
    const auto& top = shown.back();
    if (top.alert) {
        const int cancel = top.alert->cancelIndex();
        closingThen(top, cancel >= 0 ? top.alert->buttons[std::size_t(cancel)].action : Button::Action())();
        return true;
    }
    if (top.dismiss) top.dismiss();
    return true;
}

} // namespace ui
