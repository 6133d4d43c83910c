// The failure raised by the database access layer.
#pragma once

#include <string>

#include <lindor/Types.h>

#include "core/EngineError.h"

namespace lindor {

// Result codes the access layer reports; the values are those a Jet provider
// would report for the same situation, so the system message follows from them.
namespace dberr {
constexpr HRESULT kGeneric = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT kSyntax = static_cast<HRESULT>(0x80040E14u);        // bad SQL text
constexpr HRESULT kNoSuchTable = static_cast<HRESULT>(0x80040E37u);   // table not found
constexpr HRESULT kNoSuchColumn = static_cast<HRESULT>(0x800A0CC1u);  // item not in collection
constexpr HRESULT kIntegrity = static_cast<HRESULT>(0x80040E2Fu);     // key or NOT NULL violation
constexpr HRESULT kTypeMismatch = static_cast<HRESULT>(0x80040E07u);  // value of the wrong type
constexpr HRESULT kTooLong = static_cast<HRESULT>(0x80040E57u);       // text longer than the column
constexpr HRESULT kBofEof = static_cast<HRESULT>(0x800A0BCDu);        // no current record
constexpr HRESULT kClosed = static_cast<HRESULT>(0x800A0E78u);        // object is closed
constexpr HRESULT kNotUpdatable = static_cast<HRESULT>(0x800A0CB3u);  // operation not allowed
constexpr HRESULT kDeletedRow = static_cast<HRESULT>(0x80040E23u);    // row deleted by another user
constexpr HRESULT kRowChanged = static_cast<HRESULT>(0x80040E38u);    // optimistic check failed
constexpr HRESULT kBusy = static_cast<HRESULT>(0x80004005u);  // file locked past the timeout
constexpr HRESULT kCannotOpen =
    static_cast<HRESULT>(0x80004005u);                           // file missing or not a database
constexpr HRESULT kBadType = static_cast<HRESULT>(0x80040E3Du);  // column type not supported
constexpr HRESULT kDuplicateColumn = static_cast<HRESULT>(0x80040E3Eu);
}  // namespace dberr

// The operating system's message for a result code; codes without one get
// "IDispatch error #%d" (automation range) or "Unknown error 0x%0lX".
std::string SystemMessageFor(HRESULT code);

class DatabaseError;

// The failure as the error log keeps it: its description, "\t(Source=", its
// source, ",\tMessage=", its system message, ")".
std::string DescribeDatabaseError(const DatabaseError& error);

class DatabaseError : public EngineError {
public:
    DatabaseError(HRESULT code, std::string description, std::string source = "Lindor database")
        : EngineError(description),
          code_(code),
          description_(std::move(description)),
          source_(std::move(source)),
          systemMessage_(SystemMessageFor(code))
    {
    }

    HRESULT code() const { return code_; }
    const std::string& description() const { return description_; }
    const std::string& source() const { return source_; }
    const std::string& systemMessage() const { return systemMessage_; }
    std::string LogText() const override { return DescribeDatabaseError(*this); }
    std::string BracedText() const override
    {
        return description_ + "{" + source_ + "}" + systemMessage_;
    }

private:
    HRESULT code_;
    std::string description_;
    std::string source_;
    std::string systemMessage_;
};

// The optimistic refusal of a write to a row that another user has changed
// (or deleted) since it was read.
inline DatabaseError RowChangedSinceRead()
{
    return DatabaseError(dberr::kRowChanged,
                         "The row could not be located for updating: another user has changed or "
                         "deleted it since it was read.");
}

}  // namespace lindor
