#pragma once

#include "EnclosureDownload.h"
#include "Transfer.h"
#include "foundation/Timer.h"
#include "foundation/UserDefaults.h"
#include "reactive/CurrentValueSubject.h"
#include "updater/SPUUpdater.h"

#include <QByteArray>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace updater {

// The updater's state and its checks. Settings are read and written on any thread; everything
// else happens on the main thread.
class SPUUpdater::Core : public std::enable_shared_from_this<SPUUpdater::Core> {
public:
    Core(std::shared_ptr<foundation::Bundle> hostBundle, std::shared_ptr<UserDriver> userDriver,
         std::weak_ptr<UpdaterDelegate> delegate);
    ~Core();

    const std::shared_ptr<foundation::Bundle> host;
    const std::shared_ptr<UserDriver> driver;
    const std::weak_ptr<UpdaterDelegate> delegate;
    const std::shared_ptr<foundation::UserDefaults> defaults;
    const std::optional<foundation::URL> feed;
    const reactive::CurrentValueSubject<bool> canCheck{false};
    std::atomic<bool> started{false};
    std::atomic<bool> inCheck{false};

    // Runs `work` at once on the main thread, else posts it there while this core lives.
    void onMain(std::function<void(Core&)> work);

    void start();
    enum class Kind { user, scheduled };
    void check(Kind kind);
    void reschedule();

    bool automaticallyChecks() const;
    bool automaticallyDownloads() const;
    foundation::TimeInterval interval() const;
    std::optional<foundation::Date> lastCheck() const;

    std::filesystem::path downloadFolder() const;
    std::string applicationName() const;
    std::string displayedVersion() const;

private:
    // What a check ended with; the driver shows it.
    using Report = std::function<void(UserDriver&)>;

    void feedRead(std::optional<std::string> error);
    void offer(FoundUpdate update, const FeedEnclosure* enclosure);
    void finish(Report report, bool newer, std::optional<std::string> error = std::nullopt);
    void scheduledCheckDue();
    void publishCanCheck();
    HttpTransport* network();

    Kind kind_ = Kind::user; // of the check under way
    std::unique_ptr<HttpTransport> network_;
    bool networkTried_ = false;
    QByteArray feedData_;
    std::shared_ptr<Transfer> transfer_;
    std::unique_ptr<EnclosureDownload> download_;
    std::shared_ptr<foundation::Timer> timer_;
};

} // namespace updater
