#pragma once

#include "foundation/MetadataItem.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace foundation {

// Where a metadata query's items come from. A query starts it, and it reports every item it
// knows in the asked scopes: once through `gathered`, then the whole set again through
// `updated` whenever it changes, from any thread, until stop(). The query does the filtering
// and sorting.
class MetadataQueryBackend {
public:
    struct Result {
        std::string scope;
        std::shared_ptr<const MetadataItem> item;
    };
    using Report = std::function<void(std::vector<Result>)>;
    using Factory = std::function<std::shared_ptr<MetadataQueryBackend>()>;

    virtual ~MetadataQueryBackend() = default;
    virtual void start(const std::vector<std::string>& scopes, Report gathered, Report updated) = 0;
    virtual void stop() = 0;

    // The backend new queries get. This system keeps no cloud documents: its own backend
    // gathers nothing and never updates. Tests put a fake in place; an empty factory puts the
    // system's back. Returns the factory that was in place.
    static std::shared_ptr<MetadataQueryBackend> make();
    static Factory setFactory(Factory factory);
};

} // namespace foundation
