#include "db/Recordset.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_set>

#include "db/Dialect.h"

namespace lindor::db {

namespace {

constexpr std::size_t kPageSize = 200;
constexpr std::int64_t kBlobWindow = 1 << 20;  // bytes of a long binary value read at once
constexpr std::size_t kFirstReadAhead = 64;
constexpr std::size_t kCacheLimit = 4096;
constexpr std::size_t kFirstKeys = 256;

const char* const kForeignKeyText =
    "The record cannot be added, changed or deleted because a relationship between tables "
    "forbids it.";

DatabaseError NoCurrentRow()
{
    return DatabaseError(dberr::kBofEof,
                         "Either BOF or EOF is True, or the current record has been deleted. "
                         "Requested operation requires a current record.");
}

DatabaseError NotUpdatable()
{
    return DatabaseError(dberr::kNotUpdatable,
                         "Current Recordset does not support updating. This may be a limitation "
                         "of the provider, or of the selected locktype.");
}

DatabaseError Mismatch()
{
    return DatabaseError(dberr::kTypeMismatch,
                         "The value does not fit the type of the column (data type mismatch).");
}

std::size_t CharacterCount(const std::string& utf8)
{
    std::size_t count = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}

bool ParseInteger(const std::string& text, std::int64_t* value)
{
    if (text.empty()) return false;
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0') return false;
    *value = parsed;
    return true;
}

std::int32_t ToInt32(std::int64_t value)
{
    return static_cast<std::int32_t>(value);
}

std::string NumberText(double value)
{
    char text[40];
    std::snprintf(text, sizeof(text), "%.15g", value);
    return text;
}

// A stored value as the Variant of its column's schema type.
Variant ReadCell(const DriverStatement& s, int index, SchemaType type)
{
    const StoredType stored = s.ColumnType(index);
    if (stored == StoredType::Null) return Variant::Null();
    switch (type) {
        case SchemaType::Long:
            if (stored == StoredType::Integer) return Variant::I4(ToInt32(s.ColumnInteger(index)));
            if (stored == StoredType::Real)
                return Variant::I4(ToInt32(static_cast<std::int64_t>(s.ColumnReal(index))));
            return Variant::Text(s.ColumnText(index));
        case SchemaType::Text:
        case SchemaType::Memo:
            return Variant::Text(s.ColumnText(index));
        case SchemaType::Date:
            if (stored == StoredType::Integer || stored == StoredType::Real)
                return Variant::Date(s.ColumnReal(index));
            return Variant::Text(s.ColumnText(index));
        case SchemaType::YesNo:
            if (stored == StoredType::Integer || stored == StoredType::Real)
                return Variant::Bool(s.ColumnReal(index) != 0);
            return Variant::Text(s.ColumnText(index));
        default:
            break;
    }
    switch (stored) {
        case StoredType::Integer: {
            const std::int64_t v = s.ColumnInteger(index);
            if (v >= INT32_MIN && v <= INT32_MAX) return Variant::I4(ToInt32(v));
            return Variant::R8(static_cast<double>(v));
        }
        case StoredType::Real:
            return Variant::R8(s.ColumnReal(index));
        default:
            return Variant::Text(s.ColumnText(index));
    }
}

void Bind(DriverStatement& s, int index, const Variant& value)
{
    switch (value.vt()) {
        case VT_I2:
        case VT_I4:
        case VT_UI1:
            s.BindInteger(index, value.i4());
            return;
        case VT_BOOL:
            s.BindInteger(index, value.boolVal() ? 1 : 0);
            return;
        case VT_R8:
        case VT_DATE:
            s.BindReal(index, value.r8());
            return;
        case VT_BSTR:
            s.BindText(index, value.text());
            return;
        default:
            s.BindNull(index);
    }
}

// A value converted to what its column stores; throws for values it cannot hold.
Variant ConvertForColumn(const Variant& value, SchemaType type, int size)
{
    if (value.IsNull() || value.IsEmpty()) return Variant::Null();
    const VarType vt = value.vt();
    const bool integral = vt == VT_I2 || vt == VT_I4 || vt == VT_UI1 || vt == VT_BOOL;
    const bool floating = vt == VT_R8 || vt == VT_DATE;
    switch (type) {
        case SchemaType::Long: {
            if (vt == VT_BOOL) return Variant::I4(value.boolVal() ? -1 : 0);
            if (integral) return Variant::I4(value.i4());
            if (floating) return Variant::I4(static_cast<std::int32_t>(std::llround(value.r8())));
            std::int64_t parsed = 0;
            if (vt == VT_BSTR && ParseInteger(value.text(), &parsed))
                return Variant::I4(ToInt32(parsed));
            throw Mismatch();
        }
        case SchemaType::Text:
        case SchemaType::Memo: {
            std::string text;
            if (vt == VT_BSTR)
                text = value.text();
            else if (integral)
                text = std::to_string(value.i4());
            else if (floating)
                text = NumberText(value.r8());
            else
                throw Mismatch();
            if (type == SchemaType::Text && size > 0 &&
                CharacterCount(text) > static_cast<std::size_t>(size))
                throw DatabaseError(
                    dberr::kTooLong,
                    "The field is too small to accept the amount of data you attempted "
                    "to add.  Try inserting or pasting less data.");
            return Variant::Text(text);
        }
        case SchemaType::Date:
            if (floating) return Variant::Date(value.r8());
            if (integral && vt != VT_BOOL) return Variant::Date(value.i4());
            throw Mismatch();
        case SchemaType::YesNo:
            if (integral) return Variant::Bool(value.i4() != 0);
            if (floating) return Variant::Bool(value.r8() != 0);
            throw Mismatch();
        case SchemaType::LongBinary:
            throw Mismatch();
        default:
            return value;
    }
}

std::string Placeholders(std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += i == 0 ? "?" : ",?";
    return text;
}

}  // namespace

// ---- Field -------------------------------------------------------------------

Variant Field::Value() const
{
    return recordset_.ValueOf(index_);
}
void Field::SetValue(const Variant& value)
{
    recordset_.SetValueOf(index_, value);
}
std::vector<std::uint8_t> Field::GetChunk(std::size_t size)
{
    return recordset_.ChunkOf(index_, size);
}
void Field::AppendChunk(const std::vector<std::uint8_t>& bytes)
{
    recordset_.AppendChunkTo(index_, bytes);
}
std::int64_t Field::ActualSize() const
{
    return recordset_.SizeOf(index_);
}
const std::string& Field::Name() const
{
    return recordset_.columns_[static_cast<std::size_t>(index_)].name;
}

// ---- opening and closing ---------------------------------------------------------

Recordset::~Recordset()
{
    try {
        Close();
    } catch (...) {
        // Closing only drops memory and a connection; nothing to report here.
    }
}

void Recordset::Open(const Query& source, Connection& connection, CursorType cursor, LockType lock,
                     CommandKind kind)
{
    Close();
    connection_ = &connection;
    OpenOn(source, cursor, lock, kind);
}

void Recordset::Open(const Query& source, const std::string& connectionString, CursorType cursor,
                     LockType lock, CommandKind kind)
{
    Close();
    ownConnection_ = std::make_unique<Connection>(connectionString);
    connection_ = ownConnection_.get();
    OpenOn(source, cursor, lock, kind);
}

void Recordset::OpenOn(const Query& source, CursorType cursor, LockType lock, CommandKind kind)
{
    if (kind == CommandKind::Table && !source.parameters.empty())
        throw DatabaseError(dberr::kSyntax, "A table takes no parameters.");
    source_ = kind == CommandKind::Table ? "SELECT * FROM " + QuoteName(source.text) : source.text;
    parameters_ = source.parameters;
    lock_ = lock;
    snapshot_ = cursor == CursorType::Static || cursor == CursorType::ForwardOnly;
    try {
        Prepare(TranslateSql(source_));
    } catch (...) {
        ownConnection_.reset();
        connection_ = nullptr;
        columns_.clear();
        throw;
    }
    open_ = true;
    current_ = 0;
}

void Recordset::BindParameters(DriverStatement& s) const
{
    for (std::size_t i = 0; i < parameters_.size(); ++i)
        Bind(s, static_cast<int>(i + 1), parameters_[i]);
}

Connection& Recordset::ActiveConnection() const
{
    if (connection_ == nullptr || !open_)
        throw DatabaseError(dberr::kClosed, "Operation is not allowed when the object is closed.");
    return *connection_;
}

SharedDatabase& Recordset::database() const
{
    if (connection_ == nullptr)
        throw DatabaseError(dberr::kClosed, "Operation is not allowed when the object is closed.");
    return connection_->database();
}

void Recordset::Prepare(const std::string& sql)
{
    const SingleTableQuery query = ParseSingleTableQuery(sql);
    keyed_ = false;
    columns_.clear();
    if (!query.table.empty() && database().schema().HasTable(query.table)) {
        const TableInfo& table = database().schema().Table(query.table);
        std::vector<Column> columns;
        bool plain = true;
        for (const std::string& item : query.selectList) {
            if (item == "*") {
                for (const ColumnInfo& c : table.columns)
                    columns.push_back({c.name, c.name, c.type, c.size});
                continue;
            }
            std::string name = item;
            if (name.size() >= 2 && (name.front() == '"' || name.front() == '['))
                name = name.substr(1, name.size() - 2);
            const int index = table.ColumnIndex(name);
            if (index < 0) {
                plain = false;
                break;
            }
            const ColumnInfo& c = table.columns[static_cast<std::size_t>(index)];
            columns.push_back({name, c.name, c.type, c.size});
        }
        if (plain) {
            keyed_ = true;
            table_ = table.name;
            columns_ = std::move(columns);
            keyQuery_ = "SELECT " + QuoteName(table_) + ".rowid FROM " + query.fromRest;
            countQuery_ = "SELECT count(*) FROM " + query.whereRest;
            rowQueryColumns_.clear();
            for (const Column& c : columns_) {
                const std::string name = QuoteName(c.tableName);
                rowQueryColumns_ +=
                    c.type == SchemaType::LongBinary ? "length(" + name + ")," : name + ",";
            }
            rowQueryColumns_ += "rowid";
            rowsQuery_ = "SELECT " + rowQueryColumns_ + " FROM " + query.fromRest;
            LoadKeyedRows();
            return;
        }
    }
    LoadRows(sql);
}

void Recordset::ForgetKeys()
{
    keys_.clear();
    cache_.clear();
    deleted_.clear();
    keyIndexOf_.clear();
    lastFetchEnd_ = 0;
    readAhead_ = 0;
}

void Recordset::LoadFirstKeys()
{
    ForgetKeys();
    keysComplete_ = false;
    DriverStatement& s = database().driver().Prepare(keyQuery_);
    {
        StatementUse use(s);
        BindParameters(s);
        while (keys_.size() < kFirstKeys && s.Step()) keys_.push_back(s.ColumnInteger(0));
        keysComplete_ = keys_.size() < kFirstKeys || !s.Step();
    }
    countedKeys_ = keys_.size();
    if (keysComplete_) return;
    StatementUse count(database().driver().Prepare(countQuery_));
    BindParameters(*count);
    countedKeys_ = count->Step() ? static_cast<std::size_t>(count->ColumnInteger(0)) : 0;
    if (countedKeys_ <= keys_.size()) EnsureAllKeys();  // the table changed meanwhile
}

void Recordset::LoadKeyedRows()
{
    if (snapshot_)
        LoadSnapshot();
    else
        LoadFirstKeys();
}

// Every row and its key from one statement, so that the rows agree with one
// another and none can vanish before it is read.
void Recordset::LoadSnapshot()
{
    ForgetKeys();
    DriverStatement& s = database().driver().Prepare(rowsQuery_);
    {
        StatementUse use(s);
        BindParameters(s);
        const int width = static_cast<int>(columns_.size());
        while (s.Step()) {
            cache_[keys_.size()] = ReadKeyedRow(s);
            keys_.push_back(s.ColumnInteger(width));
        }
    }
    keysComplete_ = true;
    countedKeys_ = keys_.size();
    lastFetchEnd_ = keys_.size();
}

// The keys read so far keep their places (with the rows this cursor deleted
// among them), so that positions taken meanwhile stay valid; the keys of
// the rest of the result follow in query order.
void Recordset::EnsureAllKeys()
{
    if (keysComplete_) return;
    const std::unordered_set<std::int64_t> known(keys_.begin(), keys_.end());
    DriverStatement& s = database().driver().Prepare(keyQuery_);
    {
        StatementUse use(s);
        BindParameters(s);
        while (s.Step()) {
            const std::int64_t key = s.ColumnInteger(0);
            if (known.count(key) == 0) keys_.push_back(key);
        }
    }
    keysComplete_ = true;
    countedKeys_ = keys_.size();
    keyIndexOf_.clear();
}

std::int64_t Recordset::KeyAt(std::size_t keyIndex)
{
    if (keyIndex >= keys_.size()) EnsureAllKeys();
    if (keyIndex >= keys_.size()) throw NoCurrentRow();
    return keys_[keyIndex];
}

std::int64_t Recordset::CurrentKey()
{
    return KeyAt(KeyIndexAt(static_cast<std::size_t>(current_)));
}

void Recordset::LoadRows(const std::string& sql)
{
    rows_.clear();
    DriverStatement& s = database().driver().Prepare(sql);
    columns_.clear();
    for (int i = 0; i < s.ColumnCount(); ++i) {
        Column column;
        column.name = s.OriginColumn(i).empty() ? s.ColumnName(i) : s.OriginColumn(i);
        column.tableName = column.name;
        column.type = SchemaTypeFromDeclared(s.DeclaredType(i), &column.size);
        columns_.push_back(column);
    }
    {
        StatementUse use(s);
        BindParameters(s);
        while (s.Step()) {
            Row row;
            for (int i = 0; i < s.ColumnCount(); ++i) {
                const bool blob =
                    columns_[static_cast<std::size_t>(i)].type == SchemaType::LongBinary ||
                    s.ColumnType(i) == StoredType::Blob;
                if (!blob) {
                    row.values.push_back(
                        ReadCell(s, i, columns_[static_cast<std::size_t>(i)].type));
                    row.blobSizes.push_back(-1);
                    row.blobs.emplace_back();
                    continue;
                }
                const bool null = s.ColumnType(i) == StoredType::Null;
                row.values.push_back(null ? Variant::Null() : Variant());
                row.blobs.push_back(s.ColumnBlob(i));
                row.blobSizes.push_back(null ? -1
                                             : static_cast<std::int64_t>(row.blobs.back().size()));
            }
            rows_.push_back(std::move(row));
        }
    }
}

void Recordset::Close()
{
    if (!open_ && connection_ == nullptr) return;
    CancelUpdate();
    open_ = false;
    keys_.clear();
    keys_.shrink_to_fit();
    rows_.clear();
    cache_.clear();
    deleted_.clear();
    view_.clear();
    filtered_ = false;
    filter_.clear();
    columns_.clear();
    ResetChunkReads();
    connection_ = nullptr;
    ownConnection_.reset();
}

void Recordset::CheckOpen() const
{
    if (!open_)
        throw DatabaseError(dberr::kClosed, "Operation is not allowed when the object is closed.");
}

void Recordset::CheckCurrent() const
{
    CheckOpen();
    if (IsBOF() || IsEOF()) throw NoCurrentRow();
}

void Recordset::CheckUpdatable() const
{
    CheckOpen();
    if (!IsUpdatable()) throw NotUpdatable();
}

// ---- moving --------------------------------------------------------------------

std::size_t Recordset::ViewSize() const
{
    if (!keyed_) return rows_.size();
    if (filtered_) return view_.size();
    return keysComplete_ ? keys_.size() : countedKeys_;
}

std::size_t Recordset::KeyIndexAt(std::size_t viewIndex) const
{
    return filtered_ ? view_[viewIndex] : viewIndex;
}

bool Recordset::IsEOF() const
{
    CheckOpen();
    return ViewSize() == 0 || current_ >= static_cast<long>(ViewSize());
}

bool Recordset::IsBOF() const
{
    CheckOpen();
    return ViewSize() == 0 || current_ < 0;
}

void Recordset::ResetChunkReads()
{
    chunkOffsets_.clear();
    blobWindow_ = BlobWindow{};
}

void Recordset::MoveFirst()
{
    CheckOpen();
    if (EditPending()) Update();
    current_ = 0;
    ResetChunkReads();
}

void Recordset::MoveNext()
{
    CheckOpen();
    if (EditPending()) Update();
    if (IsEOF()) throw NoCurrentRow();
    ++current_;
    ResetChunkReads();
}

long Recordset::RecordCount() const
{
    CheckOpen();
    return static_cast<long>(ViewSize() - deleted_.size());
}

long Recordset::AbsolutePosition() const
{
    CheckOpen();
    if (ViewSize() == 0) return kPositionUnknown;
    if (current_ < 0) return kPositionBOF;
    if (current_ >= static_cast<long>(ViewSize())) return kPositionEOF;
    return current_ + 1;
}

void Recordset::SetAbsolutePosition(long position)
{
    CheckOpen();
    if (position < 1 || position > static_cast<long>(ViewSize()))
        throw DatabaseError(dberr::kBofEof, "The position " + std::to_string(position) +
                                                " is outside the recordset.");
    if (EditPending()) Update();
    current_ = position - 1;
    ResetChunkReads();
}

// ---- reading rows ----------------------------------------------------------------

const Recordset::Row& Recordset::CurrentRow()
{
    CheckCurrent();
    if (!keyed_) return rows_[static_cast<std::size_t>(current_)];
    return RowAt(KeyIndexAt(static_cast<std::size_t>(current_)));
}

const Recordset::Row& Recordset::RowAt(std::size_t keyIndex)
{
    const auto found = cache_.find(keyIndex);
    if (found != cache_.end()) return found->second;
    KeyAt(keyIndex);
    // Sequential reading fetches growing pages; a jump fetches just the row.
    const bool sequential = keyIndex == lastFetchEnd_;
    readAhead_ = sequential ? std::min(std::max(readAhead_ * 2, kFirstReadAhead), kPageSize) : 1;
    if (cache_.size() + readAhead_ > kCacheLimit) cache_.clear();
    FetchRows(keyIndex, std::min(readAhead_, keys_.size() - keyIndex));
    return cache_.at(keyIndex);
}

void Recordset::FetchRows(std::size_t first, std::size_t count)
{
    // Three statement shapes serve every fetch: one row, a first screen, a page.
    const std::size_t slots = count == 1                 ? 1
                              : count <= kFirstReadAhead ? kFirstReadAhead
                                                         : kPageSize;
    DriverStatement& s =
        database().driver().Prepare("SELECT " + rowQueryColumns_ + " FROM " + QuoteName(table_) +
                                    " WHERE rowid IN (" + Placeholders(slots) + ")");
    std::unordered_map<std::int64_t, std::size_t> wanted;
    for (std::size_t i = 0; i < slots; ++i) {
        if (i < count) {
            s.BindInteger(static_cast<int>(i + 1), keys_[first + i]);
            wanted[keys_[first + i]] = first + i;
        } else {
            s.BindNull(static_cast<int>(i + 1));
        }
    }
    const int width = static_cast<int>(columns_.size());
    {
        StatementUse use(s);
        while (s.Step()) {
            const auto key = wanted.find(s.ColumnInteger(width));
            if (key == wanted.end()) continue;
            cache_[key->second] = ReadKeyedRow(s);
            wanted.erase(key);
        }
    }
    for (const auto& [rowid, keyIndex] : wanted) {
        Row missing;
        missing.missing = true;
        cache_[keyIndex] = std::move(missing);
    }
    lastFetchEnd_ = first + count;
}

// One row of a keyed cursor's row query (long binary cells by their size).
Recordset::Row Recordset::ReadKeyedRow(const DriverStatement& s) const
{
    Row row;
    row.values.reserve(columns_.size());
    row.blobSizes.assign(columns_.size(), -1);
    for (int i = 0; i < static_cast<int>(columns_.size()); ++i) {
        const Column& column = columns_[static_cast<std::size_t>(i)];
        if (column.type != SchemaType::LongBinary) {
            row.values.push_back(ReadCell(s, i, column.type));
            continue;
        }
        const bool null = s.ColumnType(i) == StoredType::Null;
        row.values.push_back(null ? Variant::Null() : Variant());
        if (!null) row.blobSizes[static_cast<std::size_t>(i)] = s.ColumnInteger(i);
    }
    return row;
}

int Recordset::FieldCount() const
{
    CheckOpen();
    return static_cast<int>(columns_.size());
}

int Recordset::ColumnIndex(const std::string& name) const
{
    CheckOpen();
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (SameName(columns_[i].name, name)) return static_cast<int>(i);
    throw DatabaseError(dberr::kNoSuchColumn,
                        "Item cannot be found in the collection corresponding to the requested "
                        "name or ordinal (" +
                            name + ").");
}

Field Recordset::Fields(int index)
{
    CheckOpen();
    if (index < 0 || index >= static_cast<int>(columns_.size()))
        throw DatabaseError(dberr::kNoSuchColumn,
                            "Item cannot be found in the collection corresponding to the "
                            "requested name or ordinal (" +
                                std::to_string(index) + ").");
    return Field(*this, index);
}

Field Recordset::Fields(const std::string& name)
{
    return Field(*this, ColumnIndex(name));
}

Variant Recordset::ValueOf(int column)
{
    const auto pending = pending_.find(column);
    if (pending != pending_.end()) return pending->second;
    if (editMode_ == EditMode::AddNew) return Variant::Null();
    const Row& row = CurrentRow();
    if (row.missing || (keyed_ && deleted_.count(CurrentKey()) != 0))
        throw DatabaseError(dberr::kDeletedRow, "Record is deleted.");
    return row.values[static_cast<std::size_t>(column)];
}

std::int64_t Recordset::SizeOf(int column)
{
    const auto pendingBlob = pendingBlobs_.find(column);
    if (pendingBlob != pendingBlobs_.end())
        return static_cast<std::int64_t>(pendingBlob->second.size());
    const Variant value = ValueOf(column);
    if (value.IsNull()) return 0;
    if (value.IsEmpty()) {  // a long binary cell
        const Row& row = CurrentRow();
        return std::max<std::int64_t>(row.blobSizes[static_cast<std::size_t>(column)], 0);
    }
    if (value.vt() == VT_BSTR) return static_cast<std::int64_t>(value.text().size());
    return sizeof(double);
}

std::vector<std::uint8_t> Recordset::ChunkOf(int column, std::size_t size)
{
    if (ValueOf(column).IsNull()) return {};
    std::int64_t& offset = chunkOffsets_[column];
    std::vector<std::uint8_t> bytes;
    if (!keyed_) {
        const std::vector<std::uint8_t>& all = CurrentRow().blobs[static_cast<std::size_t>(column)];
        const std::size_t start = std::min(static_cast<std::size_t>(offset), all.size());
        const std::size_t n = std::min(size, all.size() - start);
        bytes.assign(all.begin() + static_cast<long>(start),
                     all.begin() + static_cast<long>(start + n));
    } else {
        bytes = ReadAheadChunk(column, CurrentKey(), offset, size);
    }
    offset += static_cast<std::int64_t>(bytes.size());
    return bytes;
}

// A read of a long binary value at an offset walks the value's pages from its
// start, so chunks are served from a window read ahead in one go: a value read
// in many small chunks is then walked a few times instead of once per chunk.
std::vector<std::uint8_t> Recordset::ReadAheadChunk(int column, std::int64_t rowid,
                                                    std::int64_t offset, std::size_t size)
{
    BlobWindow& window = blobWindow_;
    const std::int64_t end = offset + static_cast<std::int64_t>(size);
    const bool inside = window.rowid == rowid && window.column == column &&
                        offset >= window.start &&
                        end <= window.start + static_cast<std::int64_t>(window.bytes.size());
    if (!inside) {
        window.bytes = database().driver().ReadBlob(
            table_, columns_[static_cast<std::size_t>(column)].tableName, rowid, offset,
            std::max(kBlobWindow, static_cast<std::int64_t>(size)));
        window.rowid = rowid;
        window.column = column;
        window.start = offset;
    }
    const std::size_t from = static_cast<std::size_t>(offset - window.start);
    const std::size_t count = std::min(size, window.bytes.size() - from);
    // A chunk that takes the whole window (a value read in one go) is handed
    // over rather than copied.
    if (from == 0 && count == window.bytes.size()) {
        std::vector<std::uint8_t> whole = std::move(window.bytes);
        window = BlobWindow{};
        return whole;
    }
    return std::vector<std::uint8_t>(window.bytes.begin() + static_cast<long>(from),
                                     window.bytes.begin() + static_cast<long>(from + count));
}

// ---- writing -----------------------------------------------------------------------

void Recordset::SetValueOf(int column, const Variant& value)
{
    CheckUpdatable();
    if (editMode_ == EditMode::None) {
        CheckCurrent();
        if (deleted_.count(CurrentKey()) != 0 || CurrentRow().missing)
            throw DatabaseError(dberr::kDeletedRow, "Record is deleted.");
        editMode_ = EditMode::Edit;
    }
    const Column& c = columns_[static_cast<std::size_t>(column)];
    if (c.type == SchemaType::LongBinary && !value.IsNull() && !value.IsEmpty()) throw Mismatch();
    pending_[column] = ConvertForColumn(value, c.type, c.size);
    pendingBlobs_.erase(column);
}

void Recordset::AppendChunkTo(int column, const std::vector<std::uint8_t>& bytes)
{
    CheckUpdatable();
    if (columns_[static_cast<std::size_t>(column)].type != SchemaType::LongBinary) throw Mismatch();
    if (editMode_ == EditMode::None) {
        CheckCurrent();
        editMode_ = EditMode::Edit;
    }
    std::vector<std::uint8_t>& buffer = pendingBlobs_[column];
    buffer.insert(buffer.end(), bytes.begin(), bytes.end());
    pending_.erase(column);
}

void Recordset::AddNew()
{
    CheckUpdatable();
    if (EditPending()) Update();
    editMode_ = EditMode::AddNew;
    pending_.clear();
    pendingBlobs_.clear();
}

void Recordset::CancelUpdate()
{
    editMode_ = EditMode::None;
    pending_.clear();
    pendingBlobs_.clear();
}

void Recordset::Update()
{
    CheckOpen();
    if (editMode_ == EditMode::AddNew)
        WriteNewRow();
    else if (editMode_ == EditMode::Edit)
        WriteChangedRow();
    CancelUpdate();
}

void Recordset::WriteNewRow()
{
    std::vector<int> set;
    for (const auto& entry : pending_) set.push_back(entry.first);
    for (const auto& entry : pendingBlobs_) set.push_back(entry.first);
    std::sort(set.begin(), set.end());
    std::string names, values;
    for (int column : set) {
        names += (names.empty() ? "" : ",") +
                 QuoteName(columns_[static_cast<std::size_t>(column)].tableName);
        values += values.empty() ? "?" : ",?";
    }
    const std::string sql = set.empty() ? "INSERT INTO " + QuoteName(table_) + " DEFAULT VALUES"
                                        : "INSERT INTO " + QuoteName(table_) + " (" + names +
                                              ") VALUES (" + values + ")";
    // The keys are complete before the insert, so that the new row is not
    // read among them and then added a second time.
    EnsureAllKeys();
    std::int64_t rowid = 0;
    try {
        database().Write([&] {
            DriverStatement& s = database().driver().Prepare(sql);
            int parameter = 1;
            for (int column : set) {
                const auto blob = pendingBlobs_.find(column);
                if (blob != pendingBlobs_.end())
                    s.BindBlob(parameter++, blob->second);
                else
                    Bind(s, parameter++, pending_.at(column));
            }
            s.Step();
            s.Reset();
            rowid = database().driver().LastInsertRowid();
        });
    } catch (const DatabaseError& error) {
        ThrowExplained(error, false, pending_);
    }
    keys_.push_back(rowid);
    keyIndexOf_.clear();
    if (filtered_) view_.push_back(static_cast<std::uint32_t>(keys_.size() - 1));
    current_ = static_cast<long>(ViewSize() - 1);
    cache_.erase(keys_.size() - 1);
    ResetChunkReads();
}

void Recordset::WriteChangedRow()
{
    const std::size_t keyIndex = KeyIndexAt(static_cast<std::size_t>(current_));
    const std::int64_t rowid = KeyAt(keyIndex);
    const Row original = RowAt(keyIndex);
    std::string assignments, checks;
    std::vector<std::pair<int, bool>> order;  // column, is blob
    for (const auto& entry : pending_) order.emplace_back(entry.first, false);
    for (const auto& entry : pendingBlobs_) order.emplace_back(entry.first, true);
    if (order.empty()) return;
    for (const auto& [column, blob] : order) {
        const std::string name = QuoteName(columns_[static_cast<std::size_t>(column)].tableName);
        assignments += (assignments.empty() ? "" : ",") + name + "=?";
        // Optimistic locking: the row must still hold what this cursor read.
        if (!blob) checks += " AND " + name + " IS NOT DISTINCT FROM ?";
    }
    const std::string sql =
        "UPDATE " + QuoteName(table_) + " SET " + assignments + " WHERE rowid=?" + checks;
    try {
        database().Write([&] {
            DriverStatement& s = database().driver().Prepare(sql);
            int parameter = 1;
            for (const auto& [column, blob] : order) {
                if (blob)
                    s.BindBlob(parameter++, pendingBlobs_.at(column));
                else
                    Bind(s, parameter++, pending_.at(column));
            }
            s.BindInteger(parameter++, rowid);
            for (const auto& [column, blob] : order)
                if (!blob) Bind(s, parameter++, original.values[static_cast<std::size_t>(column)]);
            s.Step();
            s.Reset();
            if (database().driver().Changes() == 0) throw RowChangedSinceRead();
        });
    } catch (const DatabaseError& error) {
        cache_.erase(keyIndex);
        ThrowExplained(error, false, pending_);
    }
    cache_.erase(keyIndex);
    ResetChunkReads();
}

void Recordset::Delete()
{
    CheckUpdatable();
    CancelUpdate();
    CheckCurrent();
    const std::size_t keyIndex = KeyIndexAt(static_cast<std::size_t>(current_));
    const std::int64_t rowid = KeyAt(keyIndex);
    if (deleted_.count(rowid) != 0) throw DatabaseError(dberr::kDeletedRow, "Record is deleted.");
    try {
        database().Write([&] {
            DriverStatement& s =
                database().driver().Prepare("DELETE FROM " + QuoteName(table_) + " WHERE rowid=?");
            s.BindInteger(1, rowid);
            s.Step();
            s.Reset();
            if (database().driver().Changes() == 0)
                throw DatabaseError(dberr::kRowChanged,
                                    "The row could not be located for deleting: another user has "
                                    "deleted it already.");
        });
    } catch (const DatabaseError& error) {
        ThrowExplained(error, true, {{-1, Variant::I4(static_cast<std::int32_t>(keyIndex))}});
    }
    deleted_.insert(rowid);
    cache_.erase(keyIndex);
}

// A relationship failure named: which relationship refused the change.
void Recordset::ThrowExplained(const DatabaseError& error, bool deleting,
                               const std::map<int, Variant>& values)
{
    if (error.description() != kForeignKeyText) throw error;
    SharedDatabase& db = database();
    for (const ForeignKeyInfo& key : db.schema().ForeignKeys()) {
        if (deleting && SameName(key.relatedTable, table_)) {
            const std::int64_t rowid = keys_[static_cast<std::size_t>(values.at(-1).i4())];
            DriverStatement& s = db.driver().Prepare(
                "SELECT 1 FROM " + QuoteName(key.table) + " WHERE " + QuoteName(key.column) +
                " = (SELECT " + QuoteName(key.relatedColumn) + " FROM " + QuoteName(table_) +
                " WHERE rowid = ?) LIMIT 1");
            s.BindInteger(1, rowid);
            const bool related = s.Step();
            s.Reset();
            if (related)
                throw DatabaseError(dberr::kIntegrity,
                                    "The record cannot be deleted or changed because table '" +
                                        key.table + "' includes related records (relationship '" +
                                        key.name + "').");
        }
        if (!deleting && SameName(key.table, table_)) {
            for (const auto& [column, value] : values) {
                if (!SameName(columns_[static_cast<std::size_t>(column)].tableName, key.column) ||
                    value.IsNull())
                    continue;
                DriverStatement& s =
                    db.driver().Prepare("SELECT 1 FROM " + QuoteName(key.relatedTable) + " WHERE " +
                                        QuoteName(key.relatedColumn) + " = ? LIMIT 1");
                Bind(s, 1, value);
                const bool exists = s.Step();
                s.Reset();
                if (!exists)
                    throw DatabaseError(dberr::kIntegrity,
                                        "You cannot add or change a record because a related "
                                        "record is required in table '" +
                                            key.relatedTable + "' (relationship '" + key.name +
                                            "').");
            }
        }
    }
    throw error;
}

// ---- filters, finds, requery -----------------------------------------------------

std::vector<std::int64_t> Recordset::MatchingRowids(const std::string& criterion)
{
    if (!keyed_)
        throw DatabaseError(dberr::kNotUpdatable,
                            "Filters and finds work on cursors over one table only.");
    std::vector<std::int64_t> rowids;
    DriverStatement& s = database().driver().Prepare("SELECT rowid FROM " + QuoteName(table_) +
                                                     " WHERE " + TranslateSql(criterion));
    {
        StatementUse use(s);
        while (s.Step()) rowids.push_back(s.ColumnInteger(0));
    }
    return rowids;
}

void Recordset::PurgeDeletedKeys()
{
    if (deleted_.empty()) return;
    keyIndexOf_.clear();
    keys_.erase(std::remove_if(keys_.begin(), keys_.end(),
                               [this](std::int64_t k) { return deleted_.count(k) != 0; }),
                keys_.end());
    deleted_.clear();
    cache_.clear();
    lastFetchEnd_ = 0;
}

void Recordset::SetFilter(const std::string& criterion)
{
    CheckOpen();
    CancelUpdate();
    EnsureAllKeys();
    // A criterion the database refuses leaves the cursor as it was.
    std::unordered_set<std::int64_t> wanted;
    if (!criterion.empty()) {
        const std::vector<std::int64_t> matching = MatchingRowids(criterion);
        wanted.insert(matching.begin(), matching.end());
    }
    // Rows deleted through this cursor leave it when the view changes.
    PurgeDeletedKeys();
    view_.clear();
    for (std::size_t i = 0; i < keys_.size() && !criterion.empty(); ++i)
        if (wanted.count(keys_[i]) != 0) view_.push_back(static_cast<std::uint32_t>(i));
    filtered_ = !criterion.empty();
    filter_ = criterion;
    current_ = 0;
    ResetChunkReads();
}

bool Recordset::Find(const std::string& criterion)
{
    CheckOpen();
    if (EditPending()) Update();
    EnsureAllKeys();
    const std::vector<std::int64_t> matching = MatchingRowids(criterion);
    if (keyIndexOf_.empty())
        for (std::size_t i = 0; i < keys_.size(); ++i) keyIndexOf_.emplace(keys_[i], i);
    // The first matching row at or after the current one, in view order.
    const std::size_t start = static_cast<std::size_t>(std::max<long>(current_, 0));
    std::size_t best = ViewSize();
    for (std::int64_t rowid : matching) {
        const auto found = keyIndexOf_.find(rowid);
        if (found == keyIndexOf_.end() || deleted_.count(rowid) != 0) continue;
        std::size_t viewIndex = found->second;
        if (filtered_) {
            const auto at = std::lower_bound(view_.begin(), view_.end(), found->second);
            if (at == view_.end() || *at != found->second) continue;
            viewIndex = static_cast<std::size_t>(at - view_.begin());
        }
        if (viewIndex >= start && viewIndex < best) best = viewIndex;
    }
    current_ = static_cast<long>(best);
    ResetChunkReads();
    return best < ViewSize();
}

void Recordset::Requery()
{
    CheckOpen();
    CancelUpdate();
    filtered_ = false;
    view_.clear();
    filter_.clear();
    if (keyed_)
        LoadKeyedRows();
    else
        LoadRows(TranslateSql(source_));
    current_ = 0;
    ResetChunkReads();
}

}  // namespace lindor::db
