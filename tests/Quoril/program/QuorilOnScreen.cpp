#include "QuorilOnScreen.h"

#include "App/SharedModelContainer.h"
#include "Model/Item.h"
#include "Model/ItemCollection.h"

#include "foundation/Date.h"
#include "store/ModelConfiguration.h"
#include "store/ModelContainer.h"
#include "store/ModelContext.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace programtest {

namespace {

const std::string xdotoolPath = testing_support::findProgram("xdotool").value_or("xdotool");

struct Database {
    sqlite3* handle = nullptr;
    explicit Database(const std::filesystem::path& file) {
        if (sqlite3_open_v2(file.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close(handle);
            handle = nullptr;
        }
    }
    ~Database() { sqlite3_close(handle); }
    template <class Row> void each(const char* sql, Row row) {
        if (!handle) return;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(handle, sql, -1, &statement, nullptr) != SQLITE_OK) return;
        while (sqlite3_step(statement) == SQLITE_ROW)
            row(statement);
        sqlite3_finalize(statement);
    }
};

std::string text(sqlite3_stmt* statement, int column) {
    const auto* value = sqlite3_column_text(statement, column);
    return value ? reinterpret_cast<const char*>(value) : "";
}

} // namespace

void QuorilOnScreen::SetUp() {
    // Room for the window at twice the pixels.
    screenSize_ = "1600x1200x24";
    VirtualScreenFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    auto set = [&](const char* name, const std::string& value) {
        environment_.push_back(std::make_unique<testing_support::ScopedEnvironment>(name, value.c_str()));
    };
    set("DISPLAY", displayName());
    set("QT_QPA_PLATFORM", "xcb");
    set("HOME", home.path().string());
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME"}) {
        const auto folder = home.path() / name;
        std::filesystem::create_directories(folder);
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
        set(name, folder.string());
    }
}

void QuorilOnScreen::TearDown() {
    app.reset();
    environment_.clear();
    VirtualScreenFixture::TearDown();
}

void QuorilOnScreen::launch(const std::string& program, const std::string& libraryPath, int scale) {
    std::optional<testing_support::ScopedEnvironment> libraries;
    if (!libraryPath.empty()) libraries.emplace("LD_LIBRARY_PATH", libraryPath.c_str());
    testing_support::ScopedEnvironment density("QT_SCALE_FACTOR", std::to_string(scale).c_str());
    app = std::make_unique<testing_support::ChildProcess>(program, std::vector<std::string>{});
    ASSERT_TRUE(app->isStarted());
}

std::string QuorilOnScreen::xdotool(const std::vector<std::string>& arguments) {
    testing_support::ChildProcess tool(xdotoolPath, arguments);
    std::string output = tool.readAll(std::chrono::seconds(20));
    tool.finish(std::chrono::seconds(5));
    return output;
}

std::string QuorilOnScreen::waitForWindow() {
    testing_support::ChildProcess search(xdotoolPath, {"search", "--sync", "--onlyvisible", "--classname", "quoril"});
    const auto line = search.readLine(std::chrono::seconds(30));
    search.kill();
    if (!line) {
        ADD_FAILURE() << "the program showed no window";
        return {};
    }
    window = *line;
    std::istringstream geometry(xdotool({"getwindowgeometry", "--shell", window}));
    for (std::string entry; std::getline(geometry, entry);) {
        if (entry.rfind("X=", 0) == 0) origin_.setX(std::stoi(entry.substr(2)));
        if (entry.rfind("Y=", 0) == 0) origin_.setY(std::stoi(entry.substr(2)));
    }
    // Without a window manager the keyboard goes where the focus is set.
    xdotool({"mousemove", "--sync", std::to_string(origin_.x() + 5), std::to_string(origin_.y() + 5)});
    xdotool({"windowfocus", "--sync", window});
    return window;
}

QImage QuorilOnScreen::capture(const std::string& name, int patience) {
    const auto file = captures_ / (name + ".png");
    testing_support::ChildProcess tool(QUORIL_CAPTURE_PATH, {"quoril", file.string(), std::to_string(patience)});
    const std::string output = tool.readAll(std::chrono::seconds(30));
    EXPECT_EQ(tool.finish(std::chrono::seconds(5)), 0) << output;
    return QImage(QString::fromStdString(file.string()));
}

void QuorilOnScreen::click(QPoint at, int button) {
    xdotool({"mousemove", "--sync", std::to_string(origin_.x() + at.x()), std::to_string(origin_.y() + at.y()),
             "click", std::to_string(button)});
}

void QuorilOnScreen::drag(QPoint from, QPoint to) {
    xdotool({"mousemove", "--sync", std::to_string(origin_.x() + from.x()), std::to_string(origin_.y() + from.y()),
             "mousedown", "1"});
    for (int i = 1; i <= 8; ++i) {
        const QPoint at = from + (to - from) * i / 8;
        xdotool({"mousemove", "--sync", std::to_string(origin_.x() + at.x()), std::to_string(origin_.y() + at.y())});
    }
    xdotool({"mouseup", "1"});
}

void QuorilOnScreen::key(const std::string& keys) {
    xdotool({"key", "--delay", "30", keys});
}

void QuorilOnScreen::typeText(const std::string& text) {
    xdotool({"type", "--delay", "30", text});
}

int QuorilOnScreen::quit() {
    key("ctrl+q");
    return app->finish(std::chrono::seconds(20));
}

void QuorilOnScreen::terminate(int signal) {
    app->signal(signal);
}

std::filesystem::path QuorilOnScreen::storeFile() const {
    return home.path() / "XDG_DATA_HOME" / "org.quoril.Quoril" / "default.store";
}

std::vector<StoredGoal> QuorilOnScreen::storedGoals() {
    std::vector<StoredGoal> goals;
    Database(storeFile()).each(
        "SELECT title, completed, inProgress, orderIndex FROM Item ORDER BY orderIndex, timestamp",
        [&](sqlite3_stmt* row) {
            goals.push_back({text(row, 0), sqlite3_column_int(row, 1) != 0, sqlite3_column_int(row, 2) != 0,
                             sqlite3_column_type(row, 3) == SQLITE_NULL ? -1 : sqlite3_column_int64(row, 3)});
        });
    return goals;
}

std::vector<std::string> QuorilOnScreen::storedCollections() {
    std::vector<std::string> titles;
    Database(storeFile()).each("SELECT title FROM ItemCollection", [&](sqlite3_stmt* row) { titles.push_back(text(row, 0)); });
    return titles;
}

bool QuorilOnScreen::integrityOK() {
    std::string result;
    Database(storeFile()).each("PRAGMA integrity_check", [&](sqlite3_stmt* row) { result = text(row, 0); });
    return result == "ok";
}

void QuorilOnScreen::seedGoals(int count, int completed, int inProgress) {
    store::ModelConfiguration configuration;
    configuration.url = storeFile();
    std::filesystem::create_directories(storeFile().parent_path());
    store::ModelContainer container(quoril::quorilSchema(), configuration);
    const auto& context = container.mainContext();
    context->setAutosaveEnabled(false);
    auto collection = std::make_shared<quoril::ItemCollection>("Quoril");
    context->insert(collection);
    for (int i = 0; i < count; ++i) {
        const bool done = i < completed;
        const bool going = done || i < completed + inProgress;
        auto goal = std::make_shared<quoril::Item>(foundation::Date::now(), "Goal " + std::to_string(i + 1), going,
                                                   done, std::nullopt, i);
        goal->setCollection(collection);
        context->insert(goal);
    }
    context->save();
}

std::vector<QPoint> QuorilOnScreen::rings(const QImage& image) {
    struct Cluster {
        QRect box;
    };
    std::vector<Cluster> clusters;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            // The rings' warm yellow over the dark list.
            if (!(c.red() > 150 && c.green() > 100 && c.blue() < 90 && c.red() - c.blue() > 100)) continue;
            auto near = std::find_if(clusters.begin(), clusters.end(), [&](const Cluster& k) {
                return k.box.adjusted(-6, -6, 6, 6).contains(x, y);
            });
            if (near == clusters.end())
                clusters.push_back({QRect(x, y, 1, 1)});
            else
                near->box = near->box.united(QRect(x, y, 1, 1));
        }
    }
    std::vector<QPoint> centres;
    for (const auto& k : clusters)
        if (k.box.width() >= 8 && k.box.height() >= 8) centres.push_back(k.box.center());
    std::sort(centres.begin(), centres.end(), [](QPoint a, QPoint b) {
        return std::abs(a.y() - b.y()) > 4 ? a.y() < b.y() : a.x() < b.x();
    });
    return centres;
}

} // namespace programtest
