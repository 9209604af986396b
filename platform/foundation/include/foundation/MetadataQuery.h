#pragma once

#include "foundation/MetadataQueryBackend.h"
#include "foundation/NotificationCenter.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace foundation {

inline constexpr const char* MetadataQueryUbiquitousDataScope = "NSMetadataQueryUbiquitousDataScope";
inline constexpr const char* MetadataQueryUbiquitousDocumentsScope =
    "NSMetadataQueryUbiquitousDocumentsScope";
inline constexpr const char* MetadataQueryDidFinishGatheringNotification =
    "NSMetadataQueryDidFinishGatheringNotification";
inline constexpr const char* MetadataQueryDidUpdateNotification = "NSMetadataQueryDidUpdateNotification";

// Items whose text attribute `key` matches a LIKE pattern (see matchesLike).
struct MetadataLikePredicate {
    std::string key;
    std::string pattern;
};

// Orders results by the text of one attribute; items without it come first.
struct MetadataSortDescriptor {
    std::string key;
    bool ascending = true;
};

// A live search for files: what its backend reports in the search scopes, kept when it
// matches the predicate, in the sort order. Made with std::make_shared and used on the main
// actor. The results change, and the did-finish-gathering and did-update notifications are
// posted with the query as object, on the main queue, to the query's notification centre.
class MetadataQuery : public std::enable_shared_from_this<MetadataQuery> {
public:
    using Item = std::shared_ptr<const MetadataItem>;

    // The centre must outlive the query.
    explicit MetadataQuery(std::shared_ptr<MetadataQueryBackend> backend = MetadataQueryBackend::make(),
                           NotificationCenter& center = NotificationCenter::defaultCenter());
    ~MetadataQuery();
    MetadataQuery(const MetadataQuery&) = delete;
    MetadataQuery& operator=(const MetadataQuery&) = delete;

    // Kept for the backend's sake: the query applies each report as it comes.
    double notificationBatchingInterval() const { return batchingInterval_; }
    void setNotificationBatchingInterval(double seconds) { batchingInterval_ = seconds; }
    const std::vector<std::string>& searchScopes() const { return scopes_; }
    void setSearchScopes(std::vector<std::string> scopes) { scopes_ = std::move(scopes); }
    const std::optional<MetadataLikePredicate>& predicate() const { return predicate_; }
    void setPredicate(std::optional<MetadataLikePredicate> predicate) { predicate_ = std::move(predicate); }
    const std::vector<MetadataSortDescriptor>& sortDescriptors() const { return sortDescriptors_; }
    void setSortDescriptors(std::vector<MetadataSortDescriptor> descriptors) {
        sortDescriptors_ = std::move(descriptors);
    }
    NotificationCenter& notificationCenter() const { return *center_; }

    // Starts gathering; a started query gathers anew. The results are empty until the backend
    // reports.
    bool startQuery();
    // No results or notifications follow.
    void stopQuery();
    bool isStarted() const { return started_; }
    bool isGathering() const { return gathering_; }

    // While disabled, reported changes wait; enabling applies the latest one. Nestable.
    void disableUpdates();
    void enableUpdates();

    const std::vector<Item>& results() const { return results_; }
    std::size_t resultCount() const { return results_.size(); }
    // Calls `body` with each result and its index, in order, until it sets `stop`.
    void
    enumerateResults(const std::function<void(const Item& item, std::size_t index, bool& stop)>& body) const;

private:
    void receive(unsigned generation, bool gathered, std::vector<MetadataQueryBackend::Result> found);
    void apply(std::vector<MetadataQueryBackend::Result> found);

    std::shared_ptr<MetadataQueryBackend> backend_;
    NotificationCenter* center_;
    double batchingInterval_ = 1.0;
    std::vector<std::string> scopes_;
    std::optional<MetadataLikePredicate> predicate_;
    std::vector<MetadataSortDescriptor> sortDescriptors_;
    std::vector<Item> results_;
    bool started_ = false;
    bool gathering_ = false;
    unsigned generation_ = 0;
    int updatesDisabled_ = 0;
    std::optional<std::vector<MetadataQueryBackend::Result>> heldUpdate_;
};

} // namespace foundation
