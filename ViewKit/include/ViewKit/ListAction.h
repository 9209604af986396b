#pragma once

#include "foundation/URL.h"
#include "ui/Image.h"
#include "ui/View.h"

#include <functional>
#include <optional>
#include <string>

namespace ViewKit {

// Something a list row offers for a piece of text: call a phone number, copy the text, write to
// an address or open a web address. Links are made only from what is safe to hand to the
// desktop: phone numbers and addresses are percent-encoded (all but letters, digits and
// "-._~+@"), and only an http or https address with a host opens; anything else gives no link.
class ListAction {
public:
    enum class Kind { call, copy, email, open };

    static ListAction call(std::string phoneNumber) { return {Kind::call, std::move(phoneNumber)}; }
    static ListAction copy(std::string text) { return {Kind::copy, std::move(text)}; }
    static ListAction email(std::string address) { return {Kind::email, std::move(address)}; }
    static ListAction open(std::string url) { return {Kind::open, std::move(url)}; }

    Kind kind() const { return kind_; }
    const std::string& payload() const { return payload_; }

    // The action's symbol.
    ui::Image image() const;
    // Where the link goes; none for copy and for a payload that makes no safe link.
    std::optional<foundation::URL> destination() const;

    // The control: a link (nothing at all when there is no destination), or for copy a button
    // that puts the text on the general pasteboard.
    ui::View button(const std::function<ui::View()>& label) const;
    // The same, labelled with the symbol alone.
    ui::View button() const;

    bool operator==(const ListAction&) const = default;

private:
    ListAction(Kind kind, std::string payload)
        : kind_(kind)
        , payload_(std::move(payload)) {}

    Kind kind_;
    std::string payload_;
};

} // namespace ViewKit
