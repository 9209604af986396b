#pragma once

#include "foundation/URL.h"
#include "updater/UserDriver.h"
#include "updater/UserDriverDelegate.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>

namespace updater {

struct UpdateDialogContent;

// Reports checks in a small dialog of its own, one at a time: a new report replaces the one on
// screen. "Open Download Page" opens the page with the desktop's browser. Without a Qt
// application object (QApplication) the reports go to the log.
class StandardUserDriver : public UserDriver {
public:
    // Opens a download page; true when it was opened.
    using URLOpener = std::function<bool(const foundation::URL&)>;

    // Without an opener the desktop's (QDesktopServices) is used.
    explicit StandardUserDriver(std::weak_ptr<UserDriverDelegate> delegate = {}, URLOpener openURL = {});
    ~StandardUserDriver() override;

    void showUpToDate(const std::string& applicationName, const std::string& version) override;
    void showUpdateFound(const FoundUpdate& update) override;
    void showFeedError(const std::string& description) override;
    void showNoFeed(const std::string& applicationName) override;

    // The dialog on screen; nullptr when none is.
    QDialog* dialog() const;

private:
    void present(const UpdateDialogContent& content);

    std::weak_ptr<UserDriverDelegate> delegate_;
    URLOpener openURL_;
    QPointer<QDialog> dialog_;
};

} // namespace updater
