#pragma once

#include "Transfer.h"
#include "updater/UpdateFeed.h"

#include <QSaveFile>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace updater {

// Saves an item's enclosure as `<folder>/<name>`. The file is written under a temporary name and
// renamed when complete, so a failed download, or one with fewer or more bytes than the
// enclosure's length, leaves nothing. Destroying it stops it without a call.
class EnclosureDownload {
public:
    using Finish =
        std::function<void(std::optional<std::filesystem::path> file, std::optional<std::string> error)>;

    // Without a length, at most this much is taken.
    static constexpr std::int64_t largestUnannouncedDownload = std::int64_t(1) << 30;

    EnclosureDownload(HttpTransport* network, const FeedEnclosure& enclosure,
                      const std::filesystem::path& folder, const std::string& name, bool allowsFiles,
                      Finish finish);
    ~EnclosureDownload();
    EnclosureDownload(const EnclosureDownload&) = delete;
    EnclosureDownload& operator=(const EnclosureDownload&) = delete;

private:
    void finished(std::optional<std::string> error);
    void fail(std::string error);
    void discard();

    const std::optional<std::uint64_t> length_;
    const std::filesystem::path path_;
    Finish finish_;
    std::unique_ptr<QSaveFile> file_;
    std::shared_ptr<Transfer> transfer_;
    std::int64_t written_ = 0;
    foundation::RunLoop::Token deferred_ = 0;
};

} // namespace updater
