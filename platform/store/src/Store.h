#pragma once

#include "Database.h"

#include "store/ModelConfiguration.h"
#include "store/Schema.h"

#include <cstdint>
#include <map>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace store::detail {

// The SQL of one entity. Columns: the primary key, the attributes, then the to-one
// relationships, all in declaration order.
struct EntityTable {
    std::string name;
    std::string columns;                  // "pk", "a", ...
    std::string selectPrefix;             // SELECT <columns> FROM <table>
    std::vector<std::string> columnNames; // quoted, the key first
    std::string insert;
    std::string remove;
    std::string selectByKey;
    std::vector<const RelationshipDescription*> toOne;
};

// One open store: its connection, schema and identity. Shared by the contexts over it.
class Store {
public:
    static constexpr const char* primaryKeyColumn = "pk";

    // Throws StoreError.
    Store(Schema schema, const ModelConfiguration& configuration, int currentVersion);

    Database& database() { return *database_; }
    const Schema& schema() const { return schema_; }
    const std::shared_ptr<const std::string>& identifier() const { return identifier_; }
    // The file, made absolute; ":memory:" for a store in memory. A copied file keeps its
    // identifier, so saves are matched by both.
    const std::string& path() const { return path_; }
    bool allowsSave() const { return allowsSave_; }
    const EntityTable& table(const EntityDescription& entity);

    // Statements of the entity's table, reset. An update sets the columns in `columns` (bit i:
    // column i after the key) and takes the key last.
    Statement& insertStatement(const EntityDescription& entity);
    Statement& updateStatement(const EntityDescription& entity, std::uint64_t columns);
    Statement& removeStatement(const EntityDescription& entity);

    // A key no other model of this file has or will get, also from other connections.
    std::int64_t nextPrimaryKey();

private:
    void migrate(int currentVersion, const std::string& where);
    void createTables();
    // Makes a new store file whole beside `file` and moves it there; false when that cannot be
    // done here (the file is then made in place).
    bool createAside(const std::filesystem::path& file, int currentVersion);
    void verifyTables(const std::string& where);
    void reserveKeys();

    Schema schema_;
    std::unique_ptr<Database> database_;
    std::shared_ptr<const std::string> identifier_;
    std::string path_;
    bool allowsSave_ = true;
    bool inMemory_ = false;
    std::unordered_map<const EntityDescription*, EntityTable> tables_;
    std::map<std::tuple<const EntityDescription*, int, std::uint64_t>, std::unique_ptr<Statement>>
        statements_;
    std::int64_t nextKey_ = 0;
    std::int64_t endKey_ = 0;
    std::int64_t blockSize_ = 256;
};

std::string columnType(const AttributeDescription& attribute);

} // namespace store::detail
