#include "ViewKit/LinkText.h"

#include "ViewKit/LinkTextLinkStyle.h"
#include "ViewKit/MainActor.h"
#include "foundation/Bundle.h"
#include "ui/Text.h"
#include "ui/ViewContext.h"

namespace ViewKit {

namespace {

// Parentheses would end the link's address early, so they are escaped.
std::string escapedAddress(const std::string& address) {
    std::string out;
    out.reserve(address.size());
    for (char c : address) {
        if (c == '(' || c == ')') out += '\\';
        out += c;
    }
    return out;
}

} // namespace

LinkText::Component LinkText::Component::text(std::string text) {
    Component c;
    c.text_ = std::move(text);
    return c;
}

LinkText::Component LinkText::Component::link(std::string title, std::optional<foundation::URL> url,
                                              std::optional<LinkStyle> style) {
    Component c;
    c.text_ = std::move(title);
    c.isLink_ = true;
    c.url_ = std::move(url);
    c.style_ = style;
    return c;
}

std::string LinkText::Component::markdown(const LinkStyle& fallback) const {
    if (!isLink_) return text_;
    std::string s =
        "[" + text_ + "](" + (url_ ? escapedAddress(url_->absoluteString()) : std::string()) + ")";
    const LinkStyle style = style_.value_or(fallback);
    if (style.bold) s = "**" + s + "**";
    if (style.italic) s = "*" + s + "*";
    return s;
}

std::string LinkText::markdown(const LinkStyle& linkStyle) const {
    std::string out;
    for (const auto& component : components_)
        out += component.markdown(linkStyle);
    return out;
}

ui::View LinkText::body(ui::ViewContext& ctx) const {
    detail::requireMainActor("LinkText");
    const std::string key = markdown(ctx.environment<LinkStyleKey>());
    return ui::View(ui::Text(ui::LocalizedStringKey(key), {}, foundation::Bundle::main()));
}

ViewOperation linkStyle(LinkText::LinkStyle style) {
    detail::requireMainActor("linkStyle");
    return ViewOperation([style](const ui::View& view) { return view.environment(LinkStyleKey{}, style); });
}

} // namespace ViewKit
