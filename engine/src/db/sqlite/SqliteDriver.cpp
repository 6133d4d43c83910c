// The SQLite driver: the only file that calls the SQLite library.
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <unordered_map>

#include "db/Dialect.h"
#include "db/Driver.h"
#include "db/DriverErrors.h"
#include "db/sqlite/SqliteDriver.h"

namespace lindor::db {
namespace {

std::atomic<std::uint64_t> busyWaits{0};

std::string AfterColon(const std::string& message)
{
    const std::size_t colon = message.find(": ");
    return colon == std::string::npos ? message : message.substr(colon + 2);
}

DatabaseError ConstraintError(int extended, const std::string& message)
{
    const std::string what = AfterColon(message);
    switch (extended) {
        case SQLITE_CONSTRAINT_NOTNULL:
            return NotNullError(what);
        case SQLITE_CONSTRAINT_PRIMARYKEY:
        case SQLITE_CONSTRAINT_UNIQUE:
            return DuplicateValueError(what);
        case SQLITE_CONSTRAINT_CHECK:
            return TooLongError();
        case SQLITE_CONSTRAINT_FOREIGNKEY:
            return RelationshipError();
        default:
            return DatabaseError(dberr::kIntegrity, message, kDriverSource);
    }
}

DatabaseError ErrorFor(sqlite3* db, int rc, const std::string& path)
{
    const int extended = db != nullptr ? sqlite3_extended_errcode(db) : rc;
    const std::string message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    switch (rc & 0xFF) {
        case SQLITE_CONSTRAINT:
            return ConstraintError(extended, message);
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return BusyError();
        case SQLITE_READONLY:
            return ReadOnlyError();
        case SQLITE_NOTADB:
            return DatabaseError(dberr::kCannotOpen, "Unrecognized database format '" + path + "'.",
                                 kDriverSource);
        case SQLITE_CORRUPT:
            return DatabaseError(dberr::kCannotOpen,
                                 "The database '" + path + "' is damaged (" + message + ").",
                                 kDriverSource);
        case SQLITE_CANTOPEN:
            return DatabaseError(dberr::kCannotOpen, "Could not open file '" + path + "'.",
                                 kDriverSource);
        case SQLITE_MISMATCH:
            return TypeMismatchError();
        case SQLITE_TOOBIG:
            return DatabaseError(dberr::kTooLong, "The value is too large to store.",
                                 kDriverSource);
        default:
            break;
    }
    if (message.rfind("no such table: ", 0) == 0) return NoSuchTableError(AfterColon(message));
    if (message.rfind("no such column: ", 0) == 0) return NoSuchColumnError(AfterColon(message));
    if (message.find("syntax error") != std::string::npos ||
        message.find("incomplete input") != std::string::npos)
        return SyntaxError(message);
    return DatabaseError(dberr::kGeneric, message, kDriverSource);
}

// Waits with growing pauses until the file is free or the timeout has passed.
int OnBusy(void*, int attempt)
{
    using Clock = std::chrono::steady_clock;
    thread_local Clock::time_point waitStarted;
    if (attempt == 0) waitStarted = Clock::now();
    const auto waited =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - waitStarted).count();
    if (waited >= kBusyTimeoutMs) return 0;
    ++busyWaits;
    const int pauseMs = attempt < 6 ? (1 << attempt) : 50;
    std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    return 1;
}

std::string Unquoted(const std::string& name)
{
    if (name.size() >= 2 && (name.front() == '"' || name.front() == '[' || name.front() == '`'))
        return name.substr(1, name.size() - 2);
    return name;
}

// Relationship names from the table's own definition:
// "CONSTRAINT <name> FOREIGN KEY (<column>) REFERENCES <table> (<column>)".
std::vector<ForeignKeyInfo> ParseForeignKeys(const std::string& table, const std::string& sql)
{
    std::vector<ForeignKeyInfo> keys;
    std::vector<std::string> words;
    for (const SqlToken& t : TokenizeSql(sql))
        if (t.kind == SqlToken::Kind::Word || t.kind == SqlToken::Kind::Quoted)
            words.push_back(Unquoted(t.text));
    for (std::size_t i = 0; i + 6 < words.size(); ++i) {
        if (!SameName(words[i], "CONSTRAINT") || !SameName(words[i + 2], "FOREIGN") ||
            !SameName(words[i + 3], "KEY") || !SameName(words[i + 5], "REFERENCES"))
            continue;
        ForeignKeyInfo key;
        key.name = words[i + 1];
        key.table = table;
        key.column = words[i + 4];
        key.relatedTable = words[i + 6];
        key.relatedColumn = i + 7 < words.size() ? words[i + 7] : "";
        keys.push_back(key);
    }
    return keys;
}

// The declared types keep the schema types apart; texts compare without
// regard to case, and a text column refuses what is longer than its size.
std::string ColumnDefinition(const NewColumn& column)
{
    const std::string name = QuoteName(column.name);
    std::string text = name + " " + DeclaredTypeFor(column.type, column.size);
    if (column.required) text += " NOT NULL";
    if (column.type == SchemaType::YesNo)
        text += " DEFAULT 0";  // a row added without it reads false
    if (column.type == SchemaType::Text || column.type == SchemaType::Memo)
        text += " COLLATE NOCASE";
    if (column.type == SchemaType::Text)
        text += " CHECK (length(" + name +
                ") <= " + std::to_string(column.size > 0 ? column.size : 255) + ")";
    return text;
}

std::string TableDefinition(const NewTable& table)
{
    std::string text = "CREATE TABLE " + QuoteName(table.name) + " (";
    const char* separator = "\n  ";
    for (const NewColumn& column : table.columns) {
        text += separator + ColumnDefinition(column);
        separator = ",\n  ";
    }
    if (table.hasPrimaryKey)
        text += separator + std::string("CONSTRAINT ") + QuoteName(table.primaryKey.name) +
                " PRIMARY KEY (" + QuoteName(table.primaryKey.column) + ")";
    for (const NewKey& key : table.foreignKeys)
        text += separator + std::string("CONSTRAINT ") + QuoteName(key.name) + " FOREIGN KEY (" +
                QuoteName(key.column) + ") REFERENCES " + QuoteName(key.relatedTable) + " (" +
                QuoteName(key.relatedColumn) + ")";
    return text + "\n)";
}

class SqliteStatement final : public DriverStatement {
public:
    SqliteStatement(sqlite3* db, sqlite3_stmt* stmt, std::string path)
        : db_(db), stmt_(stmt), path_(std::move(path))
    {
    }
    ~SqliteStatement() override { sqlite3_finalize(stmt_); }

    void BindNull(int i) override { Check(sqlite3_bind_null(stmt_, i)); }
    void BindInteger(int i, std::int64_t v) override { Check(sqlite3_bind_int64(stmt_, i, v)); }
    void BindReal(int i, double v) override { Check(sqlite3_bind_double(stmt_, i, v)); }
    void BindText(int i, const std::string& v) override
    {
        Check(sqlite3_bind_text64(stmt_, i, v.data(), v.size(), SQLITE_TRANSIENT, SQLITE_UTF8));
    }
    void BindBlob(int i, const std::vector<std::uint8_t>& v) override
    {
        if (v.empty()) {
            Check(sqlite3_bind_zeroblob(stmt_, i, 0));
            return;
        }
        Check(sqlite3_bind_blob64(stmt_, i, v.data(), v.size(), SQLITE_TRANSIENT));
    }

    bool Step() override
    {
        inUse_ = true;
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        DatabaseError error = ErrorFor(db_, rc, path_);
        Reset();
        throw error;
    }

    void Reset() override
    {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
        inUse_ = false;
    }

    bool InUse() const { return inUse_; }

    int ColumnCount() const override { return sqlite3_column_count(stmt_); }
    std::string ColumnName(int c) const override { return Text(sqlite3_column_name(stmt_, c)); }
    std::string OriginTable(int c) const override
    {
        return Text(sqlite3_column_table_name(stmt_, c));
    }
    std::string OriginColumn(int c) const override
    {
        return Text(sqlite3_column_origin_name(stmt_, c));
    }
    std::string DeclaredType(int c) const override
    {
        return Text(sqlite3_column_decltype(stmt_, c));
    }

    StoredType ColumnType(int c) const override
    {
        switch (sqlite3_column_type(stmt_, c)) {
            case SQLITE_INTEGER:
                return StoredType::Integer;
            case SQLITE_FLOAT:
                return StoredType::Real;
            case SQLITE_TEXT:
                return StoredType::Text;
            case SQLITE_BLOB:
                return StoredType::Blob;
            default:
                return StoredType::Null;
        }
    }
    std::int64_t ColumnInteger(int c) const override { return sqlite3_column_int64(stmt_, c); }
    double ColumnReal(int c) const override { return sqlite3_column_double(stmt_, c); }
    std::string ColumnText(int c) const override
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, c));
        return text != nullptr ? std::string(text, sqlite3_column_bytes(stmt_, c)) : std::string();
    }
    std::vector<std::uint8_t> ColumnBlob(int c) const override
    {
        const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt_, c));
        return data != nullptr
                   ? std::vector<std::uint8_t>(data, data + sqlite3_column_bytes(stmt_, c))
                   : std::vector<std::uint8_t>();
    }

private:
    static std::string Text(const char* text) { return text != nullptr ? text : ""; }
    void Check(int rc) const
    {
        if (rc != SQLITE_OK) throw ErrorFor(db_, rc, path_);
    }

    sqlite3* db_;
    sqlite3_stmt* stmt_;
    std::string path_;
    bool inUse_ = false;
};

class SqliteConnection final : public DriverConnection {
public:
    SqliteConnection(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
    ~SqliteConnection() override
    {
        statements_.clear();
        sqlite3_close_v2(db_);
    }

    DriverStatement& Prepare(const std::string& sql) override
    {
        const auto found = statements_.find(sql);
        if (found != statements_.end()) return *found->second;
        if (statements_.size() >= kStatementCacheSize) EvictIdleStatements();
        sqlite3_stmt* stmt = nullptr;
        const int rc =
            sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr);
        if (rc != SQLITE_OK) throw ErrorFor(db_, rc, path_);
        if (stmt == nullptr)
            throw DatabaseError(dberr::kSyntax, "The query text is empty.", kDriverSource);
        auto statement = std::make_unique<SqliteStatement>(db_, stmt, path_);
        SqliteStatement& result = *statement;
        statements_.emplace(sql, std::move(statement));
        return result;
    }

    void Execute(const std::string& sql) override
    {
        char* message = nullptr;
        const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
        sqlite3_free(message);
        if (rc != SQLITE_OK) throw ErrorFor(db_, rc, path_);
    }

    std::int64_t LastInsertRowid() const override { return sqlite3_last_insert_rowid(db_); }
    int Changes() const override { return sqlite3_changes(db_); }
    bool IsReadOnly() const override { return sqlite3_db_readonly(db_, "main") == 1; }

    std::vector<std::uint8_t> ReadBlob(const std::string& table, const std::string& column,
                                       std::int64_t rowid, std::int64_t offset,
                                       std::int64_t length) override
    {
        sqlite3_blob* blob = nullptr;
        int rc = sqlite3_blob_open(db_, "main", table.c_str(), column.c_str(), rowid, 0, &blob);
        if (rc != SQLITE_OK) {
            DatabaseError error = ErrorFor(db_, rc, path_);
            sqlite3_blob_close(blob);
            throw error;
        }
        const std::int64_t size = sqlite3_blob_bytes(blob);
        const std::int64_t start = std::min(offset, size);
        const std::int64_t count = std::min(length, size - start);
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
        rc = count > 0 ? sqlite3_blob_read(blob, bytes.data(), static_cast<int>(count),
                                           static_cast<int>(start))
                       : SQLITE_OK;
        sqlite3_blob_close(blob);
        if (rc != SQLITE_OK) throw ErrorFor(db_, rc, path_);
        return bytes;
    }

    void BeginWrite() override { Execute("BEGIN IMMEDIATE"); }

    std::string StoredTableName(const std::string& name) override
    {
        DriverStatement& s = Prepare(
            "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE");
        StatementUse use(s);
        s.BindText(1, name);
        return s.Step() ? s.ColumnText(0) : std::string();
    }

    std::vector<CatalogColumn> TableColumns(const std::string& table) override
    {
        std::vector<CatalogColumn> columns;
        DriverStatement& s =
            Prepare("SELECT name, type, \"notnull\", pk FROM pragma_table_info(?)");
        StatementUse use(s);
        s.BindText(1, table);
        while (s.Step())
            columns.push_back({s.ColumnText(0), s.ColumnText(1), s.ColumnInteger(2) != 0,
                               s.ColumnInteger(3) == 1});
        return columns;
    }

    std::vector<ForeignKeyInfo> ForeignKeys() override
    {
        std::vector<std::pair<std::string, std::string>> definitions;
        {
            DriverStatement& s =
                Prepare("SELECT name, sql FROM sqlite_master WHERE type = 'table' ORDER BY rowid");
            StatementUse use(s);
            while (s.Step()) definitions.emplace_back(s.ColumnText(0), s.ColumnText(1));
        }
        std::vector<ForeignKeyInfo> keys;
        for (const auto& [table, sql] : definitions)
            for (ForeignKeyInfo& key : ParseForeignKeys(table, sql)) keys.push_back(key);
        return keys;
    }

    std::vector<std::string> CreateTableStatements(const NewTable& table) const override
    {
        std::vector<std::string> statements = {TableDefinition(table)};
        for (const NewKey& index : table.indexes)
            statements.push_back("CREATE INDEX " + QuoteName(index.name) + " ON " +
                                 QuoteName(table.name) + " (" + QuoteName(index.column) + ")");
        return statements;
    }
    std::vector<std::string> CreateRelationshipStatements(const NewTable&) const override
    {
        return {};
    }

private:
    static constexpr std::size_t kStatementCacheSize = 128;

    // Statements are keyed by their text; texts that embed numbers are many,
    // so idle ones are dropped when the cache is full.
    void EvictIdleStatements()
    {
        for (auto it = statements_.begin(); it != statements_.end();) {
            if (it->second->InUse())
                ++it;
            else
                it = statements_.erase(it);
        }
    }

    sqlite3* db_;
    std::string path_;
    std::unordered_map<std::string, std::unique_ptr<SqliteStatement>> statements_;
};

void Configure(sqlite3* db, const std::string& path)
{
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_handler(db, &OnBusy, nullptr);
    char* message = nullptr;
    // Reading the schema proves the file is a database; the pragmas keep the
    // rollback journal (shared folders) and enforce the relationships.
    const int rc = sqlite3_exec(db,
                                "SELECT count(*) FROM sqlite_master;"
                                "PRAGMA foreign_keys = ON;",
                                nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK) throw ErrorFor(db, rc, path);
    message = nullptr;
    if (sqlite3_db_readonly(db, "main") != 1) {
        const int journal =
            sqlite3_exec(db, "PRAGMA journal_mode = DELETE;", nullptr, nullptr, &message);
        sqlite3_free(message);
        if (journal != SQLITE_OK) throw ErrorFor(db, journal, path);
    }
}

}  // namespace

std::unique_ptr<DriverConnection> OpenSqliteConnection(const std::string& path)
{
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0)
        throw DatabaseError(dberr::kCannotOpen, "Could not find file '" + path + "'.",
                            kDriverSource);
    if (!S_ISREG(info.st_mode))
        throw DatabaseError(dberr::kCannotOpen, "Unrecognized database format '" + path + "'.",
                            kDriverSource);
    sqlite3* db = nullptr;
    const int rc =
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        DatabaseError error = ErrorFor(db, rc, path);
        sqlite3_close_v2(db);
        throw error;
    }
    try {
        Configure(db, path);
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    return std::make_unique<SqliteConnection>(db, path);
}

void CreateSqliteFile(const std::string& path)
{
    const int fd = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0664);
    if (fd < 0)
        throw DatabaseError(dberr::kCannotOpen,
                            "Database '" + path + "' cannot be created: " + std::strerror(errno),
                            kDriverSource);
    close(fd);
}

std::uint64_t BusyWaitCount()
{
    return busyWaits.load();
}

}  // namespace lindor::db
