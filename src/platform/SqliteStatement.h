#pragma once
// The few pieces of SQLite that the checksum store's reader and writer share.

#include <sqlite3.h>

#include <cstdint>
#include <optional>

namespace pellmora {

// A prepared statement that finalizes itself.
class Statement {
  public:
    Statement() = default;
    Statement(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    explicit operator bool() const { return stmt_ != nullptr; }
    sqlite3_stmt* operator*() const { return stmt_; }
    // One step to its end: true when it finished without an error.
    bool Run() {
        const int rc = sqlite3_step(stmt_);
        sqlite3_reset(stmt_);
        return rc == SQLITE_DONE || rc == SQLITE_ROW;
    }

  private:
    sqlite3_stmt* stmt_ = nullptr;
};

inline bool Exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The first column of the first row, 0 without a row, nothing when the query failed.
inline std::optional<int64_t> QueryNumber(sqlite3* db, const char* sql) {
    Statement query(db, sql);
    if (!query) return std::nullopt;
    const int rc = sqlite3_step(*query);
    if (rc == SQLITE_ROW) return sqlite3_column_int64(*query, 0);
    if (rc == SQLITE_DONE) return 0;
    return std::nullopt;
}

} // namespace pellmora
