#pragma once

#include "foundation/NSItemProvider.h"
#include "foundation/UTType.h"
#include "graphics/CGPoint.h"

#include <memory>
#include <optional>
#include <vector>

namespace ui {

enum class DropOperation { cancel, forbidden, copy, move };

// How a target would take the drop under the pointer.
struct DropProposal {
    DropOperation operation = DropOperation::copy;
    explicit DropProposal(DropOperation operation)
        : operation(operation) {}
    bool operator==(const DropProposal&) const = default;
};

// The drag as a drop target sees it: where the pointer is (in the target's coordinates) and
// what the drag carries.
class DropInfo {
public:
    DropInfo(graphics::CGPoint location, std::shared_ptr<const foundation::NSItemProvider> provider)
        : location_(location)
        , provider_(std::move(provider)) {}

    graphics::CGPoint location() const { return location_; }
    bool hasItemsConforming(const std::vector<foundation::UTType>& types) const {
        for (const auto& type : types) {
            if (provider_ && provider_->hasItemConforming(type)) return true;
        }
        return false;
    }
    // The dragged items that conform to one of `types`.
    std::vector<foundation::NSItemProvider> itemProviders(const std::vector<foundation::UTType>& types) const {
        if (!hasItemsConforming(types)) return {};
        return {*provider_};
    }

private:
    graphics::CGPoint location_;
    std::shared_ptr<const foundation::NSItemProvider> provider_;
};

// A drop target's behaviour, attached with View::onDrop. While a drag moves over the target:
// dropEntered, then dropUpdated at each move; on release validateDrop and, when it agrees,
// performDrop; dropExited when the drag leaves or ends. Delegates are made anew with each
// update of their view; the current one is called.
class DropDelegate {
public:
    virtual ~DropDelegate() = default;
    virtual bool validateDrop(const DropInfo&) { return true; }
    virtual bool performDrop(const DropInfo& info) = 0;
    virtual void dropEntered(const DropInfo&) {}
    // No proposal keeps the platform's (a copy).
    virtual std::optional<DropProposal> dropUpdated(const DropInfo&) { return std::nullopt; }
    virtual void dropExited(const DropInfo&) {}
};

} // namespace ui
