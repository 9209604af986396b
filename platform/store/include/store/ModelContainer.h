#pragma once

#include "store/ModelConfiguration.h"
#include "store/Schema.h"

#include <memory>

namespace store {

class ModelContext;
namespace detail {
class Store;
}

// Opens the store a configuration names for a schema and owns its main context. Several
// containers may be open on one file, in this process or others.
//
// The file carries its format version; an empty file is given the current one, a file of an
// older version would be migrated step by step (there is none yet), and a newer one is refused
// untouched. Nothing is ever dropped to make a file fit the schema: a missing table or column
// is an error.
class ModelContainer {
public:
    // Throws StoreError with a description of what failed.
    explicit ModelContainer(Schema schema, ModelConfiguration configuration = {});
    ~ModelContainer();
    ModelContainer(const ModelContainer&) = delete;
    ModelContainer& operator=(const ModelContainer&) = delete;

    // The version of the file format this program writes.
    static constexpr int currentStoreVersion = 1;

    const Schema& schema() const;
    const ModelConfiguration& configuration() const { return configuration_; }
    // Main thread only. Saves itself after changes (see ModelContext::autosaveEnabled).
    const std::shared_ptr<ModelContext>& mainContext() const { return mainContext_; }

private:
    ModelConfiguration configuration_;
    std::shared_ptr<detail::Store> store_;
    std::shared_ptr<ModelContext> mainContext_;
};

} // namespace store
