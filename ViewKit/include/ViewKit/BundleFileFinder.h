#pragma once

#include "foundation/Bundle.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ViewKit {

// The names at the top of a bundle's folder that begin or end with a text, in the listing's
// order (which the system does not fix). Names are compared as bytes, case included; a name
// that is not UTF-8 is listed like any other. A folder that cannot be listed gives none.
class BundleFileFinder {
public:
    explicit BundleFileFinder(std::shared_ptr<foundation::Bundle> bundle);
    virtual ~BundleFileFinder() = default;

    const std::shared_ptr<foundation::Bundle>& bundle() const { return bundle_; }

    // An empty prefix or suffix lists every entry.
    virtual std::vector<std::string> filesWithPrefix(std::string_view prefix) const;
    virtual std::vector<std::string> filesWithSuffix(std::string_view suffix) const;

private:
    std::shared_ptr<foundation::Bundle> bundle_;
};

} // namespace ViewKit
