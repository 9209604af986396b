#include "ViewKit/ListAction.h"

#include "desktop/Pasteboard.h"
#include "ui/Button.h"
#include "ui/Link.h"

#include <QString>
#include <QUrl>

#include <cstdio>

namespace ViewKit {

namespace {

bool keepsAsIs(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '+' || c == '@';
}

std::string percentEncoded(const std::string& text) {
    std::string encoded;
    for (const unsigned char c : text) {
        if (keepsAsIs(c)) {
            encoded += char(c);
            continue;
        }
        char escape[4];
        std::snprintf(escape, sizeof escape, "%%%02X", c);
        encoded += escape;
    }
    return encoded;
}

std::optional<foundation::URL> webAddress(const std::string& text) {
    auto url = foundation::URL::fromString(text);
    if (!url) return std::nullopt;
    const QUrl parsed(QString::fromStdString(url->absoluteString()));
    const auto scheme = parsed.scheme();
    if ((scheme != "http" && scheme != "https") || parsed.host().isEmpty()) return std::nullopt;
    return url;
}

} // namespace

ui::Image ListAction::image() const {
    switch (kind_) {
    case Kind::call:
        return ui::Image::systemName("phone");
    case Kind::copy:
        return ui::Image::systemName("doc.on.doc");
    case Kind::email:
        return ui::Image::systemName("envelope");
    case Kind::open:
        break;
    }
    return ui::Image::systemName("safari");
}

std::optional<foundation::URL> ListAction::destination() const {
    switch (kind_) {
    case Kind::call:
        return foundation::URL::fromString("tel:" + percentEncoded(payload_));
    case Kind::email:
        return foundation::URL::fromString("mailto:" + percentEncoded(payload_));
    case Kind::open:
        return webAddress(payload_);
    case Kind::copy:
        break;
    }
    return std::nullopt;
}

ui::View ListAction::button(const std::function<ui::View()>& label) const {
    if (kind_ == Kind::copy)
        return ui::Button([text = payload_] { desktop::copyString(desktop::Pasteboard::general(), text); }, label());
    const auto url = destination();
    if (!url) return ui::View();
    return ui::Link(*url, label());
}

ui::View ListAction::button() const {
    return button([this] { return ui::View(image()); });
}

} // namespace ViewKit
