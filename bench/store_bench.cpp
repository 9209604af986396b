// The object store against hand-written SQLite statements doing the same work on the same kind of
// file (WAL, foreign keys, synchronous FULL), in the same run. Goal: each ratio <= 2x.
//   insert: 10,000 goals in one save
//   fetch: the list's query (one collection, by orderIndex then timestamp), cold and warm
//   toggle: flip `completed` on 1,000 goals and save
// Memory: heap bytes per goal held, against plain structs of the same fields.
#include "RatioReporter.h"

#include "App/SharedModelContainer.h"
#include "Model/Item.h"
#include "Model/ItemCollection.h"

#include "foundation/UUID.h"
#include "store/ModelContext.h"

#include <malloc.h>
#include <sqlite3.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int goalCount = 10000;
constexpr int toggleCount = 1000;

std::filesystem::path benchFolder() {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() / ("store_bench." + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

void removeStore(const std::filesystem::path& file) {
    for (const char* suffix : {"", "-wal", "-shm"})
        std::filesystem::remove(file.string() + suffix);
}

store::ModelConfiguration configuration(const std::filesystem::path& file) {
    store::ModelConfiguration c;
    c.url = file;
    return c;
}

std::unique_ptr<store::ModelContainer> openStore(const std::filesystem::path& file) {
    auto container = std::make_unique<store::ModelContainer>(quoril::quorilSchema(), configuration(file));
    container->mainContext()->setAutosaveEnabled(false);
    return container;
}

std::shared_ptr<quoril::ItemCollection> fillStore(store::ModelContext& context) {
    auto collection = std::make_shared<quoril::ItemCollection>("Quoril");
    auto other = std::make_shared<quoril::ItemCollection>("Other");
    context.insert(collection);
    context.insert(other);
    for (int i = 0; i < goalCount; ++i) {
        auto item = std::make_shared<quoril::Item>(foundation::Date(i), "Goal number " + std::to_string(i),
                                                   false, false, std::nullopt, goalCount - i);
        item->setCollection(i % 10 == 9 ? other : collection);
        context.insert(item);
    }
    context.save();
    return collection;
}

store::FetchDescriptor<quoril::Item> listQuery(const std::shared_ptr<quoril::ItemCollection>& collection) {
    return {store::Predicate<quoril::Item>::relationshipEquals("collection", collection->persistentModelID()),
            {{"orderIndex"}, {"timestamp"}}};
}

// The baseline: one table of the same columns, driven by prepared statements.
struct Raw {
    sqlite3* db = nullptr;
    explicit Raw(const std::filesystem::path& file) {
        sqlite3_open(file.c_str(), &db);
        exec("PRAGMA foreign_keys = ON");
        exec("PRAGMA journal_mode = WAL");
        exec("PRAGMA synchronous = FULL");
        exec("CREATE TABLE IF NOT EXISTS c (pk INTEGER PRIMARY KEY, id BLOB NOT NULL, title TEXT NOT NULL, "
             "color TEXT "
             "NOT NULL)");
        exec("CREATE TABLE IF NOT EXISTS g (pk INTEGER PRIMARY KEY, id BLOB NOT NULL, timestamp REAL NOT "
             "NULL, title "
             "TEXT NOT NULL, inProgress INTEGER NOT NULL, completed INTEGER NOT NULL, note TEXT, orderIndex "
             "INTEGER, "
             "collection INTEGER REFERENCES c(pk) ON DELETE CASCADE DEFERRABLE INITIALLY DEFERRED)");
        exec("CREATE INDEX IF NOT EXISTS g_collection ON g(collection)");
    }
    ~Raw() { sqlite3_close(db); }
    void exec(const char* sql) { sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

    void fill() {
        exec("BEGIN IMMEDIATE");
        exec("INSERT INTO c VALUES (1, x'00', 'Quoril', 'red'), (2, x'01', 'Other', 'red')");
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO g VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)", -1, &s, nullptr);
        for (int i = 0; i < goalCount; ++i) {
            const foundation::UUID id;
            const std::string title = "Goal number " + std::to_string(i);
            sqlite3_bind_int64(s, 1, i + 10);
            sqlite3_bind_blob(s, 2, id.bytes().data(), 16, SQLITE_TRANSIENT);
            sqlite3_bind_double(s, 3, i);
            sqlite3_bind_text(s, 4, title.data(), int(title.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int(s, 5, 0);
            sqlite3_bind_int(s, 6, 0);
            sqlite3_bind_null(s, 7);
            sqlite3_bind_int64(s, 8, goalCount - i);
            sqlite3_bind_int64(s, 9, i % 10 == 9 ? 2 : 1);
            sqlite3_step(s);
            sqlite3_reset(s);
        }
        sqlite3_finalize(s);
        exec("COMMIT");
    }
};

struct PlainGoal {
    std::int64_t pk;
    foundation::UUID id;
    double timestamp;
    std::string title;
    bool inProgress, completed;
    std::optional<std::string> note;
    std::optional<std::int64_t> orderIndex;
    std::int64_t collection;
};

// The list's query, or every goal.
std::vector<PlainGoal> rawFetch(Raw& raw, bool everyGoal = false) {
    std::vector<PlainGoal> goals;
    sqlite3_stmt* s = nullptr;
    const char* columns =
        "SELECT pk, id, timestamp, title, inProgress, completed, note, orderIndex, collection FROM g";
    const std::string sql =
        everyGoal ? std::string(columns) + " ORDER BY pk"
                  : std::string(columns) + " WHERE collection = ? ORDER BY orderIndex, timestamp, pk";
    sqlite3_prepare_v2(raw.db, sql.c_str(), -1, &s, nullptr);
    if (!everyGoal) sqlite3_bind_int64(s, 1, 1);
    while (sqlite3_step(s) == SQLITE_ROW) {
        foundation::UUID::Bytes bytes{};
        std::memcpy(bytes.data(), sqlite3_column_blob(s, 1), 16);
        PlainGoal goal{sqlite3_column_int64(s, 0),
                       foundation::UUID(bytes),
                       sqlite3_column_double(s, 2),
                       reinterpret_cast<const char*>(sqlite3_column_text(s, 3)),
                       sqlite3_column_int(s, 4) != 0,
                       sqlite3_column_int(s, 5) != 0,
                       std::nullopt,
                       std::nullopt,
                       sqlite3_column_int64(s, 8)};
        if (sqlite3_column_type(s, 6) != SQLITE_NULL)
            goal.note = reinterpret_cast<const char*>(sqlite3_column_text(s, 6));
        if (sqlite3_column_type(s, 7) != SQLITE_NULL) goal.orderIndex = sqlite3_column_int64(s, 7);
        goals.push_back(std::move(goal));
    }
    sqlite3_finalize(s);
    return goals;
}

void BM_StoreInsert(benchmark::State& state) {
    const auto file = benchFolder() / "insert.store";
    for (auto _ : state) {
        state.PauseTiming();
        removeStore(file);
        auto container = openStore(file);
        state.ResumeTiming();
        fillStore(*container->mainContext());
    }
}

void BM_SqliteInsert(benchmark::State& state) {
    const auto file = benchFolder() / "insert.sqlite";
    for (auto _ : state) {
        state.PauseTiming();
        removeStore(file);
        Raw raw(file);
        state.ResumeTiming();
        raw.fill();
    }
}

void BM_StoreFetchCold(benchmark::State& state) {
    const auto file = benchFolder() / "fetch.store";
    removeStore(file);
    { fillStore(*openStore(file)->mainContext()); }
    for (auto _ : state) {
        state.PauseTiming();
        auto container = openStore(file);
        auto collection = container->mainContext()->fetch<quoril::ItemCollection>().front();
        state.ResumeTiming();
        auto items = container->mainContext()->fetch(listQuery(collection));
        benchmark::DoNotOptimize(items.data());
        state.PauseTiming();
        items.clear();
        container.reset();
        state.ResumeTiming();
    }
}

void BM_StoreFetchWarm(benchmark::State& state) {
    const auto file = benchFolder() / "fetch.store";
    removeStore(file);
    auto container = openStore(file);
    auto collection = fillStore(*container->mainContext());
    for (auto _ : state) {
        auto items = container->mainContext()->fetch(listQuery(collection));
        benchmark::DoNotOptimize(items.data());
    }
}

void BM_SqliteFetch(benchmark::State& state) {
    const auto file = benchFolder() / "fetch.sqlite";
    removeStore(file);
    Raw raw(file);
    raw.fill();
    for (auto _ : state) {
        auto goals = rawFetch(raw);
        benchmark::DoNotOptimize(goals.data());
    }
}

void BM_StoreToggle(benchmark::State& state) {
    const auto file = benchFolder() / "toggle.store";
    removeStore(file);
    auto container = openStore(file);
    auto collection = fillStore(*container->mainContext());
    auto items = container->mainContext()->fetch(listQuery(collection));
    for (auto _ : state) {
        for (int i = 0; i < toggleCount; ++i)
            items[i]->setCompleted(!items[i]->completed());
        container->mainContext()->save();
    }
}

void BM_SqliteToggle(benchmark::State& state) {
    const auto file = benchFolder() / "toggle.sqlite";
    removeStore(file);
    Raw raw(file);
    raw.fill();
    auto goals = rawFetch(raw);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(raw.db, "UPDATE g SET completed = ? WHERE pk = ?", -1, &s, nullptr);
    for (auto _ : state) {
        raw.exec("BEGIN IMMEDIATE");
        for (int i = 0; i < toggleCount; ++i) {
            goals[i].completed = !goals[i].completed;
            sqlite3_bind_int(s, 1, goals[i].completed);
            sqlite3_bind_int64(s, 2, goals[i].pk);
            sqlite3_step(s);
            sqlite3_reset(s);
        }
        raw.exec("COMMIT");
    }
    sqlite3_finalize(s);
}

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

// Heap bytes of 10,000 goals held after a fetch on a fresh connection (its page cache included).
void BM_StoreMemory(benchmark::State& state) {
    const auto file = benchFolder() / "memory.store";
    removeStore(file);
    { fillStore(*openStore(file)->mainContext()); }
    double held = 0;
    for (auto _ : state) {
        auto container = openStore(file);
        const std::size_t before = heapInUse();
        auto items = container->mainContext()->fetch<quoril::Item>();
        held = double(heapInUse() - before);
    }
    state.counters["heap_bytes"] = held;
    state.counters["bytes_per_goal"] = held / goalCount;
}

void BM_PlainMemory(benchmark::State& state) {
    const auto file = benchFolder() / "memory.sqlite";
    removeStore(file);
    { Raw(file).fill(); }
    double held = 0;
    for (auto _ : state) {
        Raw raw(file);
        const std::size_t before = heapInUse();
        std::vector<PlainGoal> goals = rawFetch(raw, true);
        held = double(heapInUse() - before);
    }
    state.counters["heap_bytes"] = held;
    state.counters["bytes_per_goal"] = held / goalCount;
}

BENCHMARK(BM_StoreInsert)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqliteInsert)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreFetchCold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreFetchWarm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqliteFetch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreToggle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqliteToggle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreMemory)->Iterations(1);
BENCHMARK(BM_PlainMemory)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    const int result = runWithRatios(argc, argv,
                                     {{"BM_StoreInsert", "BM_SqliteInsert"},
                                      {"BM_StoreFetchCold", "BM_SqliteFetch"},
                                      {"BM_StoreFetchWarm", "BM_SqliteFetch"},
                                      {"BM_StoreToggle", "BM_SqliteToggle"}});
    std::filesystem::remove_all(benchFolder());
    return result;
}
