// A cursor over a query or table. Over a plain single-table SELECT it is
// keyed and updatable: it keeps the rows' keys in query order and reads the
// rows themselves on demand, in pages, with statements that finish before
// each call returns (so an open cursor never holds the file's read lock).
// Static and forward-only cursors read every row when they open (and when
// they are read again), so that what they show stays as it was then even if
// another program deletes rows meanwhile. Over anything else (joins) a cursor
// is read-only and holds its rows in memory.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include <lindor/Variant.h>

#include "db/Connection.h"
#include "db/Query.h"
#include "db/SchemaType.h"

namespace lindor::db {

enum class CursorType { ForwardOnly, Keyset, Dynamic, Static };
enum class LockType { ReadOnly, Pessimistic, Optimistic };
enum class CommandKind { Text, Table };

// Absolute positions that are not rows.
constexpr long kPositionUnknown = -1;
constexpr long kPositionBOF = -2;
constexpr long kPositionEOF = -3;

class Recordset;

// One column of the current row, by name or position.
class Field {
public:
    Field(Recordset& recordset, int index) : recordset_(recordset), index_(index) {}

    Variant Value() const;
    void SetValue(const Variant& value);
    // Reads the next chunk of at most `size` bytes of a long binary value;
    // successive calls continue where the last one stopped.
    std::vector<std::uint8_t> GetChunk(std::size_t size);
    void AppendChunk(const std::vector<std::uint8_t>& bytes);
    // The stored size of a long binary or text value in bytes (0 for NULL).
    std::int64_t ActualSize() const;
    const std::string& Name() const;
    bool IsNull() const { return Value().IsNull(); }

private:
    Recordset& recordset_;
    int index_;
};

class Recordset {
public:
    Recordset() = default;
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Opens on the connection given. A table (CommandKind::Table) takes no
    // parameters.
    void Open(const Query& source, Connection& connection, CursorType cursor = CursorType::Keyset,
              LockType lock = LockType::Optimistic, CommandKind kind = CommandKind::Text);
    // Opens on a connection of its own made from the connection string.
    void Open(const Query& source, const std::string& connectionString,
              CursorType cursor = CursorType::Keyset, LockType lock = LockType::Optimistic,
              CommandKind kind = CommandKind::Text);
    // Cancels a pending edit and closes; closing a closed cursor does nothing.
    void Close();
    bool IsOpen() const { return open_; }
    const std::string& Source() const { return source_; }
    // The connection the cursor reads through (its own one when it was opened
    // from a connection string), so that a reader can open a second cursor on
    // the same database and inside the same transaction. Throws when closed.
    Connection& ActiveConnection() const;

    bool IsEOF() const;
    bool IsBOF() const;
    void MoveFirst();
    void MoveNext();
    long RecordCount() const;
    // One-based position of the current row, or kPositionBOF / kPositionEOF.
    long AbsolutePosition() const;
    void SetAbsolutePosition(long position);

    // Shows only the rows, among the cursor's own, for which the criterion
    // holds; an empty criterion shows all rows again. Moves to the first row.
    void SetFilter(const std::string& criterion);
    const std::string& Filter() const { return filter_; }
    // Moves to the first row, from the current one on, for which the criterion
    // holds; after the last row when there is none. Returns whether found.
    bool Find(const std::string& criterion);
    // Runs the query again (the filter is dropped) and moves to the first row.
    void Requery();

    void AddNew();
    // Writes the pending new row or changes.
    void Update();
    void CancelUpdate();
    bool EditPending() const { return editMode_ != EditMode::None; }
    // Deletes the current row; it stays current, marked deleted, until a move.
    void Delete();

    int FieldCount() const;
    Field Fields(int index);
    Field Fields(const std::string& name);
    int ColumnIndex(const std::string& name) const;  // throws when missing
    bool IsUpdatable() const { return keyed_ && lock_ != LockType::ReadOnly; }

private:
    friend class Field;
    struct Column {
        std::string name;       // as the query shows it
        std::string tableName;  // the table's own column
        SchemaType type = SchemaType::Unknown;
        int size = 0;
    };
    struct Row {
        std::vector<Variant> values;
        std::vector<std::int64_t> blobSizes;  // long binary cells: stored size, -1 for NULL
        std::vector<std::vector<std::uint8_t>> blobs;  // in-memory cursors only
        bool missing = false;  // deleted by another program before it was read
    };
    enum class EditMode { None, Edit, AddNew };

    void OpenOn(const Query& source, CursorType cursor, LockType lock, CommandKind kind);
    // Binds the cursor's parameters to a statement of its query.
    void BindParameters(DriverStatement& s) const;
    void Prepare(const std::string& sql);
    void ForgetKeys();
    void LoadFirstKeys();
    void LoadSnapshot();
    void LoadKeyedRows();
    Row ReadKeyedRow(const DriverStatement& s) const;
    void EnsureAllKeys();
    std::int64_t KeyAt(std::size_t keyIndex);
    std::int64_t CurrentKey();
    void LoadRows(const std::string& sql);
    std::size_t ViewSize() const;
    std::size_t KeyIndexAt(std::size_t viewIndex) const;
    const Row& CurrentRow();
    const Row& RowAt(std::size_t keyIndex);
    void FetchRows(std::size_t firstKeyIndex, std::size_t count);
    std::vector<std::int64_t> MatchingRowids(const std::string& criterion);
    void CheckOpen() const;
    void CheckCurrent() const;
    void CheckUpdatable() const;
    void ResetChunkReads();
    void PurgeDeletedKeys();
    void WriteNewRow();
    void WriteChangedRow();
    [[noreturn]] void ThrowExplained(const DatabaseError& error, bool deleting,
                                     const std::map<int, Variant>& values);
    SharedDatabase& database() const;

    Variant ValueOf(int column);
    void SetValueOf(int column, const Variant& value);
    std::vector<std::uint8_t> ChunkOf(int column, std::size_t size);
    std::vector<std::uint8_t> ReadAheadChunk(int column, std::int64_t rowid, std::int64_t offset,
                                             std::size_t size);
    void AppendChunkTo(int column, const std::vector<std::uint8_t>& bytes);
    std::int64_t SizeOf(int column);

    std::unique_ptr<Connection> ownConnection_;
    Connection* connection_ = nullptr;
    bool open_ = false;
    bool keyed_ = false;
    bool snapshot_ = false;  // static and forward-only cursors
    LockType lock_ = LockType::ReadOnly;
    std::string source_;
    std::vector<Variant> parameters_;
    std::string table_;
    std::string keyQuery_;
    std::string countQuery_;
    std::string rowQueryColumns_;
    std::string rowsQuery_;  // every row of the result with its key, in query order
    std::vector<Column> columns_;

    std::vector<std::int64_t> keys_;  // rowids in query order (keyed cursors)
    // A cursor first reads only the keys of its first screen and counts the
    // rest; it reads every key when a later row or a filter needs them.
    bool keysComplete_ = true;
    std::size_t countedKeys_ = 0;
    std::unordered_map<std::int64_t, std::size_t> keyIndexOf_;  // built on the first find
    std::vector<Row> rows_;                                     // all rows (in-memory cursors)
    std::unordered_map<std::size_t, Row> cache_;                // fetched rows by key index
    std::set<std::int64_t> deleted_;
    std::size_t lastFetchEnd_ = 0;
    std::size_t readAhead_ = 0;

    bool filtered_ = false;
    std::vector<std::uint32_t> view_;  // key indexes shown while filtered
    std::string filter_;
    long current_ = 0;  // index into the view; -1 = before first, ViewSize() = after last

    EditMode editMode_ = EditMode::None;
    std::map<int, Variant> pending_;
    std::map<int, std::vector<std::uint8_t>> pendingBlobs_;
    std::map<int, std::int64_t> chunkOffsets_;
    // Bytes of one long binary cell read ahead of the chunks asked for; dropped
    // whenever chunk reads start again (a move, a write, a requery, a close).
    struct BlobWindow {
        std::int64_t rowid = -1;
        int column = -1;
        std::int64_t start = 0;
        std::vector<std::uint8_t> bytes;
    };
    BlobWindow blobWindow_;
};

// Cancels the cursor's pending new row or changes when the scope ends with
// them still pending (a failure, an early return), so no half-made edit
// stays behind on the cursor.
class PendingEdit {
public:
    explicit PendingEdit(Recordset& cursor) : cursor_(cursor) {}
    ~PendingEdit()
    {
        if (cursor_.EditPending()) cursor_.CancelUpdate();
    }
    PendingEdit(const PendingEdit&) = delete;
    PendingEdit& operator=(const PendingEdit&) = delete;

private:
    Recordset& cursor_;
};

}  // namespace lindor::db
