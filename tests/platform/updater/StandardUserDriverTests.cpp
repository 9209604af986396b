// The standard dialog: what it shows of each report and what its buttons do.
#include "updater/SPUStandardUpdaterController.h"
#include "updater/StandardUserDriver.h"

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

updater::FoundUpdate sampleUpdate() {
    updater::FeedItem item{*updater::Version::parse("0.10.0")};
    item.notes = "  <b>Goals</b> burn faster.\n";
    item.publicationDate = foundation::Date::fromTimeIntervalSince1970(1796823600);
    return {"Quoril", "0.9.2", item, std::nullopt, std::nullopt};
}

QString textOf(QDialog* dialog, const char* name) {
    if (auto* label = dialog->findChild<QLabel*>(name)) return label->text();
    if (auto* edit = dialog->findChild<QPlainTextEdit*>(name)) return edit->toPlainText();
    return {};
}

TEST(StandardUserDriverTest, ANewVersionOffersItsDownloadPageOnlyWhenItHasOne) {
    std::vector<std::string> opened;
    updater::StandardUserDriver driver({}, [&](const foundation::URL& url) {
        opened.push_back(url.absoluteString());
        return true;
    });
    auto update = sampleUpdate();
    driver.showUpdateFound(update);
    QDialog* dialog = driver.dialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(textOf(dialog, "heading"), "A new version of Quoril is available");
    EXPECT_TRUE(textOf(dialog, "message").startsWith("Quoril 0.10.0 was published on "))
        << textOf(dialog, "message").toStdString();
    EXPECT_TRUE(textOf(dialog, "message").endsWith("You have version 0.9.2."));
    EXPECT_EQ(textOf(dialog, "notes"), "<b>Goals</b> burn faster."); // plain text, not markup
    EXPECT_FALSE(dialog->findChild<QPushButton*>("openDownloadPage"));
    EXPECT_FALSE(dialog->findChild<QLabel*>("downloadedFile"));

    update.downloadPage = foundation::URL::fromString("javascript:alert(1)");
    driver.showUpdateFound(update);
    EXPECT_FALSE(driver.dialog()->findChild<QPushButton*>("openDownloadPage"));

    update.downloadPage = foundation::URL::fromString("https://example.org/quoril");
    update.downloadedFile = "/tmp/cache/updates/quoril_0.10.0.deb";
    driver.showUpdateFound(update);
    ASSERT_NE(driver.dialog(), nullptr);
    EXPECT_EQ(textOf(driver.dialog(), "downloadedFile"),
              "Downloaded to /tmp/cache/updates/quoril_0.10.0.deb");
    auto* open = driver.dialog()->findChild<QPushButton*>("openDownloadPage");
    ASSERT_TRUE(open);
    EXPECT_EQ(open->text(), "Open Download Page");
    ASSERT_TRUE(driver.dialog()->findChild<QPushButton*>("later"));
    open->click();
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.org/quoril"});
    EXPECT_FALSE(driver.dialog()) << "the dialog closed";
}

TEST(StandardUserDriverTest, EachReportReplacesTheDialogOnScreen) {
    updater::StandardUserDriver driver;
    driver.showFeedError("The server answered 404 (Not Found) for http://example.org/feed.xml.");
    QPointer<QDialog> first = driver.dialog();
    ASSERT_TRUE(first);
    EXPECT_EQ(textOf(first, "heading"), "The update feed could not be read");
    EXPECT_EQ(textOf(first, "message"),
              "The server answered 404 (Not Found) for http://example.org/feed.xml.");
    driver.showUpToDate("Quoril", "0.9.2");
    EXPECT_FALSE(first);
    EXPECT_EQ(textOf(driver.dialog(), "message"), "Quoril 0.9.2 is the newest version available.");
    driver.dialog()->findChild<QPushButton*>("ok")->click();
    EXPECT_FALSE(driver.dialog()) << "the dialog closed";

    // The program's own controller: this test program's bundle names no feed.
    updater::SPUStandardUpdaterController controller(true, {}, {});
    EXPECT_FALSE(controller.updater()->canCheckForUpdates());
    controller.updater()->checkForUpdates();
    ASSERT_TRUE(controller.userDriver()->dialog());
    EXPECT_EQ(textOf(controller.userDriver()->dialog(), "heading"), "Updates are not set up");
}

} // namespace
