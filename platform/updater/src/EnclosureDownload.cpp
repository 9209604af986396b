#include "EnclosureDownload.h"

#include "foundation/RunLoop.h"

#include <fmt/format.h>

#include <system_error>

namespace updater {

EnclosureDownload::EnclosureDownload(HttpTransport* network, const FeedEnclosure& enclosure,
                                     const std::filesystem::path& folder, const std::string& name,
                                     bool allowsFiles, Finish finish)
    : length_(enclosure.length && *enclosure.length > 0 ? enclosure.length : std::nullopt)
    , path_(folder / name)
    , finish_(std::move(finish)) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    file_ = std::make_unique<QSaveFile>(QString::fromStdString(path_.string()));
    if (error || !file_->open(QIODevice::WriteOnly)) {
        // Reported on a later turn, as every download ends after it started.
        const std::string why = error ? error.message() : file_->errorString().toStdString();
        deferred_ = foundation::RunLoop::main().perform([this, why] {
            deferred_ = 0;
            fail(fmt::format("{} could not be created: {}", path_.string(), why));
        });
        return;
    }
    const TransferLimits limits{
        .maxBytes = length_ ? std::int64_t(std::min<std::uint64_t>(*length_, largestUnannouncedDownload))
                            : largestUnannouncedDownload,
        .timeout = 30,
        .idle = true,
        .allowsFiles = allowsFiles};
    transfer_ = Transfer::start(
        network, enclosure.url, limits,
        [this](QByteArrayView piece) -> std::optional<std::string> {
            if (file_->write(piece.data(), piece.size()) != piece.size())
                return fmt::format("{} could not be written: {}", path_.string(),
                                   file_->errorString().toStdString());
            written_ += piece.size();
            return std::nullopt;
        },
        [this](std::optional<std::string> error) { finished(std::move(error)); });
}

EnclosureDownload::~EnclosureDownload() {
    foundation::RunLoop::main().cancel(deferred_);
    transfer_.reset();
    discard();
}

void EnclosureDownload::discard() {
    if (!file_) return;
    file_->cancelWriting();
    file_.reset(); // removes the temporary file
}

void EnclosureDownload::finished(std::optional<std::string> error) {
    if (error) return fail(std::move(*error));
    if (length_ && std::uint64_t(written_) != *length_)
        return fail(
            fmt::format("The download ended after {} of the announced {} bytes.", written_, *length_));
    if (!file_->commit())
        return fail(
            fmt::format("{} could not be saved: {}", path_.string(), file_->errorString().toStdString()));
    auto finish = std::move(finish_);
    finish(path_, std::nullopt); // may destroy this
}

void EnclosureDownload::fail(std::string error) {
    discard();
    auto finish = std::move(finish_);
    finish(std::nullopt, std::move(error)); // may destroy this
}

} // namespace updater
