#include "QuorilOnScreen.h"

#include <signal.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include <QColor>

using namespace programtest;

namespace {

// The rows of a capture: each goal's two rings.
struct Row {
    QPoint completed;
    QPoint inProgress;
    QPoint title; // well inside the title, left of the rings
};

std::vector<Row> rowsOf(const QImage& image) {
    const auto centres = QuorilOnScreen::rings(image);
    std::vector<Row> rows;
    for (std::size_t i = 0; i + 1 < centres.size(); i += 2)
        rows.push_back({centres[i], centres[i + 1], QPoint(60 * image.devicePixelRatio(), centres[i].y())});
    return rows;
}

// A point on the empty area below the goals.
QPoint below(const std::vector<Row>& rows) {
    return QPoint(200, rows.empty() ? 200 : rows.back().completed.y() + 40);
}

// The list's part of a capture: below the title area, above nothing that changes.
QImage listPart(const QImage& image, const std::vector<Row>& rows) {
    const int top = rows.empty() ? 0 : rows.front().completed.y() - 30;
    return image.copy(0, top, image.width(), image.height() - top);
}

} // namespace

TEST_F(QuorilOnScreen, GoalsTypedCompletedAndDraggedAreAsTheyWereAfterARestartAndAKill) {
    launch();
    ASSERT_FALSE(waitForWindow().empty());

    // Return with nothing focused adds a goal; Return in a title adds the next one.
    key("Return");
    typeText("Alpha");
    key("Return");
    typeText("Beta");
    key("Return");
    typeText("Gamma");
    auto rows = rowsOf(capture("typing"));
    ASSERT_EQ(rows.size(), 3u);
    // A click below the goals ends the edit, which stores the title.
    click(below(rows));
    rows = rowsOf(capture("typed"));
    ASSERT_EQ(rows.size(), 3u);

    // Complete Beta by its ring: it moves first.
    click(rows[1].completed);
    rows = rowsOf(capture("completed"));
    ASSERT_EQ(rows.size(), 3u);
    // Gamma, last, dragged by its title above Alpha.
    drag(rows[2].title, rows[1].title - QPoint(0, 12));
    // Dragging by the title starts no edit, so nothing is left to end before quitting.
    xdotool({"mousemove", "--sync", "0", "0"});
    const QImage before = capture("before-quit");
    EXPECT_EQ(quit(), 0);

    const std::vector<StoredGoal> expected{
        {"Beta", true, true, 0}, {"Gamma", false, false, 1}, {"Alpha", false, false, 2}};
    EXPECT_EQ(storedGoals(), expected);
    EXPECT_EQ(storedCollections(), std::vector<std::string>{"Quoril"});

    launch();
    ASSERT_FALSE(waitForWindow().empty());
    xdotool({"mousemove", "--sync", "0", "0"});
    const QImage after = capture("after-restart");
    EXPECT_EQ(listPart(after, rowsOf(after)), listPart(before, rowsOf(before))) << "the rows show as before";

    // A saved change, then a goal being typed when the program is killed.
    key("Return");
    typeText("Delta");
    click(below(rowsOf(capture("delta"))));
    auto saved = [&] {
        const auto goals = storedGoals();
        return goals.size() == 4 && goals.back().title == "Delta";
    };
    for (int i = 0; i < 200 && !saved(); ++i)
        capture("waiting");
    ASSERT_TRUE(saved()) << "saved on its own a moment after the change";
    key("Return");
    typeText("Epsilon");
    terminate(SIGKILL);
    app->finish(std::chrono::seconds(10));
    EXPECT_TRUE(integrityOK());
    launch();
    ASSERT_FALSE(waitForWindow().empty());
    std::vector<std::string> titles;
    for (const auto& goal : storedGoals())
        titles.push_back(goal.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"Beta", "Gamma", "Alpha", "Delta"}));
    EXPECT_TRUE(integrityOK());
}

TEST_F(QuorilOnScreen, AChangeJustBeforeSigtermIsSaved) {
    launch();
    ASSERT_FALSE(waitForWindow().empty());
    key("Return");
    typeText("Kept");
    click(below(rowsOf(capture("kept"))));
    terminate(SIGTERM);
    EXPECT_EQ(app->finish(std::chrono::seconds(20)), 0);
    ASSERT_EQ(storedGoals().size(), 1u);
    EXPECT_EQ(storedGoals()[0].title, "Kept");
}

TEST_F(QuorilOnScreen, TheWheelScrollsToTheLastGoalAndNoFurther) {
    seedGoals(60);
    launch();
    ASSERT_FALSE(waitForWindow().empty());
    const QImage top = capture("scroll-top");
    const auto firstRows = rowsOf(top);
    ASSERT_FALSE(firstRows.empty());
    const QPoint over = firstRows.front().title;
    xdotool({"mousemove", "--sync", std::to_string(windowOrigin().x() + over.x()),
             std::to_string(windowOrigin().y() + over.y() + 60)});
    xdotool({"click", "--repeat", "80", "--delay", "10", "5"});
    const QImage end = capture("scroll-end");
    xdotool({"click", "--repeat", "10", "--delay", "10", "5"});
    const QImage still = capture("scroll-still");
    EXPECT_NE(end, top) << "the wheel moved the list";
    EXPECT_EQ(end, still) << "no further than the last goal";
    EXPECT_FALSE(rowsOf(end).empty());
}

TEST_F(QuorilOnScreen, CtrlBBurnsTheCompletedGoalsWithAGlowingFrontAndSavesTheRest) {
    seedGoals(5, 3);
    launch();
    ASSERT_FALSE(waitForWindow().empty());
    xdotool({"mousemove", "--sync", "0", "0"});
    ASSERT_EQ(rowsOf(capture("burn-before")).size(), 5u);
    key("ctrl+b");
    // A capture a second in, while the front glows ember orange over the completed rows.
    const QImage mid = capture("burn-mid", 1);
    int ember = 0;
    for (int y = 0; y < mid.height(); ++y)
        for (int x = 0; x < mid.width(); ++x) {
            const QColor c = mid.pixelColor(x, y);
            ember += c.red() > 200 && c.green() > 80 && c.green() < 230 && c.blue() < 120;
        }
    EXPECT_GT(ember, 50);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (storedGoals().size() != 2 && std::chrono::steady_clock::now() < deadline)
        capture("burn-after", 1);
    std::vector<std::string> titles;
    for (const auto& goal : storedGoals())
        titles.push_back(goal.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"Goal 4", "Goal 5"}));
    EXPECT_EQ(rowsOf(capture("burn-after")).size(), 2u);
    EXPECT_EQ(quit(), 0);
}

TEST_F(QuorilOnScreen, InstalledIntoAPrefixItBringsItsDesktopEntryAndIconsAndOpens) {
    const auto prefix = home.path() / "prefix";
    const auto cmake = testing_support::findProgram("cmake");
    ASSERT_TRUE(cmake);
    testing_support::ChildProcess install(*cmake,
                                          {"--install", QUORIL_BUILD_DIR, "--prefix", prefix.string()});
    ASSERT_EQ(install.finish(std::chrono::seconds(90)), 0);

    const auto entry = prefix / "share/applications/org.quoril.Quoril.desktop";
    ASSERT_TRUE(std::filesystem::exists(entry));
    std::ifstream file(entry);
    const std::string contents((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto wmClass = contents.find("StartupWMClass=");
    ASSERT_NE(wmClass, std::string::npos);
    const std::string startupClass =
        contents.substr(wmClass + 15, contents.find('\n', wmClass) - wmClass - 15);
    EXPECT_NE(contents.find("Icon=org.quoril.Quoril\n"), std::string::npos);
    for (int size : {256, 512}) {
        const auto icon = prefix / ("share/icons/hicolor/" + std::to_string(size) + "x" +
                                    std::to_string(size) + "/apps/org.quoril.Quoril.png");
        EXPECT_EQ(QImage(QString::fromStdString(icon.string())).width(), size) << icon;
    }

    // The updater's network transport comes along, beside the libraries that load it.
    EXPECT_TRUE(std::filesystem::exists(prefix / QUORIL_LIBDIR / "libquoril-updater-network.so"));

    // Installed, it finds its libraries by its own place, in any prefix.
    testing_support::ScopedEnvironment libraries("LD_LIBRARY_PATH", nullptr);
    launch((prefix / "bin/quoril").string());
    ASSERT_FALSE(waitForWindow().empty());
    // Network libraries are mapped only once the updater first checks, not at start.
    std::ifstream maps("/proc/" + std::to_string(app->pid()) + "/maps");
    const std::string mapped((std::istreambuf_iterator<char>(maps)), std::istreambuf_iterator<char>());
    EXPECT_NE(mapped.find("libquoril-updater.so"), std::string::npos);
    EXPECT_EQ(mapped.find("libQt6Network"), std::string::npos);
    EXPECT_EQ(mapped.find("libquoril-updater-network"), std::string::npos);
    EXPECT_EQ(xdotool({"getwindowname", window}), "Quoril\n");
    // The desktop entry names the window's class, so the desktop ties the two together.
    EXPECT_EQ(xdotool({"search", "--class", "^" + startupClass + "$"}), window + "\n");
    EXPECT_EQ(quit(), 0);
    EXPECT_EQ(storedCollections(), std::vector<std::string>{"Quoril"});
}

TEST(QuorilWithoutDisplay, SaysSoInOneLineAndStops) {
    testing_support::ScopedEnvironment display("DISPLAY", nullptr);
    testing_support::ScopedEnvironment wayland("WAYLAND_DISPLAY", nullptr);
    testing_support::ScopedEnvironment platform("QT_QPA_PLATFORM", nullptr);
    testing_support::ChildProcess program("/bin/sh", {"-c", std::string(QUORIL_PATH) + " 2>&1"});
    const std::string output = program.readAll(std::chrono::seconds(20));
    EXPECT_EQ(program.finish(std::chrono::seconds(5)), 1);
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
    EXPECT_NE(output.find("display"), std::string::npos) << output;
}

// The captures stay in QUORIL_TEST_TMP (the build's test-tmp) to be looked at.
TEST_F(QuorilOnScreen, TheWindowIsDarkWithPaddedRowsAndYellowRingsAt1xAnd2x) {
    for (const int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        const std::string at = std::to_string(scale) + "x";
        if (scale == 1) {
            launch(QUORIL_PATH, {}, scale);
            ASSERT_FALSE(waitForWindow().empty());
            const QImage empty = capture("look-empty-" + at);
            EXPECT_EQ(empty.width(), 400);
            EXPECT_LT(QColor(empty.pixel(200, empty.height() - 20)).lightness(), 60) << "dark";
            EXPECT_TRUE(rings(empty).empty());
            EXPECT_EQ(quit(), 0);
            std::filesystem::remove_all(storeFile().parent_path());
        }
        seedGoals(4, 1, 1);
        launch(QUORIL_PATH, {}, scale);
        ASSERT_FALSE(waitForWindow().empty());
        xdotool({"mousemove", "--sync", "0", "0"});
        const QImage goals = capture("look-goals-" + at);
        EXPECT_EQ(goals.width(), 400 * scale);
        const auto rows = rowsOf(goals);
        ASSERT_EQ(rows.size(), 4u);
        for (const auto& row : rows) {
            EXPECT_NEAR(row.inProgress.x() - row.completed.x(), 24 * scale, 2) << "16-point rings 8 apart";
            // Padded 18 within a row that reaches 8 past the list's edges.
            EXPECT_NEAR(goals.width() - row.inProgress.x(), (18 - 8 + 8) * scale, 2);
        }
        EXPECT_NEAR(rows[1].completed.y() - rows[0].completed.y(),
                    rows[2].completed.y() - rows[1].completed.y(), 2);
        // The completed goal's title is red.
        int red = 0;
        for (int x = 0; x < goals.width() / 2; ++x) {
            const QColor c = goals.pixelColor(x, rows[0].completed.y());
            red += c.red() > 150 && c.green() < 90 && c.blue() < 90;
        }
        EXPECT_GT(red, 0);

        // A focused editor (a new goal) and a hover preview.
        key("Return");
        const auto shown = rowsOf(capture("look-focused-" + at));
        ASSERT_EQ(shown.size(), 5u);
        xdotool({"mousemove", "--sync", std::to_string(windowOrigin().x() + shown[3].completed.x()),
                 std::to_string(windowOrigin().y() + shown[3].completed.y())});
        capture("look-hover-" + at);
        EXPECT_EQ(quit(), 0);
        std::filesystem::remove_all(storeFile().parent_path());
    }
}
