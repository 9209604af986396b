#include "TestModels.h"

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include "foundation/Clock.h"
#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"
#include "store/StoreError.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace store_testing;
using store::FetchDescriptor;
using store::Predicate;

namespace {

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A plain connection, to look at the file as another program would.
struct RawFile {
    explicit RawFile(const std::filesystem::path& path) { sqlite3_open(path.c_str(), &db); }
    ~RawFile() { sqlite3_close(db); }
    std::string text(const char* sql) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
        std::string result;
        if (sqlite3_step(statement) == SQLITE_ROW) {
            const auto* text = sqlite3_column_text(statement, 0);
            result = text ? reinterpret_cast<const char*>(text) : "";
        }
        sqlite3_finalize(statement);
        return result;
    }
    void execute(const char* sql) {
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    }
    sqlite3* db = nullptr;
};

class StoreFileTest : public testing::Test {
protected:
    std::unique_ptr<store::ModelContainer> open() {
        return std::make_unique<store::ModelContainer>(testSchema(), fileConfiguration(file));
    }

    foundation::ScopedManualClock clock{foundation::Date(1000)};
    testing_support::TemporaryFolder folder;
    std::filesystem::path file = folder.path() / "nested" / "test.store";
};

TEST_F(StoreFileTest, SavedModelsAndRelationshipsComeBackAfterReopening) {
    {
        auto container = open();
        auto context = container->mainContext();
        auto f = std::make_shared<Folder>("folder");
        auto note = std::make_shared<Note>("note", 7, 3.5);
        note->setFolder(f);
        note->setDone(true);
        context->insert(note);
        context->insert(std::make_shared<Note>("loose"));
        context->save();
    }
    auto container = open();
    auto notes = container->mainContext()->fetch<Note>();
    ASSERT_EQ(titles(notes), (std::vector<std::string>{"note", "loose"}));
    EXPECT_EQ(notes[0]->rank(), 7);
    EXPECT_EQ(notes[0]->created(), 3.5);
    EXPECT_TRUE(notes[0]->done());
    ASSERT_TRUE(notes[0]->folder());
    EXPECT_EQ(notes[0]->folder()->title(), "folder");
    EXPECT_EQ(notes[0]->folder()->notes(), std::vector<std::shared_ptr<Note>>{notes[0]});
    EXPECT_EQ(notes[1]->folder(), nullptr);
    EXPECT_EQ(notes[1]->rank(), std::nullopt);
}

TEST_F(StoreFileTest, ASecondContainerDeletesAndTheFirstSeesIt) {
    auto first = open();
    auto f = std::make_shared<Folder>("f");
    first->mainContext()->insert(f);
    for (const char* title : {"a", "b", "c"}) {
        auto note = std::make_shared<Note>(title);
        note->setFolder(f);
        note->setDone(title != std::string("b"));
        first->mainContext()->insert(note);
    }
    first->mainContext()->save();
    auto shown = first->mainContext()->fetch<Note>();

    int changes = 0, listChanges = 0;
    reactive::withObservationTracking([&] { (void)first->mainContext()->fetch<Note>(); }, [&] { ++changes; });
    reactive::withObservationTracking([&] { (void)f->notes(); }, [&] { ++listChanges; });
    {
        auto second = open();
        second->mainContext()->deleteModels(Predicate<Note>::equals("done", true));
        second->mainContext()->save();
    }
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(listChanges, 1) << "the folder's notes changed";
    EXPECT_TRUE(shown[0]->isDeleted());
    EXPECT_FALSE(shown[1]->isDeleted());
    EXPECT_EQ(titles(first->mainContext()->fetch<Note>()), std::vector<std::string>{"b"});
    EXPECT_EQ(titles(f->notes()), std::vector<std::string>{"b"});
    EXPECT_FALSE(first->mainContext()->hasChanges());
}

TEST_F(StoreFileTest, UnsavedNotesOfAFolderDeletedElsewhereGoWithItAndTheRestStillSaves) {
    auto first = open();
    auto f = std::make_shared<Folder>("f");
    first->mainContext()->insert(f);
    first->mainContext()->save();
    auto inFolder = std::make_shared<Note>("in the folder");
    inFolder->setFolder(f);
    first->mainContext()->insert(inFolder);
    first->mainContext()->insert(std::make_shared<Note>("loose"));
    {
        auto second = open();
        for (const auto& folder : second->mainContext()->fetch<Folder>())
            second->mainContext()->deleteModel(folder);
        second->mainContext()->save();
    }
    EXPECT_TRUE(f->isDeleted());
    EXPECT_TRUE(inFolder->isDeleted());
    EXPECT_NO_THROW(first->mainContext()->save()) << "no row may refer to the folder that is gone";
    first.reset();
    EXPECT_EQ(titles(open()->mainContext()->fetch<Note>()), std::vector<std::string>{"loose"});
}

TEST_F(StoreFileTest, AnObserverThatThrowsDoesNotTurnASaveIntoAFailure) {
    const auto token = foundation::NotificationCenter::defaultCenter().addObserver(
        store::ModelContext::didSave,
        [](const foundation::Notification&) { throw std::runtime_error("observer"); });
    {
        auto container = open();
        const auto& context = container->mainContext();
        context->insert(std::make_shared<Note>("saved"));
        EXPECT_NO_THROW(context->save());
        EXPECT_FALSE(context->hasChanges());
        context->insert(std::make_shared<Note>("autosaved"));
        EXPECT_TRUE(context->autosaveNow());
        context->insert(std::make_shared<Note>("saved on the way out")); // by the destructor
    }
    foundation::NotificationCenter::defaultCenter().removeObserver(token);
    EXPECT_EQ(titles(open()->mainContext()->fetch<Note>()),
              (std::vector<std::string>{"saved", "autosaved", "saved on the way out"}));
}

TEST_F(StoreFileTest, AnotherContainersEditsReplaceSavedValuesButNotUnsavedOnes) {
    auto first = open();
    auto edited = std::make_shared<Note>("edited");
    auto untouched = std::make_shared<Note>("untouched");
    first->mainContext()->insert(edited);
    first->mainContext()->insert(untouched);
    first->mainContext()->save();
    edited->setTitle("mine");

    int titleChanges = 0;
    reactive::withObservationTracking([&] { (void)untouched->title(); }, [&] { ++titleChanges; });
    auto second = open();
    for (const auto& note : second->mainContext()->fetch<Note>())
        note->setTitle("theirs " + note->title());
    auto late = std::make_shared<Note>("late");
    late->setFolder(std::make_shared<Folder>("new folder"));
    second->mainContext()->insert(late);
    second->mainContext()->save();

    EXPECT_EQ(edited->title(), "mine");
    EXPECT_EQ(untouched->title(), "theirs untouched");
    EXPECT_EQ(titleChanges, 1);
    EXPECT_EQ(titles(first->mainContext()->fetch<Note>()),
              (std::vector<std::string>{"mine", "theirs untouched", "late"}));
    ASSERT_TRUE(first->mainContext()->fetch<Note>()[2]->folder());
    EXPECT_EQ(first->mainContext()->fetch<Note>()[2]->folder()->title(), "new folder");
}

TEST_F(StoreFileTest, SavesToACopyOfTheFileLeaveTheOriginalsModelsAlone) {
    auto original = open();
    auto note = std::make_shared<Note>("n");
    original->mainContext()->insert(note);
    original->mainContext()->save();
    const auto copy = folder.path() / "copy.store";
    original.reset(); // folds the log into the file before copying
    std::filesystem::copy_file(file, copy);
    original = open();
    note = original->mainContext()->fetch<Note>().front();

    store::ModelContainer copied(testSchema(), fileConfiguration(copy));
    copied.mainContext()->fetch<Note>().front()->setTitle("changed in the copy");
    copied.mainContext()->deleteModels(Predicate<Note>::equals("title", std::string("changed in the copy")));
    copied.mainContext()->save();
    EXPECT_FALSE(note->isDeleted());
    EXPECT_EQ(original->mainContext()->fetchCount<Note>(), 1u);
}

TEST_F(StoreFileTest, AutosaveKeepsEditsThatNobodySaved) {
    {
        auto container = open();
        auto context = container->mainContext();
        auto note = std::make_shared<Note>("draft");
        context->insert(note);
        // Each change moves the save later; it runs a full delay after the last one.
        foundation::RunLoop::main().advance(store::ModelContext::autosaveDelay * 0.6);
        note->setTitle("typed");
        foundation::RunLoop::main().advance(store::ModelContext::autosaveDelay * 0.6);
        EXPECT_TRUE(context->hasChanges());
        foundation::RunLoop::main().advance(store::ModelContext::autosaveDelay * 0.5);
        EXPECT_FALSE(context->hasChanges());

        note->setRank(3);
        EXPECT_TRUE(context->autosaveNow()); // the quit hook
        EXPECT_FALSE(context->hasChanges());
        note->setDone(true); // left for the context to save as it goes
    }
    auto notes = open()->mainContext()->fetch<Note>();
    ASSERT_EQ(titles(notes), std::vector<std::string>{"typed"});
    EXPECT_EQ(notes[0]->rank(), 3);
    EXPECT_TRUE(notes[0]->done());
}

TEST_F(StoreFileTest, KillingTheProcessRightAfterASaveLosesNothing) {
    open().reset(); // the schema exists before the child starts
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeFds[0]);
        auto container = open();
        auto context = container->mainContext();
        context->setAutosaveEnabled(false);
        for (int i = 0; i < 500; ++i)
            context->insert(std::make_shared<Note>("note " + std::to_string(i), i));
        context->save();
        const char saved = 's';
        (void)!write(pipeFds[1], &saved, 1);
        for (;;)
            pause();
    }
    close(pipeFds[1]);
    char signal = 0;
    ASSERT_EQ(read(pipeFds[0], &signal, 1), 1);
    close(pipeFds[0]);
    kill(child, SIGKILL);
    int status = 0;
    for (int i = 0; i < 3000 && waitpid(child, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10)); // bounded poll for the reaping
    ASSERT_TRUE(WIFSIGNALED(status));

    EXPECT_EQ(open()->mainContext()->fetchCount<Note>(), 500u);
    EXPECT_EQ(RawFile(file).text("PRAGMA integrity_check"), "ok");
}

TEST_F(StoreFileTest, TheDefaultLocationIsUnderTheDataFolderWhichIsCreated) {
    const auto data = folder.path() / "data";
    testing_support::ScopedEnvironment xdg("XDG_DATA_HOME", data.c_str());
    const auto url = store::ModelConfiguration::defaultURL();
    EXPECT_EQ(url.parent_path().parent_path(), data);
    EXPECT_EQ(url.filename(), "default.store");
    store::ModelContainer container(testSchema());
    EXPECT_TRUE(std::filesystem::exists(url));
    EXPECT_EQ(RawFile(url).text("PRAGMA journal_mode"), "wal");
}

TEST_F(StoreFileTest, ANewStoreIsMadeWholeInPlaceAndTwoMakingItAtOnceShareOne) {
    std::vector<std::unique_ptr<store::ModelContainer>> opened(4);
    {
        std::vector<std::thread> makers;
        for (auto& container : opened)
            makers.emplace_back([&] { container = open(); });
        for (auto& maker : makers)
            maker.join();
    }
    opened[0]->mainContext()->insert(std::make_shared<Folder>("Kept"));
    opened[0]->mainContext()->save();
    for (auto& container : opened)
        EXPECT_EQ(container->mainContext()->fetchCount<Folder>(), 1u) << "every one opened the same file";
    opened.clear();
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"test.store"}) << "nothing left beside it";
    EXPECT_EQ(RawFile(file).text("PRAGMA journal_mode"), "wal");
    EXPECT_EQ(RawFile(file).text("PRAGMA integrity_check"), "ok");
}

TEST_F(StoreFileTest, ANewerFileIsRefusedAndLeftAsItWas) {
    open()->mainContext()->setAutosaveEnabled(false);
    RawFile(file).execute("PRAGMA user_version = 2");
    const std::string before = fileBytes(file);
    try {
        open();
        FAIL() << "opened a newer file";
    } catch (const store::StoreError& error) {
        EXPECT_NE(error.description().find("version 2"), std::string::npos) << error.description();
    }
    EXPECT_EQ(fileBytes(file), before);
}

TEST_F(StoreFileTest, FilesThatAreNoStoreOfOursAreRefusedUntouched) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << "not a database at all, just some text that is long enough";
    const std::string garbage = fileBytes(file);
    EXPECT_THROW(open(), store::StoreError);
    EXPECT_EQ(fileBytes(file), garbage);

    std::filesystem::remove(file);
    RawFile(file).execute("CREATE TABLE Note (x)");
    EXPECT_THROW(open(), store::StoreError);
    EXPECT_EQ(RawFile(file).text("SELECT count(*) FROM sqlite_master"), "1");

    std::filesystem::remove(file);
    std::filesystem::create_directories(file);
    EXPECT_THROW(open(), store::StoreError);
}

TEST_F(StoreFileTest, AFileMissingAColumnIsAnErrorAndNothingIsDropped) {
    open();
    RawFile(file).execute("ALTER TABLE Note DROP COLUMN rank");
    try {
        open();
        FAIL() << "opened a file without Note.rank";
    } catch (const store::StoreError& error) {
        EXPECT_NE(error.description().find("Note.rank"), std::string::npos) << error.description();
    }
}

} // namespace
