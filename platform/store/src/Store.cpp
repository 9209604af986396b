#include "Store.h"

#include "store/StoreError.h"

#include "foundation/UUID.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <set>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace store::detail {

namespace {

constexpr const char* metadataTable = "StoreMetadata";
constexpr std::int64_t largestKeyBlock = 65536;

void validate(const Schema& schema) {
    for (const auto* entity : schema.entities()) {
        if (entity->name.empty() || entity->name == metadataTable)
            throw StoreError(fmt::format("\"{}\" cannot name an entity", entity->name));
        std::set<std::string> names{Store::primaryKeyColumn};
        const auto claim = [&](const std::string& name) {
            if (!names.insert(name).second)
                throw StoreError(
                    fmt::format("{} declares \"{}\" twice or uses a reserved name", entity->name, name));
        };
        for (const auto& attribute : entity->attributes)
            claim(attribute.name);
        for (const auto& relationship : entity->relationships) {
            claim(relationship.name);
            if (!relationship.isToMany) continue;
            const RelationshipDescription* inverse = entity->inverse(relationship);
            if (!inverse || inverse->isToMany)
                throw StoreError(
                    fmt::format("{}.{} needs a to-one inverse", entity->name, relationship.name));
        }
    }
}

} // namespace

std::string columnType(const AttributeDescription& attribute) {
    std::string type;
    switch (attribute.type) {
    case AttributeType::boolean:
    case AttributeType::integer:
        type = "INTEGER";
        break;
    case AttributeType::real:
    case AttributeType::date:
        type = "REAL";
        break;
    case AttributeType::text:
        type = "TEXT";
        break;
    case AttributeType::uuid:
        type = "BLOB";
        break;
    }
    return attribute.isOptional ? type : type + " NOT NULL";
}

Store::Store(Schema schema, const ModelConfiguration& configuration, int currentVersion)
    : schema_(std::move(schema))
    , allowsSave_(configuration.allowsSave)
    , inMemory_(configuration.isStoredInMemoryOnly) {
    validate(schema_);
    std::string path = ":memory:";
    if (!inMemory_) {
        const std::filesystem::path file = configuration.resolvedURL();
        std::error_code error;
        if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), error);
        if (error)
            throw StoreError(fmt::format("Could not create the folder {}: {}", file.parent_path().string(),
                                         error.message()));
        path = file.string();
        if (!std::filesystem::exists(file, error) && !error) createAside(file, currentVersion);
    }
    database_ = std::make_unique<Database>(path);
    path_ = path;
    if (!inMemory_) {
        std::error_code error;
        const auto canonical = std::filesystem::weakly_canonical(path, error);
        if (!error) path_ = canonical.string();
    }
    migrate(currentVersion, path);
    verifyTables(path);
    Statement statement(*database_,
                        fmt::format("SELECT value FROM {} WHERE key = 'identifier'", metadataTable));
    if (!statement.step()) throw StoreError(fmt::format("The store at {} has no identifier", path));
    identifier_ = std::make_shared<const std::string>(statement.text(0));
}

void Store::migrate(int currentVersion, const std::string& where) {
    // Read before anything may write: a newer file is left exactly as it is.
    const auto checkVersion = [&](std::int64_t version) {
        if (version > currentVersion || version < 0)
            throw StoreError(fmt::format("The store at {} has format version {}; this program knows up to {}",
                                         where, version, currentVersion));
    };
    checkVersion(database_->integerResult("PRAGMA user_version"));
    if (!inMemory_) {
        Statement mode(*database_, "PRAGMA journal_mode = WAL");
        if (!mode.step() || mode.text(0) != "wal")
            throw StoreError(fmt::format("The store at {} cannot use a write-ahead log", where));
    }
    database_->execute("PRAGMA synchronous = FULL");

    Transaction transaction(*database_);
    const std::int64_t version = database_->integerResult("PRAGMA user_version");
    checkVersion(version);
    if (version == currentVersion) return;
    // Version 0 is a new file; a database that already holds tables is some other program's.
    if (database_->integerResult("SELECT count(*) FROM sqlite_master") != 0)
        throw StoreError(fmt::format("The file at {} is no store of this program", where));
    createTables();
    database_->execute(fmt::format("PRAGMA user_version = {}", currentVersion));
    transaction.commit();
}

namespace {

bool syncPath(const std::filesystem::path& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

void removeWithCompanions(const std::string& path) {
    std::error_code ignored;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        std::filesystem::remove(path + suffix, ignored);
}

} // namespace

// Switching a new file to the write-ahead log in place writes it through a rollback journal,
// syncing each step (eight syncs before the first window). Made aside without syncs, synced
// once and linked into place, a crash leaves either no store or a whole empty one, and another
// process making the same store at the same time keeps its own: the link never replaces a file.
bool Store::createAside(const std::filesystem::path& file, int currentVersion) {
    static std::atomic<unsigned> made{0};
    const std::string aside = fmt::format("{}.{}-{}.new", file.string(), ::getpid(), made++);
    removeWithCompanions(aside);
    try {
        database_ = std::make_unique<Database>(aside);
        database_->execute("PRAGMA synchronous = OFF");
        {
            Statement mode(*database_, "PRAGMA journal_mode = WAL");
            if (!mode.step() || mode.text(0) != "wal") throw StoreError("no write-ahead log");
        }
        {
            Transaction transaction(*database_);
            createTables();
            database_->execute(fmt::format("PRAGMA user_version = {}", currentVersion));
            transaction.commit();
        }
        // Closing the only connection moves the log into the file and removes it.
        database_.reset();
    } catch (const StoreError&) {
        database_.reset();
        removeWithCompanions(aside);
        return false;
    }
    bool placed = syncPath(aside, O_RDONLY) && ::link(aside.c_str(), file.c_str()) == 0;
    const bool existed = !placed && errno == EEXIST;
    removeWithCompanions(aside);
    if (placed) syncPath(file.parent_path().empty() ? "." : file.parent_path(), O_RDONLY | O_DIRECTORY);
    return placed || existed;
}

void Store::createTables() {
    database_->execute(
        fmt::format("CREATE TABLE {} (key TEXT PRIMARY KEY, value) WITHOUT ROWID", metadataTable));
    Statement identity(
        *database_,
        fmt::format("INSERT INTO {} VALUES ('identifier', ?), ('nextPrimaryKey', 1)", metadataTable));
    identity.bind(1, foundation::UUID().uuidString());
    identity.run();
    for (const auto* entity : schema_.entities()) {
        std::string sql =
            fmt::format("CREATE TABLE {} ({} INTEGER PRIMARY KEY", sqlName(entity->name), primaryKeyColumn);
        for (const auto& attribute : entity->attributes)
            sql += fmt::format(", {} {}", sqlName(attribute.name), columnType(attribute));
        for (const auto& relationship : entity->relationships) {
            if (relationship.isToMany) continue;
            const EntityDescription& destination = relationship.destination();
            const RelationshipDescription* inverse = entity->inverse(relationship);
            // The owner's delete rule for this side decides what deleting the owner does here.
            const bool cascades = inverse && inverse->isToMany && inverse->deleteRule == DeleteRule::cascade;
            sql += fmt::format(", {} INTEGER REFERENCES {}({}) ON DELETE {} DEFERRABLE INITIALLY DEFERRED",
                               sqlName(relationship.name), sqlName(destination.name), primaryKeyColumn,
                               cascades ? "CASCADE" : "SET NULL");
        }
        database_->execute(sql + ")");
        for (const auto& relationship : entity->relationships)
            if (!relationship.isToMany)
                database_->execute(fmt::format("CREATE INDEX {} ON {}({})",
                                               sqlName(entity->name + "_" + relationship.name),
                                               sqlName(entity->name), sqlName(relationship.name)));
    }
}

void Store::verifyTables(const std::string& where) {
    for (const auto* entity : schema_.entities()) {
        Statement info(*database_, fmt::format("PRAGMA table_info({})", sqlName(entity->name)));
        std::set<std::string> columns;
        while (info.step())
            columns.insert(info.text(1));
        if (columns.empty())
            throw StoreError(fmt::format("The store at {} has no table for {}", where, entity->name));
        std::vector<std::string> expected{primaryKeyColumn};
        for (const auto& attribute : entity->attributes)
            expected.push_back(attribute.name);
        for (const auto& relationship : entity->relationships)
            if (!relationship.isToMany) expected.push_back(relationship.name);
        for (const auto& column : expected)
            if (!columns.count(column))
                throw StoreError(fmt::format("The store at {} lacks {}.{}", where, entity->name, column));
    }
}

const EntityTable& Store::table(const EntityDescription& entity) {
    auto found = tables_.find(&entity);
    if (found != tables_.end()) return found->second;
    EntityTable table;
    table.name = sqlName(entity.name);
    std::vector<std::string> names{primaryKeyColumn};
    for (const auto& attribute : entity.attributes)
        names.push_back(sqlName(attribute.name));
    for (const auto& relationship : entity.relationships) {
        if (relationship.isToMany) continue;
        names.push_back(sqlName(relationship.name));
        table.toOne.push_back(&relationship);
    }
    table.columns = fmt::format("{}", fmt::join(names, ", "));
    table.selectPrefix = fmt::format("SELECT {} FROM {}", table.columns, table.name);
    std::vector<std::string> placeholders(names.size(), "?");
    table.insert = fmt::format("INSERT INTO {} ({}) VALUES ({})", table.name, table.columns,
                               fmt::join(placeholders, ", "));
    table.columnNames = names;
    table.remove = fmt::format("DELETE FROM {} WHERE {} = ?", table.name, primaryKeyColumn);
    table.selectByKey = fmt::format("{} WHERE {} = ?", table.selectPrefix, primaryKeyColumn);
    return tables_.emplace(&entity, std::move(table)).first->second;
}

Statement& Store::insertStatement(const EntityDescription& entity) {
    auto& slot = statements_[{&entity, 0, 0}];
    if (!slot) slot = std::make_unique<Statement>(*database_, table(entity).insert);
    slot->reset();
    return *slot;
}

Statement& Store::removeStatement(const EntityDescription& entity) {
    auto& slot = statements_[{&entity, 1, 0}];
    if (!slot) slot = std::make_unique<Statement>(*database_, table(entity).remove);
    slot->reset();
    return *slot;
}

Statement& Store::updateStatement(const EntityDescription& entity, std::uint64_t columns) {
    auto& slot = statements_[{&entity, 2, columns}];
    if (!slot) {
        const EntityTable& t = table(entity);
        std::vector<std::string> assignments;
        for (std::size_t i = 1; i < t.columnNames.size(); ++i)
            if (i - 1 >= 64 || (columns >> (i - 1)) & 1) assignments.push_back(t.columnNames[i] + " = ?");
        slot = std::make_unique<Statement>(*database_,
                                           fmt::format("UPDATE {} SET {} WHERE {} = ?", t.name,
                                                       fmt::join(assignments, ", "), primaryKeyColumn));
    }
    slot->reset();
    return *slot;
}

std::int64_t Store::nextPrimaryKey() {
    if (nextKey_ == endKey_) reserveKeys();
    return nextKey_++;
}

void Store::reserveKeys() {
    // Keys are handed out in growing blocks so that a large insert reserves only a few times.
    // The reservation need not reach the disk by itself: a save that uses its keys commits after
    // it in the same log, and syncs it too.
    const std::int64_t block = blockSize_;
    blockSize_ = std::min(blockSize_ * 2, largestKeyBlock);
    if (!inMemory_) database_->execute("PRAGMA synchronous = NORMAL");
    try {
        Transaction transaction(*database_);
        Statement statement(*database_,
                            fmt::format("UPDATE {} SET value = value + ? WHERE key = 'nextPrimaryKey' "
                                        "RETURNING value",
                                        metadataTable));
        statement.bindInteger(1, block);
        if (!statement.step()) throw StoreError("The store has no key counter");
        const std::int64_t end = statement.integer(0);
        statement.run();
        transaction.commit();
        nextKey_ = end - block;
        endKey_ = end;
    } catch (...) {
        if (!inMemory_) database_->execute("PRAGMA synchronous = FULL");
        throw;
    }
    if (!inMemory_) database_->execute("PRAGMA synchronous = FULL");
}

} // namespace store::detail
