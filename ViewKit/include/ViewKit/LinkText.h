#pragma once

#include "foundation/URL.h"
#include "ui/View.h"

#include <optional>
#include <string>
#include <vector>

namespace ViewKit {

// One run of text in which some pieces are links, drawn from one markdown string so that it
// wraps like any text. Links take their emphasis from their own style or the environment's.
class LinkText {
public:
    struct LinkStyle {
        bool bold = false;
        bool italic = false;

        static LinkStyle boldItalic() { return {true, true}; }
        static LinkStyle italic_() { return {false, true}; }
        bool operator==(const LinkStyle&) const = default;
    };

    class Component {
    public:
        static Component text(std::string text);
        static Component link(std::string title, std::optional<foundation::URL> url,
                              std::optional<LinkStyle> style = std::nullopt);

        // The markdown of this piece; `fallback` is the style of a link without its own.
        std::string markdown(const LinkStyle& fallback) const;

    private:
        std::string text_;
        bool isLink_ = false;
        std::optional<foundation::URL> url_;
        std::optional<LinkStyle> style_;
    };

    explicit LinkText(std::vector<Component> components)
        : components_(std::move(components)) {}

    std::string markdown(const LinkStyle& linkStyle) const;
    ui::View body(ui::ViewContext& ctx) const;

private:
    std::vector<Component> components_;
};

} // namespace ViewKit
