#pragma once

#include <string>
#include <utility>
#include <vector>

namespace foundation {

// A uniform type: an identifier and the types it conforms to ("public.plain-text" is a kind of
// "public.text").
class UTType {
public:
    explicit UTType(std::string identifier, std::vector<std::string> supertypes = {})
        : identifier_(std::move(identifier))
        , supertypes_(std::move(supertypes)) {}

    static const UTType& text();
    static const UTType& plainText();
    static const UTType& utf8PlainText();

    const std::string& identifier() const { return identifier_; }
    bool conforms(const UTType& other) const {
        if (other.identifier_ == identifier_) return true;
        for (const auto& super : supertypes_) {
            if (super == other.identifier_) return true;
        }
        return false;
    }
    bool operator==(const UTType& other) const { return identifier_ == other.identifier_; }

private:
    std::string identifier_;
    std::vector<std::string> supertypes_; // all of them, not only the direct ones
};

inline const UTType& UTType::text() {
    static const UTType type("public.text", {"public.data", "public.content"});
    return type;
}
inline const UTType& UTType::plainText() {
    static const UTType type("public.plain-text", {"public.text", "public.data", "public.content"});
    return type;
}
inline const UTType& UTType::utf8PlainText() {
    static const UTType type("public.utf8-plain-text",
                             {"public.plain-text", "public.text", "public.data", "public.content"});
    return type;
}

} // namespace foundation
