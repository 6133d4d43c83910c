// One bug or feature request in memory: a snapshot of a tBugReport row, or a
// new bug a caller fills. Changing a property never writes to the database;
// the bug set stores it. Setting a user, version or classification ID looks
// the matching name up at once, on a connection of its own.
#pragma once

#include <memory>

#include <lindor/Interfaces.h>

#include "core/ComObject.h"
#include "mapping/BugRecord.h"

namespace lindor {

class CBug final : public ComObject<IBug> {
public:
    HRESULT get_ID(std::int32_t* out) override;
    HRESULT get_Description(std::string* out) override;
    HRESULT put_Description(const std::string& value) override;
    HRESULT get_Report(std::string* out) override;
    HRESULT put_Report(const std::string& value) override;
    HRESULT get_RecreateStep(std::string* out) override;
    HRESULT put_RecreateStep(const std::string& value) override;
    HRESULT get_Workaround(std::string* out) override;
    HRESULT put_Workaround(const std::string& value) override;
    HRESULT get_Resolution(std::string* out) override;
    HRESULT put_Resolution(const std::string& value) override;
    HRESULT get_Status(std::string* out) override;
    HRESULT put_Status(const std::string& value) override;
    HRESULT get_Priority(std::string* out) override;
    HRESULT put_Priority(const std::string& value) override;
    HRESULT get_ClassificationID(std::int32_t* out) override;
    HRESULT put_ClassificationID(std::int32_t value) override;
    HRESULT get_Severity(std::string* out) override;
    HRESULT put_Severity(const std::string& value) override;
    HRESULT get_Reproductive(std::string* out) override;
    HRESULT put_Reproductive(const std::string& value) override;
    // A new attachment set read from the database now, holding this bug's
    // number and context.
    HRESULT get_AttachedFiles(IFileSet** out) override;
    HRESULT get_ReportedByID(std::int32_t* out) override;
    HRESULT put_ReportedByID(std::int32_t value) override;
    HRESULT get_ReportedDate(Date* out) override;
    HRESULT put_ReportedDate(Date value) override;
    HRESULT get_ReportedInVersionID(std::int32_t* out) override;
    HRESULT put_ReportedInVersionID(std::int32_t value) override;
    HRESULT get_FixedByID(std::int32_t* out) override;
    HRESULT put_FixedByID(std::int32_t value) override;
    HRESULT get_FixedDate(Date* out) override;
    HRESULT put_FixedDate(Date value) override;
    HRESULT get_FixedInVersionID(std::int32_t* out) override;
    HRESULT put_FixedInVersionID(std::int32_t value) override;
    HRESULT get_VerifiedByID(std::int32_t* out) override;
    HRESULT put_VerifiedByID(std::int32_t value) override;
    HRESULT get_VerifiedDate(Date* out) override;
    HRESULT put_VerifiedDate(Date value) override;
    HRESULT get_LastModifiedByID(std::int32_t* out) override;
    HRESULT put_LastModifiedByID(std::int32_t value) override;
    HRESULT get_LastModifiedDate(Date* out) override;
    HRESULT put_LastModifiedDate(Date value) override;
    // The bug's project is known by number and name only: no object.
    HRESULT get_Project(IProject** out) override;
    HRESULT get_EstimatedTime(std::int32_t* out) override;
    HRESULT put_EstimatedTime(std::int32_t value) override;
    HRESULT get_ActualTime(Date* out) override;
    HRESULT put_ActualTime(Date value) override;
    HRESULT get_DateDue(Date* out) override;
    HRESULT put_DateDue(Date value) override;
    HRESULT get_FixedBy(std::string* out) override;
    HRESULT get_FixedInVersion(std::string* out) override;
    HRESULT get_LastModifiedBy(std::string* out) override;
    HRESULT get_ReportedBy(std::string* out) override;
    HRESULT get_ReportedInVersion(std::string* out) override;
    HRESULT get_VerifiedBy(std::string* out) override;
    HRESULT get_Classification(std::string* out) override;
    // Takes every stored field of `source`, the values it was read with and
    // its context, except BugType and ActualTime; no look-up is made.
    HRESULT Copy(IBug* source) override;
    HRESULT get_BugType(eBugType* out) override;
    HRESULT put_BugType(eBugType value) override;
    HRESULT get_ReportedInProjectID(std::int32_t* out) override;
    HRESULT put_ReportedInProjectID(std::int32_t value) override;
    HRESULT get_ReportedInProject(std::string* out) override;
    HRESULT put_ReportedInProject(const std::string& value) override;

    // For the bug set and the record mapping.
    BugRecord& record() { return record_; }
    const BugRecord& record() const { return record_; }
    // The stored values the bug was last read with (or written as), so that
    // an update can tell a row changed since; null for a bug never read.
    const BugRecord* readValues() const { return readValues_.get(); }
    void RememberReadValues(const BugRecord& stored)
    {
        readValues_ = std::make_unique<BugRecord>(stored);
    }
    void ForgetReadValues() { readValues_.reset(); }
    void AttachContext(IExeContext* context) { context_ = ComPtr<IExeContext>(context); }
    const ComPtr<IExeContext>& context() const { return context_; }

private:
    ~CBug() override = default;

    BugRecord record_;
    std::unique_ptr<BugRecord> readValues_;
    ComPtr<IExeContext> context_;
};

}  // namespace lindor
