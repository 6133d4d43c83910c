#include "common/SqliteFile.h"

#include <libpq-fe.h>
#include <zlib.h>

#include <cctype>
#include <cstdlib>
#include <memory>

#include <stdexcept>

#include "common/RandomData.h"
#include "db/Driver.h"

namespace stress {

namespace {

constexpr Oid kByteaOid = 17;

// The server keeps the schema's names in lower case, so a quoted name of the
// checkers' queries is folded as the server folds an unquoted one.
std::string FoldQuotedNames(const std::string& sql)
{
    std::string out;
    bool inName = false, inText = false;
    for (char c : sql) {
        if (c == '\'' && !inName) inText = !inText;
        if (c == '"' && !inText) inName = !inName;
        out += inName ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : c;
    }
    return out;
}

}  // namespace

bool SqliteFile::Row::IsNull(int column) const
{
    if (result_ != nullptr) return PQgetisnull(result_, row_, column) != 0;
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

std::int64_t SqliteFile::Row::Int(int column) const
{
    if (result_ != nullptr) return static_cast<std::int64_t>(Real(column));
    return sqlite3_column_int64(statement_, column);
}

double SqliteFile::Row::Real(int column) const
{
    if (result_ != nullptr) return std::strtod(PQgetvalue(result_, row_, column), nullptr);
    return sqlite3_column_double(statement_, column);
}

std::string SqliteFile::Row::Text(int column) const
{
    if (result_ != nullptr)
        return std::string(PQgetvalue(result_, row_, column),
                           static_cast<std::size_t>(PQgetlength(result_, row_, column)));
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return text == nullptr
               ? std::string()
               : std::string(text,
                             static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

std::vector<std::uint8_t> SqliteFile::Row::Blob(int column) const
{
    if (result_ != nullptr) {
        if (PQftype(result_, column) != kByteaOid) {
            const std::string text = Text(column);
            return std::vector<std::uint8_t>(text.begin(), text.end());
        }
        std::size_t size = 0;
        unsigned char* bytes = PQunescapeBytea(
            reinterpret_cast<const unsigned char*>(PQgetvalue(result_, row_, column)), &size);
        std::vector<std::uint8_t> blob(bytes, bytes + (bytes != nullptr ? size : 0));
        PQfreemem(bytes);
        return blob;
    }
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_, column));
    const int size = sqlite3_column_bytes(statement_, column);
    return data == nullptr ? std::vector<std::uint8_t>()
                           : std::vector<std::uint8_t>(data, data + size);
}

SqliteFile::SqliteFile(const std::string& path, Mode mode)
{
    if (lindor::db::IsServerDataSource(path)) {
        server_ = PQconnectdb(path.c_str());
        if (PQstatus(server_) != CONNECTION_OK) {
            const std::string why = PQerrorMessage(server_);
            PQfinish(server_);
            throw std::runtime_error("cannot open " + path + ": " + why);
        }
        return;
    }
    const int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        const std::string why = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        throw std::runtime_error("cannot open " + path + ": " + why);
    }
    sqlite3_busy_timeout(db_, 10000);
}

SqliteFile::~SqliteFile()
{
    if (server_ != nullptr) PQfinish(server_);
    sqlite3_close(db_);
}

void SqliteFile::ForEach(const std::string& sql, const std::function<void(const Row&)>& visit) const
{
    if (server_ != nullptr) {
        std::unique_ptr<PGresult, void (*)(PGresult*)> result(
            PQexec(server_, FoldQuotedNames(sql).c_str()), PQclear);
        if (PQresultStatus(result.get()) != PGRES_TUPLES_OK)
            throw std::runtime_error(sql + ": " + PQerrorMessage(server_));
        for (int row = 0; row < PQntuples(result.get()); ++row) visit(Row(result.get(), row));
        return;
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
    int rc = SQLITE_ROW;
    try {
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) visit(Row(statement));
    } catch (...) {
        sqlite3_finalize(statement);
        throw;
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
}

std::int64_t SqliteFile::Number(const std::string& sql) const
{
    std::int64_t value = 0;
    bool first = true;
    ForEach(sql, [&](const Row& row) {
        if (first) value = row.Int(0);
        first = false;
    });
    return value;
}

std::vector<std::string> SqliteFile::IntegrityProblems() const
{
    std::vector<std::string> problems;
    if (server_ != nullptr) return problems;
    ForEach("PRAGMA integrity_check", [&](const Row& row) {
        if (row.Text(0) != "ok") problems.push_back("integrity_check: " + row.Text(0));
    });
    ForEach("PRAGMA foreign_key_check", [&](const Row& row) {
        problems.push_back("foreign_key_check: row " + row.Text(1) + " of " + row.Text(0) +
                           " refers to a missing row of " + row.Text(2));
    });
    return problems;
}

namespace {

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | b[at + static_cast<std::size_t>(i)];
    return value;
}

bool Inflate(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>* out)
{
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);
    std::uint8_t chunk[65536];
    int rc = Z_OK;
    while (rc == Z_OK) {
        stream.next_out = chunk;
        stream.avail_out = sizeof(chunk);
        rc = inflate(&stream, Z_NO_FLUSH);
        out->insert(out->end(), chunk, chunk + (sizeof(chunk) - stream.avail_out));
        if (rc == Z_BUF_ERROR && stream.avail_in == 0) break;
    }
    inflateEnd(&stream);
    return rc == Z_STREAM_END;
}

ArchiveContent Damaged(const std::string& problem)
{
    ArchiveContent content;
    content.problem = problem;
    return content;
}

}  // namespace

ArchiveContent InspectArchive(const std::vector<std::uint8_t>& zip)
{
    ArchiveContent content;
    constexpr std::size_t kEndRecord = 22, kCentral = 46, kLocal = 30;
    std::size_t end = std::string::npos;
    for (std::size_t at = zip.size() >= kEndRecord ? zip.size() - kEndRecord + 1 : 0; at-- > 0;) {
        if (Le(zip, at, 4) == 0x06054b50) {
            end = at;
            break;
        }
    }
    if (end == std::string::npos) return Damaged("no end of central directory");
    if (Le(zip, end + 10, 2) != 1)
        return Damaged("holds " + std::to_string(Le(zip, end + 10, 2)) + " entries");
    const std::size_t central = Le(zip, end + 16, 4);
    if (central + kCentral > zip.size() || Le(zip, central, 4) != 0x02014b50)
        return Damaged("damaged central directory");
    const std::uint32_t method = Le(zip, central + 10, 2);
    content.crc = Le(zip, central + 16, 4);
    const std::size_t packed = Le(zip, central + 20, 4);
    content.size = Le(zip, central + 24, 4);
    const std::size_t nameLength = Le(zip, central + 28, 2);
    if (central + kCentral + nameLength > zip.size()) return Damaged("damaged entry name");
    content.entryName.assign(zip.begin() + static_cast<long>(central + kCentral),
                             zip.begin() + static_cast<long>(central + kCentral + nameLength));
    const std::size_t local = Le(zip, central + 42, 4);
    if (local + kLocal > zip.size() || Le(zip, local, 4) != 0x04034b50)
        return Damaged("damaged local header");
    const std::size_t data = local + kLocal + Le(zip, local + 26, 2) + Le(zip, local + 28, 2);
    if (data + packed > zip.size()) return Damaged("entry data cut short");
    std::vector<std::uint8_t> bytes;
    if (method == 0) {
        bytes.assign(zip.begin() + static_cast<long>(data),
                     zip.begin() + static_cast<long>(data + packed));
    } else if (method != 8 || !Inflate(zip.data() + data, packed, &bytes)) {
        return Damaged("entry data cannot be inflated");
    }
    if (bytes.size() != content.size || Crc32(bytes) != content.crc)
        content.problem = "entry data does not match its recorded size and checksum";
    return content;
}

}  // namespace stress
