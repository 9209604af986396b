#pragma once

#include "store/Value.h"

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace store::detail {

class Database;

// One prepared statement; reset and unbound whenever it is handed out again.
class Statement {
public:
    Statement(Database& database, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const Value& value); // 1-based
    void bindInteger(int index, std::int64_t value);
    // True while there is a row; throws StoreError on failure.
    bool step();
    void run() {
        while (step()) {
        }
    }
    void reset();

    bool isNull(int column) const;
    std::int64_t integer(int column) const;
    double real(int column) const;
    std::string text(int column) const;
    // The column as a value of that type; absent for NULL.
    Value value(int column, AttributeType type) const;

    sqlite3_stmt* handle() const { return statement_; }

private:
    Database& database_;
    sqlite3_stmt* statement_ = nullptr;
};

// A connection with the store's settings: foreign keys on, a busy timeout.
class Database {
public:
    // ":memory:" for a private in-memory database. Throws StoreError.
    explicit Database(const std::string& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void execute(std::string_view sql);
    std::int64_t integerResult(std::string_view sql);
    // A statement kept for the life of the connection, reset.
    Statement& cached(const std::string& sql);

    [[noreturn]] void fail(std::string_view what) const;
    sqlite3* handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
    std::unordered_map<std::string, std::unique_ptr<Statement>> cache_;
};

// Runs a write transaction; rolls back unless committed.
class Transaction {
public:
    explicit Transaction(Database& database);
    ~Transaction();
    void commit();

private:
    Database& database_;
    bool open_ = true;
};

std::string sqlName(std::string_view identifier);

} // namespace store::detail
