#include "updater/StandardUserDriver.h"

#include "UpdateDialog.h"
#include "foundation/Logger.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDialog>
#include <QLocale>
#include <QUrl>

namespace updater {

namespace {

const foundation::Logger& logger() {
    static const foundation::Logger log("org.quoril.updater", "dialog");
    return log;
}

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

QString longDate(foundation::Date date) {
    const auto milliseconds = qint64(date.timeIntervalSince1970() * 1000.0);
    return QLocale().toString(QDateTime::fromMSecsSinceEpoch(milliseconds).date(), QLocale::LongFormat);
}

bool openWithDesktop(const foundation::URL& url) {
    return QDesktopServices::openUrl(QUrl(qt(url.absoluteString())));
}

} // namespace

StandardUserDriver::StandardUserDriver(std::weak_ptr<UserDriverDelegate> delegate, URLOpener openURL)
    : delegate_(std::move(delegate))
    , openURL_(openURL ? std::move(openURL) : URLOpener(openWithDesktop)) {}

StandardUserDriver::~StandardUserDriver() {
    delete dialog_.data();
}

QDialog* StandardUserDriver::dialog() const {
    return dialog_ && dialog_->isVisible() ? dialog_.data() : nullptr;
}

void StandardUserDriver::showUpToDate(const std::string& applicationName, const std::string& version) {
    UpdateDialogContent content;
    content.heading = localized("You’re up to date");
    content.message =
        localized("%1 %2 is the newest version available.").arg(qt(applicationName), qt(version));
    present(content);
}

void StandardUserDriver::showUpdateFound(const FoundUpdate& update) {
    UpdateDialogContent content;
    content.heading = localized("A new version of %1 is available").arg(qt(update.applicationName));
    const QString name = qt(update.applicationName), version = qt(update.item.version.text()),
                  current = qt(update.currentVersion);
    content.message = update.item.publicationDate
                          ? localized("%1 %2 was published on %3. You have version %4.")
                                .arg(name, version, longDate(*update.item.publicationDate), current)
                          : localized("%1 %2 is available. You have version %3.").arg(name, version, current);
    content.notes = qt(update.item.notes).trimmed();
    if (update.downloadedFile) content.downloadedFile = qt(update.downloadedFile->string());
    content.offersUpdate = true;
    // Only a web page is opened, whoever made the report.
    if (update.downloadPage && (update.downloadPage->scheme() == "http" || update.downloadPage->scheme() == "https"))
        content.downloadPage = update.downloadPage;
    present(content);
}

void StandardUserDriver::showFeedError(const std::string& description) {
    UpdateDialogContent content;
    content.heading = localized("The update feed could not be read");
    content.message = qt(description);
    present(content);
}

void StandardUserDriver::showNoFeed(const std::string& applicationName) {
    UpdateDialogContent content;
    content.heading = localized("Updates are not set up");
    content.message = localized("No update feed is configured for %1.").arg(qt(applicationName));
    present(content);
}

void StandardUserDriver::present(const UpdateDialogContent& content) {
    delete dialog_.data();
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        logger().notice("{} {}", content.heading.toStdString(), content.message.toStdString());
        return;
    }
    auto* dialog = makeUpdateDialog(content, openURL_);
    dialog_ = dialog;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

} // namespace updater
