// The program on a virtual screen of its own, with fresh XDG folders, driven as a user would:
// through xdotool (pointer and keys) and looked at through captures of its window.
#pragma once

#include "ChildProcess.h"
#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"
#include "VirtualScreen.h"

#include <QImage>
#include <QPoint>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace programtest {

// One goal as the store file holds it.
struct StoredGoal {
    std::string title;
    bool completed = false;
    bool inProgress = false;
    long long orderIndex = -1;
    bool operator==(const StoredGoal&) const = default;
};

class QuorilOnScreen : public testing_support::VirtualScreenFixture {
public:
    // The centres of the check rings in a capture (window pixels), top to bottom, then left to
    // right: each goal's "Completed" ring, then its "In Progress" one.
    static std::vector<QPoint> rings(const QImage& image);

protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program (the build's, or `program`) with this test's folders.
    void launch(const std::string& program = QUORIL_PATH, const std::string& libraryPath = {}, int scale = 1);
    // Waits (bounded) for its window and returns its X id.
    std::string waitForWindow();
    // Saves the window once its painting has settled (or when `patience` seconds are up, as
    // they are while something moves) and loads the capture.
    QImage capture(const std::string& name, int patience = 20);
    // The window's top-left corner on the screen.
    QPoint windowOrigin() const { return origin_; }

    // xdotool with these arguments; its output.
    std::string xdotool(const std::vector<std::string>& arguments);
    void click(QPoint at, int button = 1);
    void drag(QPoint from, QPoint to);
    void key(const std::string& keys);
    void typeText(const std::string& text);

    // Quits with Ctrl+Q; the exit code.
    int quit();
    void terminate(int signal);

    std::filesystem::path storeFile() const;
    std::vector<StoredGoal> storedGoals();
    std::vector<std::string> storedCollections();
    bool integrityOK();
    // Fills the store before the program starts: "Goal 1" ... in order, the first `completed`
    // of them completed and the next `inProgress` in progress.
    void seedGoals(int count, int completed = 0, int inProgress = 0);

    testing_support::TemporaryFolder home;
    std::unique_ptr<testing_support::ChildProcess> app;
    std::string window;
    QPoint origin_;

private:
    std::vector<std::unique_ptr<testing_support::ScopedEnvironment>> environment_;
};

} // namespace programtest
