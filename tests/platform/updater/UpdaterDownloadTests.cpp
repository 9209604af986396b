// Downloads of a newer version's file into the cache folder: only with both switches on, under a
// plain name, and nothing left behind when they fail.
#include "TestHttpServer.h"
#include "UpdaterFixture.h"

#include <gmock/gmock.h>

#include <cstdlib>

using namespace updater_testing;
using testing::ElementsAre;
using Response = testing_support::TestHttpServer::Response;

namespace {

class DownloadTest : public UpdaterTest {
protected:
    // A feed offering 0.10.0 with its file at `path` on the server, `length` bytes long.
    updater::SPUUpdater& offering(const std::string& path, qint64 length, bool downloads = true) {
        const std::string enclosure = "<enclosure url=\"" + server_.url(path) + "\" length=\"" +
                                      std::to_string(length) + "\" type=\"application/octet-stream\"/>";
        server_.answer("/feed.xml", {.body = QByteArray::fromStdString(feed({item("0.10.0", enclosure)}))});
        auto& updater = start(server_.url("/feed.xml"));
        updater.setAutomaticallyChecksForUpdates(true);
        updater.setAutomaticallyDownloadsUpdates(downloads);
        updater.checkForUpdates();
        EXPECT_TRUE(settle());
        EXPECT_EQ(driver_->shown.back(), "found: 0.10.0");
        return updater;
    }

    testing_support::TestHttpServer server_;
    const QByteArray package_ = QByteArray(5000, 'p');
};

TEST_F(DownloadTest, ANewerVersionIsSavedInTheCacheFolderOnlyWhenBothSwitchesAreOn) {
    server_.answer("/files/quoril_0.10.0.deb", {.body = package_});
    auto& updater = offering("/files/quoril_0.10.0.deb", package_.size());
    const auto folder = std::filesystem::path(std::getenv("XDG_CACHE_HOME")) / suiteName() / "updates";
    EXPECT_EQ(updater.downloadFolder(), folder);
    ASSERT_TRUE(driver_->found->downloadedFile);
    EXPECT_EQ(*driver_->found->downloadedFile, folder / "quoril_0.10.0.deb");
    std::ifstream saved(folder / "quoril_0.10.0.deb", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), package_.toStdString());

    std::filesystem::remove_all(folder);
    offering("/files/quoril_0.10.0.deb", package_.size(), false);
    EXPECT_FALSE(driver_->found->downloadedFile);
    EXPECT_EQ(server_.requests("/files/quoril_0.10.0.deb"), 1);
    EXPECT_TRUE(downloads().empty());
}

TEST_F(DownloadTest, ANameThatIsNoPlainFileNameIsSavedAsUpdateAndTheVersion) {
    for (const std::string path : {"/files/..%2Fx", "/files/", "/files/.hidden", "/files/a%00b"}) {
        server_.answer(path, {.body = package_});
        offering(path, package_.size());
        ASSERT_TRUE(driver_->found->downloadedFile) << path;
        EXPECT_THAT(downloads(), ElementsAre("update-0.10.0")) << path;
        std::filesystem::remove_all(updater_->downloadFolder());
    }
}

TEST_F(DownloadTest, ADownloadThatFailsOrEndsShortLeavesNoFile) {
    // The connection closes halfway; the server sends fewer bytes than the feed announced; the
    // server sends more; the server answers 404; a web feed names a file on this machine.
    server_.answer("/files/cut.deb", {.body = package_.left(2500), .contentLength = package_.size()});
    server_.answer("/files/short.deb", {.body = package_.left(2500)});
    server_.answer("/files/long.deb", {.body = package_ + package_});
    const std::vector<std::string> paths{"/files/cut.deb", "/files/short.deb", "/files/long.deb",
                                         "/files/missing.deb"};
    for (const auto& path : paths) {
        offering(path, package_.size());
        EXPECT_EQ(server_.requests(path), 1) << path;
        EXPECT_FALSE(driver_->found->downloadedFile) << path;
        EXPECT_TRUE(downloads().empty()) << path;
    }
    const std::string local = "<enclosure url=\"file:///etc/hostname\" length=\"5\"/>";
    server_.answer("/feed.xml", {.body = QByteArray::fromStdString(feed({item("0.10.0", local)}))});
    auto& updater = start(server_.url("/feed.xml"));
    updater.checkForUpdates();
    ASSERT_TRUE(settle());
    EXPECT_FALSE(driver_->found->downloadedFile);
    EXPECT_TRUE(downloads().empty());
}

} // namespace
