// The PostgreSQL driver: the only file that calls libpq.
//
// A database on the server keeps the file's semantics:
// - every table carries a hidden "rowid" column, the key cursors keep;
// - texts are of the case-insensitive type citext, with the file's size
//   checks, dates are day numbers and yes/no values small integers, as in
//   the file;
// - the schema's spelling of names (the server folds them to lower case)
//   and the declared types live in the catalog's comments;
// - a write transaction first takes one advisory lock of the database, so
//   writers queue as they do on the file;
// - a failed statement inside a transaction is undone alone (a savepoint
//   around each), so the transaction goes on as it does on the file.
#include "db/postgres/PostgresDriver.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <unordered_map>

#include "db/Dialect.h"
#include "db/DriverErrors.h"

namespace lindor::db {
namespace {

constexpr const char* kRowKey = "rowid";
// The advisory lock every write transaction takes ("Lindor" in ASCII).
constexpr const char* kWriteLock = "SELECT pg_advisory_xact_lock(83967097481842)";
constexpr const char* kStatementSavepoint = "lindor_statement";

enum : Oid {
    kBoolOid = 16,
    kByteaOid = 17,
    kInt8Oid = 20,
    kInt2Oid = 21,
    kInt4Oid = 23,
    kOidOid = 26,
    kFloat4Oid = 700,
    kFloat8Oid = 701,
    kNumericOid = 1700
};

struct ResultClear {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultClear>;

struct ConnectionFinish {
    void operator()(PGconn* connection) const { PQfinish(connection); }
};
using ConnectionHandle = std::unique_ptr<PGconn, ConnectionFinish>;

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '$';
}

std::string FirstWord(const std::string& sql)
{
    std::size_t i = sql.find_first_not_of(" \t\r\n(");
    std::string word;
    while (i < sql.size() && IsWordChar(sql[i])) word += sql[i++];
    return Lower(word);
}

bool MentionsWord(const std::string& sql, const std::string& word)
{
    const std::string text = Lower(sql);
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const bool startsWord = at == 0 || !IsWordChar(text[at - 1]);
        const std::size_t end = at + word.size();
        if (startsWord && (end == text.size() || !IsWordChar(text[end]))) return true;
    }
    return false;
}

// The text of a name the server keeps: lower case, quoted.
std::string ServerName(const std::string& name)
{
    return QuoteName(Lower(name));
}

std::string Field(const PGresult* result, int field)
{
    const char* text = PQresultErrorField(result, field);
    return text != nullptr ? text : "";
}

// What lies between the first `open` and the following `close` of a text.
std::string Between(const std::string& text, const std::string& open, const std::string& close)
{
    const std::size_t start = text.find(open);
    if (start == std::string::npos) return std::string();
    const std::size_t end = text.find(close, start + open.size());
    if (end == std::string::npos) return std::string();
    return text.substr(start + open.size(), end - start - open.size());
}

// The spelling a statement gave a name the server reports in lower case.
std::string SpellingIn(const std::string& sql, const std::string& name)
{
    const std::string text = Lower(sql);
    const std::size_t at = text.find(Lower(name));
    return at == std::string::npos || name.empty() ? name : sql.substr(at, name.size());
}

// --- the catalog ---------------------------------------------------------

struct ServerColumn {
    int number = 0;  // the server's attribute number
    std::string name;
    std::string declaredType;
    bool required = false;
    bool primaryKey = false;
};

struct ServerTable {
    std::string name;  // the schema's spelling
    std::vector<ServerColumn> columns;
    bool hasRowKey = false;
};

// The tables of the connection's schema, read once and again after DDL.
class Catalog {
public:
    void Load(PGconn* connection);
    void Forget() { loaded_ = false; }
    bool Loaded() const { return loaded_; }

    const ServerTable* TableByName(const std::string& name) const
    {
        const auto found = byName_.find(Lower(name));
        return found == byName_.end() ? nullptr : &tables_.at(found->second);
    }
    const ServerTable* TableByOid(Oid oid) const
    {
        const auto found = tables_.find(oid);
        return found == tables_.end() ? nullptr : &found->second;
    }
    const ServerColumn* Column(Oid table, int number) const
    {
        const ServerTable* t = TableByOid(table);
        if (t == nullptr) return nullptr;
        for (const ServerColumn& c : t->columns)
            if (c.number == number) return &c;
        return nullptr;
    }
    // The schema's spelling of a name the server gives in lower case.
    std::string TableSpelling(const std::string& name) const
    {
        const ServerTable* t = TableByName(name);
        return t != nullptr ? t->name : name;
    }
    std::string ColumnSpelling(const std::string& table, const std::string& column) const
    {
        const ServerTable* t = TableByName(table);
        if (t != nullptr)
            for (const ServerColumn& c : t->columns)
                if (SameName(c.name, column)) return c.name;
        return column;
    }

private:
    bool loaded_ = false;
    std::map<Oid, ServerTable> tables_;
    std::unordered_map<std::string, Oid> byName_;
};

// --- statements ----------------------------------------------------------

class PostgresConnection;

class PostgresStatement final : public DriverStatement {
public:
    PostgresStatement(PostgresConnection& connection, std::string name, std::string sql,
                      Result description, bool returnsRowKey, bool hidesRowKey);

    void BindNull(int index) override { Parameter(index) = {}; }
    void BindInteger(int index, std::int64_t value) override
    {
        Parameter(index) = {std::to_string(value), false, false};
    }
    void BindReal(int index, double value) override
    {
        char text[40];
        std::snprintf(text, sizeof(text), "%.17g", value);
        Parameter(index) = {text, false, false};
    }
    void BindText(int index, const std::string& value) override
    {
        Parameter(index) = {value, false, false};
    }
    void BindBlob(int index, const std::vector<std::uint8_t>& value) override
    {
        Parameter(index) = {std::string(value.begin(), value.end()), false, true};
    }

    bool Step() override;
    void Reset() override
    {
        result_.reset();
        row_ = -1;
        rows_ = 0;
        for (Value& p : parameters_) p = {};
    }
    bool InUse() const { return result_ != nullptr; }
    const std::string& Name() const { return name_; }

    int ColumnCount() const override { return static_cast<int>(visible_.size()); }
    std::string ColumnName(int column) const override;
    std::string OriginTable(int column) const override;
    std::string OriginColumn(int column) const override;
    std::string DeclaredType(int column) const override;
    StoredType ColumnType(int column) const override;
    std::int64_t ColumnInteger(int column) const override;
    double ColumnReal(int column) const override;
    std::string ColumnText(int column) const override;
    std::vector<std::uint8_t> ColumnBlob(int column) const override;

private:
    struct Value {
        std::string bytes;
        bool null = true;
        bool binary = false;
    };
    Value& Parameter(int index);
    int Actual(int column) const { return visible_.at(static_cast<std::size_t>(column)); }
    const char* Cell(int column) const { return PQgetvalue(result_.get(), row_, Actual(column)); }
    void Execute();

    PostgresConnection& connection_;
    std::string name_;
    std::string sql_;  // the engine's text, for naming what a failure names
    Result description_;
    bool returnsRowKey_;
    std::vector<int> visible_;  // result columns shown, without a hidden row key
    std::vector<Value> parameters_;
    Result result_;
    int row_ = -1;
    int rows_ = 0;
};

// --- the connection ------------------------------------------------------

class PostgresConnection final : public DriverConnection {
public:
    PostgresConnection(ConnectionHandle connection, std::string uri)
        : connection_(std::move(connection)), uri_(std::move(uri))
    {
    }
    ~PostgresConnection() override { statements_.clear(); }

    DriverStatement& Prepare(const std::string& sql) override;
    void Execute(const std::string& sql) override;
    std::int64_t LastInsertRowid() const override { return lastInsert_; }
    int Changes() const override { return changes_; }
    bool IsReadOnly() const override { return readOnly_; }
    std::vector<std::uint8_t> ReadBlob(const std::string& table, const std::string& column,
                                       std::int64_t rowid, std::int64_t offset,
                                       std::int64_t length) override;
    void BeginWrite() override;
    std::string StoredTableName(const std::string& name) override;
    std::vector<CatalogColumn> TableColumns(const std::string& table) override;
    std::vector<ForeignKeyInfo> ForeignKeys() override;
    std::vector<std::string> CreateTableStatements(const NewTable& table) const override;
    std::vector<std::string> CreateRelationshipStatements(const NewTable& table) const override;

    void ReadSettings();
    const Catalog& catalog();
    PGconn* handle() const { return connection_.get(); }

    // Runs one request; inside a transaction a failure undoes that request
    // alone. Throws DatabaseError when the server refuses it.
    template <typename Request>
    Result Run(Request request, const std::string& sql);
    // Transaction control and other texts run as they are.
    Result RunCommands(const std::string& sql);

    void NoteWrite(const PGresult* result, bool returnsRowKey);
    // `sql` is the engine's text of the statement that failed, if any.
    DatabaseError ErrorFor(const PGresult* result, const std::string& sql = "");

private:
    static constexpr std::size_t kStatementCacheSize = 128;
    void EvictIdleStatements();
    bool InTransaction() const { return PQtransactionStatus(handle()) == PQTRANS_INTRANS; }
    bool ReturnsRowKey(const std::string& sql);

    ConnectionHandle connection_;
    std::string uri_;
    Catalog catalog_;
    std::unordered_map<std::string, std::unique_ptr<PostgresStatement>> statements_;
    std::uint64_t statementNumber_ = 0;
    std::int64_t lastInsert_ = 0;
    int changes_ = 0;
    bool readOnly_ = false;
};

bool Succeeded(const PGresult* result)
{
    const ExecStatusType status = PQresultStatus(result);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

DatabaseError ConnectionLost(PGconn* connection)
{
    return DatabaseError(dberr::kCannotOpen,
                         "The connection to the database server was lost: " +
                             std::string(PQerrorMessage(connection)),
                         kDriverSource);
}

template <typename Request>
Result PostgresConnection::Run(Request request, const std::string& sql)
{
    const bool guarded = InTransaction();
    if (guarded) RunCommands(std::string("SAVEPOINT ") + kStatementSavepoint);
    Result result(request());
    if (result == nullptr) throw ConnectionLost(handle());
    if (!Succeeded(result.get())) {
        // Undone first: naming the failure may read the catalog.
        if (guarded)
            RunCommands(std::string("ROLLBACK TO SAVEPOINT ") + kStatementSavepoint +
                        "; RELEASE SAVEPOINT " + kStatementSavepoint);
        throw ErrorFor(result.get(), sql);
    }
    if (guarded) RunCommands(std::string("RELEASE SAVEPOINT ") + kStatementSavepoint);
    return result;
}

Result PostgresConnection::RunCommands(const std::string& sql)
{
    Result result(PQexec(handle(), sql.c_str()));
    if (result == nullptr) throw ConnectionLost(handle());
    if (!Succeeded(result.get())) throw ErrorFor(result.get());
    return result;
}

// A write lock not had in time leaves the transaction begun and failed; it
// is rolled back, so the connection is usable for the next call.
void PostgresConnection::BeginWrite()
{
    RunCommands("BEGIN");
    try {
        RunCommands(kWriteLock);
    } catch (const DatabaseError&) {
        RunCommands("ROLLBACK");
        throw;
    }
}

void PostgresConnection::ReadSettings()
{
    RunCommands("SET lock_timeout = '" + std::to_string(kBusyTimeoutMs) +
                "ms'; SET client_min_messages = warning");
    Result readOnly = RunCommands("SHOW transaction_read_only");
    readOnly_ =
        PQntuples(readOnly.get()) == 1 && std::string(PQgetvalue(readOnly.get(), 0, 0)) == "on";
}

const Catalog& PostgresConnection::catalog()
{
    if (!catalog_.Loaded()) catalog_.Load(handle());
    return catalog_;
}

void Catalog::Load(PGconn* connection)
{
    tables_.clear();
    byName_.clear();
    Result result(PQexec(
        connection,
        "SELECT c.oid, c.relname, coalesce(obj_description(c.oid, 'pg_class'), ''), a.attnum, "
        "a.attname, coalesce(col_description(c.oid, a.attnum), ''), a.attnotnull, "
        "EXISTS (SELECT 1 FROM pg_index i WHERE i.indrelid = c.oid AND i.indisprimary "
        "AND a.attnum = ANY (i.indkey)) "
        "FROM pg_class c JOIN pg_attribute a ON a.attrelid = c.oid "
        "WHERE c.relnamespace = (SELECT oid FROM pg_namespace WHERE nspname = current_schema()) "
        "AND c.relkind = 'r' AND a.attnum > 0 AND NOT a.attisdropped ORDER BY c.oid, a.attnum"));
    if (result == nullptr || PQresultStatus(result.get()) != PGRES_TUPLES_OK)
        throw DatabaseError(
            dberr::kGeneric,
            "The server's catalog cannot be read: " + std::string(PQerrorMessage(connection)),
            kDriverSource);
    for (int row = 0; row < PQntuples(result.get()); ++row) {
        const auto text = [&](int column) {
            return std::string(PQgetvalue(result.get(), row, column));
        };
        const Oid oid = static_cast<Oid>(std::strtoul(text(0).c_str(), nullptr, 10));
        ServerTable& table = tables_[oid];
        if (table.name.empty()) {
            table.name = text(2).empty() ? text(1) : text(2);
            byName_[Lower(table.name)] = oid;
        }
        if (text(4) == kRowKey) {
            table.hasRowKey = true;
            continue;
        }
        // A column's comment is "<spelling>\t<declared type>".
        const std::string note = text(5);
        const std::size_t tab = note.find('\t');
        ServerColumn column;
        column.number = std::atoi(text(3).c_str());
        column.name = tab == std::string::npos ? text(4) : note.substr(0, tab);
        column.declaredType = tab == std::string::npos ? "" : note.substr(tab + 1);
        column.required = text(6) == "t";
        column.primaryKey = text(7) == "t";
        table.columns.push_back(column);
    }
    loaded_ = true;
}

DatabaseError PostgresConnection::ErrorFor(const PGresult* result, const std::string& sql)
{
    const std::string state = Field(result, PG_DIAG_SQLSTATE);
    const std::string message = Field(result, PG_DIAG_MESSAGE_PRIMARY);
    // "table.column" in the schema's spelling; a failed transaction cannot
    // read the catalog, and then the server's spelling stands.
    const auto column = [&](const std::string& name) {
        const std::string reported = Field(result, PG_DIAG_TABLE_NAME);
        if (PQtransactionStatus(handle()) == PQTRANS_INERROR) return reported + "." + name;
        const std::string table = catalog().TableSpelling(reported);
        return table + "." + catalog().ColumnSpelling(table, name);
    };
    if (state == "23502") return NotNullError(column(Field(result, PG_DIAG_COLUMN_NAME)));
    if (state == "23505")
        return DuplicateValueError(
            column(Between(Field(result, PG_DIAG_MESSAGE_DETAIL), "(", ")")));
    if (state == "23514" || state == "22001") return TooLongError();
    if (state == "23503") return RelationshipError();
    // A trigger's refusal, as the file reports a trigger's abort.
    if (state == "P0001") return DatabaseError(dberr::kIntegrity, message, kDriverSource);
    if (state == "55P03" || state == "40P01" || state == "40001") return BusyError();
    if (state == "42P01") return NoSuchTableError(SpellingIn(sql, Between(message, "\"", "\"")));
    if (state == "42703") return NoSuchColumnError(SpellingIn(sql, Between(message, "\"", "\"")));
    if (state == "42601") return SyntaxError(message);
    if (state == "22P02" || state == "42883" || state == "42804") return TypeMismatchError();
    if (state == "25006") return ReadOnlyError();
    if (state.rfind("08", 0) == 0 || PQstatus(handle()) != CONNECTION_OK)
        return ConnectionLost(handle());
    return DatabaseError(dberr::kGeneric, message.empty() ? PQerrorMessage(handle()) : message,
                         kDriverSource);
}

void PostgresConnection::NoteWrite(const PGresult* result, bool returnsRowKey)
{
    const char* changed = PQcmdTuples(const_cast<PGresult*>(result));
    if (changed != nullptr && *changed != '\0') changes_ = std::atoi(changed);
    const int rows = PQntuples(result);
    if (returnsRowKey && rows > 0) lastInsert_ = std::atoll(PQgetvalue(result, rows - 1, 0));
}

// "INSERT INTO <table> ..." on a table with a row key gives that key back,
// as the file's last inserted row number.
bool PostgresConnection::ReturnsRowKey(const std::string& sql)
{
    std::vector<std::string> words;
    for (const SqlToken& t : TokenizeSql(sql)) {
        if (t.kind == SqlToken::Kind::Word || t.kind == SqlToken::Kind::Quoted)
            words.push_back(t.text);
        if (words.size() == 3) break;
    }
    if (words.size() < 3 || !SameName(words[0], "INSERT") || !SameName(words[1], "INTO"))
        return false;
    std::string table = words[2];
    if (table.size() >= 2 && (table.front() == '"' || table.front() == '['))
        table = table.substr(1, table.size() - 2);
    const ServerTable* found = catalog().TableByName(table);
    return found != nullptr && found->hasRowKey && !MentionsWord(sql, "returning");
}

DriverStatement& PostgresConnection::Prepare(const std::string& sql)
{
    const auto found = statements_.find(sql);
    if (found != statements_.end()) return *found->second;
    if (statements_.size() >= kStatementCacheSize) EvictIdleStatements();
    const bool returnsRowKey = ReturnsRowKey(sql);
    const std::string text = ToServerSql(sql) + (returnsRowKey ? " RETURNING rowid" : "");
    const std::string name = "lindor_" + std::to_string(++statementNumber_);
    Run([&] { return PQprepare(handle(), name.c_str(), text.c_str(), 0, nullptr); }, sql);
    Result description = Run([&] { return PQdescribePrepared(handle(), name.c_str()); }, sql);
    auto statement = std::make_unique<PostgresStatement>(
        *this, name, sql, std::move(description), returnsRowKey, !MentionsWord(sql, kRowKey));
    PostgresStatement& result = *statement;
    statements_.emplace(sql, std::move(statement));
    return result;
}

void PostgresConnection::EvictIdleStatements()
{
    for (auto it = statements_.begin(); it != statements_.end();) {
        if (it->second->InUse()) {
            ++it;
            continue;
        }
        RunCommands("DEALLOCATE " + it->second->Name());
        it = statements_.erase(it);
    }
}

void PostgresConnection::Execute(const std::string& sql)
{
    const std::string first = FirstWord(sql);
    const bool control = first == "begin" || first == "commit" || first == "rollback" ||
                         first == "savepoint" || first == "release" || first == "end";
    if (first == "commit" && PQtransactionStatus(handle()) == PQTRANS_INERROR)
        throw DatabaseError(dberr::kGeneric,
                            "The server rolled the transaction back after a failure in it.",
                            kDriverSource);
    const std::string text = ToServerSql(sql);
    Result result =
        control ? RunCommands(text) : Run([&] { return PQexec(handle(), text.c_str()); }, sql);
    NoteWrite(result.get(), false);
    if (first == "create" || first == "alter" || first == "drop" || first == "comment")
        catalog_.Forget();
}

std::vector<std::uint8_t> PostgresConnection::ReadBlob(const std::string& table,
                                                       const std::string& column,
                                                       std::int64_t rowid, std::int64_t offset,
                                                       std::int64_t length)
{
    DriverStatement& s = Prepare("SELECT substring(" + QuoteName(column) + " FROM ? FOR ?) FROM " +
                                 QuoteName(table) + " WHERE rowid = ?");
    StatementUse use(s);
    s.BindInteger(1, offset + 1);
    s.BindInteger(2, std::max<std::int64_t>(length, 0));
    s.BindInteger(3, rowid);
    if (!s.Step())
        throw DatabaseError(dberr::kGeneric, "no such rowid: " + std::to_string(rowid),
                            kDriverSource);
    return s.ColumnBlob(0);
}

std::string PostgresConnection::StoredTableName(const std::string& name)
{
    const ServerTable* table = catalog().TableByName(name);
    return table != nullptr ? table->name : std::string();
}

std::vector<CatalogColumn> PostgresConnection::TableColumns(const std::string& table)
{
    std::vector<CatalogColumn> columns;
    const ServerTable* found = catalog().TableByName(table);
    if (found == nullptr) throw NoSuchTableError(table);
    for (const ServerColumn& c : found->columns)
        columns.push_back({c.name, c.declaredType, c.required, c.primaryKey});
    return columns;
}

std::vector<ForeignKeyInfo> PostgresConnection::ForeignKeys()
{
    Result result = Run(
        [&] {
            return PQexec(
                handle(),
                "SELECT co.conname, coalesce(obj_description(co.oid, 'pg_constraint'), ''), "
                "c.relname, a.attname, r.relname, ra.attname FROM pg_constraint co "
                "JOIN pg_class c ON c.oid = co.conrelid JOIN pg_class r ON r.oid = co.confrelid "
                "JOIN pg_attribute a ON a.attrelid = co.conrelid AND a.attnum = co.conkey[1] "
                "JOIN pg_attribute ra ON ra.attrelid = co.confrelid AND ra.attnum = co.confkey[1] "
                "WHERE co.contype = 'f' AND co.connamespace = "
                "(SELECT oid FROM pg_namespace WHERE nspname = current_schema()) ORDER BY co.oid");
        },
        "");
    std::vector<ForeignKeyInfo> keys;
    const Catalog& names = catalog();
    for (int row = 0; row < PQntuples(result.get()); ++row) {
        const auto text = [&](int column) {
            return std::string(PQgetvalue(result.get(), row, column));
        };
        ForeignKeyInfo key;
        key.name = text(1).empty() ? text(0) : text(1);
        key.table = names.TableSpelling(text(2));
        key.column = names.ColumnSpelling(key.table, text(3));
        key.relatedTable = names.TableSpelling(text(4));
        key.relatedColumn = names.ColumnSpelling(key.relatedTable, text(5));
        keys.push_back(key);
    }
    return keys;
}

// The server's type for a schema type; dates are day numbers as in the file.
std::string ServerType(const NewColumn& column, const std::string& name)
{
    switch (column.type) {
        case SchemaType::Long:
            return "INTEGER";
        case SchemaType::Text:
            return "CITEXT CHECK (char_length(" + name +
                   ") <= " + std::to_string(column.size > 0 ? column.size : 255) + ")";
        case SchemaType::Memo:
            return "CITEXT";
        case SchemaType::LongBinary:
            return "BYTEA";
        case SchemaType::Date:
            return "DOUBLE PRECISION";
        case SchemaType::YesNo:
            return "SMALLINT DEFAULT 0";  // a row added without it reads false
        default:
            throw DatabaseError(dberr::kBadType, "The column type is not supported.",
                                kDriverSource);
    }
}

std::vector<std::string> PostgresConnection::CreateTableStatements(const NewTable& table) const
{
    const std::string tableName = ServerName(table.name);
    std::string definition = "CREATE TABLE " + tableName + " (";
    std::vector<std::string> notes = {"COMMENT ON TABLE " + tableName + " IS " +
                                      QuoteText(table.name)};
    for (const NewColumn& column : table.columns) {
        const std::string name = ServerName(column.name);
        definition +=
            "\n  " + name + " " + ServerType(column, name) + (column.required ? " NOT NULL," : ",");
        notes.push_back("COMMENT ON COLUMN " + tableName + "." + name + " IS " +
                        QuoteText(column.name + "\t" + DeclaredTypeFor(column.type, column.size)));
    }
    definition += "\n  rowid BIGINT GENERATED BY DEFAULT AS IDENTITY UNIQUE";
    // Key and index names are unique per schema on the server; the primary
    // key's name is the table's own.
    if (table.hasPrimaryKey)
        definition += ",\n  CONSTRAINT " + ServerName(table.name + "_key") + " PRIMARY KEY (" +
                      ServerName(table.primaryKey.column) + ")";
    std::vector<std::string> statements = {definition + "\n)"};
    statements.insert(statements.end(), notes.begin(), notes.end());
    for (const NewKey& index : table.indexes)
        statements.push_back("CREATE INDEX " + ServerName(index.name) + " ON " + tableName + " (" +
                             ServerName(index.column) + ")");
    return statements;
}

// A relationship may name a table made after its own, so each is added
// once every table exists.
std::vector<std::string> PostgresConnection::CreateRelationshipStatements(
    const NewTable& table) const
{
    const std::string tableName = ServerName(table.name);
    std::vector<std::string> statements;
    for (const NewKey& key : table.foreignKeys) {
        const std::string keyName = ServerName(key.name);
        statements.push_back("ALTER TABLE " + tableName + " ADD CONSTRAINT " + keyName +
                             " FOREIGN KEY (" + ServerName(key.column) + ") REFERENCES " +
                             ServerName(key.relatedTable) + " (" + ServerName(key.relatedColumn) +
                             ")");
        statements.push_back("COMMENT ON CONSTRAINT " + keyName + " ON " + tableName + " IS " +
                             QuoteText(key.name));
    }
    return statements;
}

// --- statements, continued ------------------------------------------------

PostgresStatement::PostgresStatement(PostgresConnection& connection, std::string name,
                                     std::string sql, Result description, bool returnsRowKey,
                                     bool hidesRowKey)
    : connection_(connection),
      name_(std::move(name)),
      sql_(std::move(sql)),
      description_(std::move(description)),
      returnsRowKey_(returnsRowKey)
{
    const PGresult* d = description_.get();
    for (int c = 0; c < PQnfields(d); ++c) {
        const bool rowKey = std::string(PQfname(d, c)) == kRowKey && PQftable(d, c) != InvalidOid;
        if (!(hidesRowKey && rowKey)) visible_.push_back(c);
    }
    parameters_.resize(static_cast<std::size_t>(std::max(PQnparams(d), 0)));
}

PostgresStatement::Value& PostgresStatement::Parameter(int index)
{
    if (index < 1 || static_cast<std::size_t>(index) > parameters_.size())
        throw DatabaseError(dberr::kGeneric, "column index out of range", kDriverSource);
    return parameters_[static_cast<std::size_t>(index - 1)];
}

void PostgresStatement::Execute()
{
    std::vector<const char*> values;
    std::vector<int> lengths;
    std::vector<int> formats;
    for (const Value& p : parameters_) {
        values.push_back(p.null ? nullptr : p.bytes.data());
        lengths.push_back(static_cast<int>(p.bytes.size()));
        formats.push_back(p.binary ? 1 : 0);
    }
    result_ = connection_.Run(
        [&] {
            return PQexecPrepared(connection_.handle(), name_.c_str(),
                                  static_cast<int>(values.size()), values.data(), lengths.data(),
                                  formats.data(), 0);
        },
        sql_);
    connection_.NoteWrite(result_.get(), returnsRowKey_);
    rows_ = returnsRowKey_ ? 0 : PQntuples(result_.get());
    row_ = 0;
}

bool PostgresStatement::Step()
{
    try {
        if (result_ == nullptr)
            Execute();
        else
            ++row_;
    } catch (...) {
        Reset();
        throw;
    }
    return row_ < rows_;
}

std::string PostgresStatement::ColumnName(int column) const
{
    const PGresult* d = description_.get();
    const int c = Actual(column);
    const ServerColumn* origin = connection_.catalog().Column(PQftable(d, c), PQftablecol(d, c));
    // A column shown under its own name keeps the schema's spelling.
    if (origin != nullptr && SameName(origin->name, PQfname(d, c))) return origin->name;
    return PQfname(d, c);
}

std::string PostgresStatement::OriginTable(int column) const
{
    const ServerTable* table =
        connection_.catalog().TableByOid(PQftable(description_.get(), Actual(column)));
    return table != nullptr ? table->name : std::string();
}

std::string PostgresStatement::OriginColumn(int column) const
{
    const PGresult* d = description_.get();
    const int c = Actual(column);
    const ServerColumn* origin = connection_.catalog().Column(PQftable(d, c), PQftablecol(d, c));
    return origin != nullptr ? origin->name : std::string();
}

std::string PostgresStatement::DeclaredType(int column) const
{
    const PGresult* d = description_.get();
    const int c = Actual(column);
    const ServerColumn* origin = connection_.catalog().Column(PQftable(d, c), PQftablecol(d, c));
    return origin != nullptr ? origin->declaredType : std::string();
}

StoredType PostgresStatement::ColumnType(int column) const
{
    if (PQgetisnull(result_.get(), row_, Actual(column)) != 0) return StoredType::Null;
    switch (PQftype(result_.get(), Actual(column))) {
        case kBoolOid:
        case kInt8Oid:
        case kInt2Oid:
        case kInt4Oid:
        case kOidOid:
            return StoredType::Integer;
        case kFloat4Oid:
        case kFloat8Oid:
        case kNumericOid:
            return StoredType::Real;
        case kByteaOid:
            return StoredType::Blob;
        default:
            return StoredType::Text;
    }
}

std::int64_t PostgresStatement::ColumnInteger(int column) const
{
    const char* cell = Cell(column);
    if (PQftype(result_.get(), Actual(column)) == kBoolOid) return *cell == 't' ? 1 : 0;
    if (ColumnType(column) == StoredType::Real)
        return static_cast<std::int64_t>(std::strtod(cell, nullptr));
    return std::strtoll(cell, nullptr, 10);
}

double PostgresStatement::ColumnReal(int column) const
{
    if (PQftype(result_.get(), Actual(column)) == kBoolOid) return *Cell(column) == 't' ? 1 : 0;
    return std::strtod(Cell(column), nullptr);
}

std::string PostgresStatement::ColumnText(int column) const
{
    if (ColumnType(column) == StoredType::Blob) {
        const std::vector<std::uint8_t> bytes = ColumnBlob(column);
        return std::string(bytes.begin(), bytes.end());
    }
    return std::string(Cell(column),
                       static_cast<std::size_t>(PQgetlength(result_.get(), row_, Actual(column))));
}

std::vector<std::uint8_t> PostgresStatement::ColumnBlob(int column) const
{
    if (ColumnType(column) != StoredType::Blob) {
        const std::string text = ColumnText(column);
        return std::vector<std::uint8_t>(text.begin(), text.end());
    }
    std::size_t size = 0;
    unsigned char* bytes =
        PQunescapeBytea(reinterpret_cast<const unsigned char*>(Cell(column)), &size);
    if (bytes == nullptr) throw DatabaseError(dberr::kGeneric, "Out of memory.", kDriverSource);
    std::vector<std::uint8_t> result(bytes, bytes + size);
    PQfreemem(bytes);
    return result;
}

// --- opening --------------------------------------------------------------

// Refuses a URI that carries a password: data sources are kept in settings
// files, a password must not be.
void CheckNoPassword(const std::string& uri)
{
    char* message = nullptr;
    PQconninfoOption* options = PQconninfoParse(uri.c_str(), &message);
    if (options == nullptr) {
        const std::string why = message != nullptr ? message : "it cannot be read";
        PQfreemem(message);
        throw DatabaseError(dberr::kCannotOpen,
                            "The server address '" + uri + "' is not valid: " + why, kDriverSource);
    }
    bool hasPassword = false;
    for (PQconninfoOption* o = options; o->keyword != nullptr; ++o)
        if (std::string(o->keyword) == "password" && o->val != nullptr && *o->val != '\0')
            hasPassword = true;
    PQconninfoFree(options);
    if (hasPassword)
        throw DatabaseError(dberr::kCannotOpen,
                            "The server address must not hold a password; keep it in ~/.pgpass "
                            "or PGPASSWORD.",
                            kDriverSource);
}

ConnectionHandle Connect(const std::string& uri)
{
    CheckNoPassword(uri);
    ConnectionHandle connection(PQconnectdb(uri.c_str()));
    if (connection == nullptr || PQstatus(connection.get()) != CONNECTION_OK) {
        std::string why =
            connection != nullptr ? PQerrorMessage(connection.get()) : "out of memory";
        while (!why.empty() && (why.back() == '\n' || why.back() == ' ')) why.pop_back();
        throw DatabaseError(dberr::kCannotOpen,
                            "Could not open the database '" + uri + "' on its server: " + why,
                            kDriverSource);
    }
    // The server's notices ("already exists, skipping") are not failures.
    PQsetNoticeProcessor(
        connection.get(), [](void*, const char*) {}, nullptr);
    return connection;
}

}  // namespace

std::unique_ptr<DriverConnection> OpenPostgresConnection(const std::string& uri)
{
    auto connection = std::make_unique<PostgresConnection>(Connect(uri), uri);
    connection->ReadSettings();
    return connection;
}

void PreparePostgresDatabase(const std::string& uri)
{
    PostgresConnection connection(Connect(uri), uri);
    Result schema = connection.RunCommands("SELECT current_schema()");
    if (PQgetisnull(schema.get(), 0, 0) != 0)
        throw DatabaseError(dberr::kCannotOpen,
                            "Database '" + uri + "' cannot be created: its schema does not exist.",
                            kDriverSource);
    Result tables = connection.RunCommands(
        "SELECT count(*) FROM pg_tables WHERE schemaname = current_schema()");
    if (std::atoi(PQgetvalue(tables.get(), 0, 0)) != 0)
        throw DatabaseError(dberr::kCannotOpen,
                            "Database '" + uri + "' cannot be created: it already holds tables.",
                            kDriverSource);
    connection.RunCommands("CREATE EXTENSION IF NOT EXISTS citext");
}

std::string ToServerSql(const std::string& sql)
{
    std::string out;
    int parameter = 0;
    // Per bracket depth: whether an ORDER BY list is open there, and the
    // last word of its current item.
    struct Level {
        bool ordering = false;
        std::string lastWord;
        bool hasNulls = false;
    };
    std::vector<Level> levels(1);
    const auto endItem = [&]() {
        Level& level = levels.back();
        if (!level.ordering) return;
        if (!level.hasNulls)
            out += SameName(level.lastWord, "DESC") ? " NULLS LAST " : " NULLS FIRST ";
        level.lastWord.clear();
        level.hasNulls = false;
    };
    std::size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '\'') {
            std::size_t end = i + 1;
            while (end < sql.size()) {
                if (sql[end] == '\'' && (end + 1 >= sql.size() || sql[end + 1] != '\'')) break;
                end += sql[end] == '\'' ? 2 : 1;
            }
            out += sql.substr(i, end + 1 - i);
            i = end + 1;
        } else if (c == '"' || c == '[' || c == '`') {
            const char close = c == '[' ? ']' : c;
            std::size_t end = sql.find(close, i + 1);
            if (end == std::string::npos) end = sql.size();
            std::string name = sql.substr(i + 1, end - i - 1);
            out += QuoteName(Lower(name));
            levels.back().lastWord = name;
            i = end + 1;
        } else if (c == '?') {
            out += "$" + std::to_string(++parameter);
            ++i;
        } else if (c == '(') {
            out += c;
            levels.emplace_back();
            ++i;
        } else if (c == ')' || c == ';') {
            endItem();
            if (c == ')' && levels.size() > 1)
                levels.pop_back();
            else
                levels.back().ordering = false;
            out += c;
            ++i;
        } else if (c == ',') {
            endItem();
            out += c;
            ++i;
        } else if (IsWordChar(c)) {
            std::size_t end = i;
            while (end < sql.size() && IsWordChar(sql[end])) ++end;
            const std::string word = sql.substr(i, end - i);
            Level& level = levels.back();
            if (level.ordering &&
                (SameName(word, "LIMIT") || SameName(word, "OFFSET") || SameName(word, "FOR"))) {
                endItem();
                level.ordering = false;
            }
            out += word;
            i = end;
            if (SameName(word, "ORDER")) {
                std::size_t next = sql.find_first_not_of(" \t\r\n", i);
                if (next != std::string::npos && next + 2 <= sql.size() &&
                    SameName(sql.substr(next, 2), "BY") &&
                    (next + 2 == sql.size() || !IsWordChar(sql[next + 2]))) {
                    out += sql.substr(i, next + 2 - i);
                    i = next + 2;
                    level.ordering = true;
                    level.lastWord.clear();
                    level.hasNulls = false;
                }
            } else if (level.ordering) {
                level.lastWord = word;
                if (SameName(word, "NULLS")) level.hasNulls = true;
            }
        } else {
            out += c;
            ++i;
        }
    }
    endItem();
    return out;
}

}  // namespace lindor::db
