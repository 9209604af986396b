#pragma once

#include "foundation/UTType.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace foundation {

// What a drag carries: representations of one item by type. A provider made from a string
// offers it as UTF-8 plain text.
class NSItemProvider {
public:
    NSItemProvider() = default;
    explicit NSItemProvider(std::string text) { registerString(UTType::utf8PlainText(), std::move(text)); }

    void registerString(UTType type, std::string value) { items_.push_back({std::move(type), std::move(value)}); }

    std::vector<UTType> registeredTypes() const {
        std::vector<UTType> types;
        for (const auto& item : items_)
            types.push_back(item.type);
        return types;
    }
    bool hasItemConforming(const UTType& type) const {
        for (const auto& item : items_) {
            if (item.type.conforms(type)) return true;
        }
        return false;
    }
    // The first representation conforming to `type`.
    std::optional<std::string> loadString(const UTType& type = UTType::plainText()) const {
        for (const auto& item : items_) {
            if (item.type.conforms(type)) return item.value;
        }
        return std::nullopt;
    }

private:
    struct Item {
        UTType type;
        std::string value;
    };
    std::vector<Item> items_;
};

} // namespace foundation
