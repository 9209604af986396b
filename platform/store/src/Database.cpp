#include "Database.h"

#include "store/StoreError.h"

#include <fmt/format.h>

#include <cstring>

namespace store::detail {

namespace {
constexpr int busyTimeoutMilliseconds = 5000;
}

std::string sqlName(std::string_view identifier) {
    std::string result = "\"";
    for (char c : identifier) {
        if (c == '"') result += '"';
        result += c;
    }
    return result + '"';
}

Statement::Statement(Database& database, std::string_view sql)
    : database_(database) {
    if (sqlite3_prepare_v2(database.handle(), sql.data(), int(sql.size()), &statement_, nullptr) != SQLITE_OK)
        database.fail(fmt::format("Could not prepare \"{}\"", sql));
}

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

void Statement::bind(int index, const Value& value) {
    int rc = SQLITE_OK;
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                rc = sqlite3_bind_null(statement_, index);
            } else if constexpr (std::is_same_v<T, bool>) {
                rc = sqlite3_bind_int(statement_, index, v ? 1 : 0);
            } else if constexpr (std::is_same_v<T, std::int64_t>) {
                rc = sqlite3_bind_int64(statement_, index, v);
            } else if constexpr (std::is_same_v<T, double>) {
                rc = sqlite3_bind_double(statement_, index, v);
            } else if constexpr (std::is_same_v<T, std::string>) {
                rc = sqlite3_bind_text(statement_, index, v.data(), int(v.size()), SQLITE_TRANSIENT);
            } else if constexpr (std::is_same_v<T, foundation::UUID>) {
                rc = sqlite3_bind_blob(statement_, index, v.bytes().data(), int(v.bytes().size()),
                                       SQLITE_TRANSIENT);
            } else {
                rc = sqlite3_bind_double(statement_, index, v.timeIntervalSinceReferenceDate());
            }
        },
        value);
    if (rc != SQLITE_OK) database_.fail("Could not bind a value");
}

void Statement::bindInteger(int index, std::int64_t value) {
    if (sqlite3_bind_int64(statement_, index, value) != SQLITE_OK) database_.fail("Could not bind a value");
}

bool Statement::step() {
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    database_.fail(fmt::format("\"{}\" failed", sqlite3_sql(statement_)));
}

void Statement::reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

std::int64_t Statement::integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

double Statement::real(int column) const {
    return sqlite3_column_double(statement_, column);
}

std::string Statement::text(int column) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return bytes ? std::string(bytes, std::size_t(sqlite3_column_bytes(statement_, column))) : std::string();
}

Value Statement::value(int column, AttributeType type) const {
    if (isNull(column)) return std::monostate{};
    switch (type) {
    case AttributeType::boolean:
        return integer(column) != 0;
    case AttributeType::integer:
        return integer(column);
    case AttributeType::real:
        return real(column);
    case AttributeType::text:
        return text(column);
    case AttributeType::date:
        return foundation::Date(real(column));
    case AttributeType::uuid: {
        // Anything but 16 bytes is no identifier of ours; the field keeps its default then.
        if (sqlite3_column_type(statement_, column) != SQLITE_BLOB) return std::monostate{};
        const void* blob = sqlite3_column_blob(statement_, column);
        if (sqlite3_column_bytes(statement_, column) != 16) return std::monostate{};
        foundation::UUID::Bytes bytes;
        std::memcpy(bytes.data(), blob, bytes.size());
        return foundation::UUID(bytes);
    }
    }
    return std::monostate{};
}

Database::Database(const std::string& path) {
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw StoreError(fmt::format("Could not open the store at {}: {}", path, message));
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, busyTimeoutMilliseconds);
    execute("PRAGMA foreign_keys = ON");
}

Database::~Database() {
    cache_.clear();
    sqlite3_close(db_);
}

void Database::execute(std::string_view sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : sqlite3_errmsg(db_);
        sqlite3_free(error);
        throw StoreError(fmt::format("\"{}\" failed: {}", sql, message));
    }
}

std::int64_t Database::integerResult(std::string_view sql) {
    Statement statement(*this, sql);
    return statement.step() ? statement.integer(0) : 0;
}

Statement& Database::cached(const std::string& sql) {
    auto& slot = cache_[sql];
    if (!slot) {
        slot = std::make_unique<Statement>(*this, sql);
    } else {
        slot->reset();
    }
    return *slot;
}

void Database::fail(std::string_view what) const {
    throw StoreError(fmt::format("{}: {}", what, sqlite3_errmsg(db_)));
}

Transaction::Transaction(Database& database)
    : database_(database) {
    database_.execute("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (open_) sqlite3_exec(database_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    database_.execute("COMMIT");
    open_ = false;
}

} // namespace store::detail
