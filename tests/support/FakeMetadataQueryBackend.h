#pragma once

#include "foundation/MetadataQuery.h"

#include <string>
#include <utility>
#include <vector>

// Reports what the test hands it, as a system index would.
class FakeMetadataQueryBackend final : public foundation::MetadataQueryBackend {
public:
    void start(const std::vector<std::string>& scopes, Report gathered, Report updated) override {
        ++starts;
        askedScopes = scopes;
        gathered_ = std::move(gathered);
        updated_ = std::move(updated);
    }
    void stop() override { ++stops; }
    void gather(std::vector<Result> results) { gathered_(std::move(results)); }
    void update(std::vector<Result> results) { updated_(std::move(results)); }

    int starts = 0;
    int stops = 0;
    std::vector<std::string> askedScopes;

private:
    Report gathered_, updated_;
};
