// The checkers' own view of a database: the plain SQLite C API for a file,
// libpq for a database on a server (a postgresql:// address); no engine
// code, only reads.
#pragma once

#include <sqlite3.h>

struct pg_conn;
struct pg_result;

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace stress {

class SqliteFile {
public:
    enum class Mode {
        // The file as it stands; nothing is ever written.
        ReadOnly,
        // A writable handle, so that the journal a killed program left is
        // rolled back first, as the next program to open the file does; the
        // checker itself still issues only reads.
        RollBackLeftovers
    };

    class Row {
    public:
        explicit Row(sqlite3_stmt* statement) : statement_(statement) {}
        Row(const pg_result* result, int row) : result_(result), row_(row) {}
        bool IsNull(int column) const;
        std::int64_t Int(int column) const;
        double Real(int column) const;
        std::string Text(int column) const;
        std::vector<std::uint8_t> Blob(int column) const;

    private:
        sqlite3_stmt* statement_ = nullptr;
        const pg_result* result_ = nullptr;  // a server's rows, as texts
        int row_ = 0;
    };

    SqliteFile(const std::string& path, Mode mode);
    ~SqliteFile();
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    void ForEach(const std::string& sql, const std::function<void(const Row&)>& visit) const;
    // The first column of the first row as a number; 0 when there is no row.
    std::int64_t Number(const std::string& sql) const;
    // What PRAGMA integrity_check reports unless "ok", and every row of
    // PRAGMA foreign_key_check. A server keeps its storage and enforces the
    // relationships itself: nothing to report there.
    std::vector<std::string> IntegrityProblems() const;

private:
    sqlite3* db_ = nullptr;
    pg_conn* server_ = nullptr;
};

// What one attachment archive holds, read independently of the engine.
struct ArchiveContent {
    std::string problem;  // empty when the archive is sound
    std::string entryName;
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
};

// Reads a zip archive that must hold exactly one entry, inflates the entry
// and checks it against the size and checksum the archive records.
ArchiveContent InspectArchive(const std::vector<std::uint8_t>& zip);

}  // namespace stress
