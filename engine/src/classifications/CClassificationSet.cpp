#include "classifications/CClassificationSet.h"

#include <exception>

#include "classifications/CClassification.h"
#include "core/ClassRegistry.h"
#include "core/CurrentRights.h"
#include "core/ErrorReport.h"
#include "core/Guarded.h"
#include "db/DatabaseError.h"
#include "db/NextID.h"
#include "db/Recordset.h"
#include "mapping/DBUtil.h"
#include "mapping/ValueConversion.h"
#include "stores/ClassificationStore.h"
#include "stores/ProjectStore.h"

namespace lindor {
namespace {

const ClassRegistration registration("ClassificationSet", &CreateInstance<CClassificationSet>);

const Reporter& Report()
{
    static const Reporter reporter(ExternalClassName("ClassificationSet"));
    return reporter;
}

constexpr const char* kAddSource = "CClassificationSet::Add";
constexpr const char* kAddFailed = "Add Classification Failed";
constexpr const char* kRemoveFailed = "Remove Classification failed";
constexpr const char* kUpdateSource = "CClassificationSet::Update";
constexpr const char* kUpdateFailed = "Update Classification failed";
// The bounds failures of RemoveByIndex and DeleteByIndex share this label.
constexpr const char* kByIndexSource = "IClassificationSet::RemoveByIndex";

HRESULT NoPlaceForResult()
{
    return Report().FailQuietly("Invalid Pointer");
}

std::int32_t IDOf(IClassification* classification)
{
    std::int32_t id = 0;
    classification->get_ID(&id);
    return id;
}

std::string NameOf(IClassification* classification)
{
    std::string name;
    classification->get_Name(&name);
    return name;
}

void SetProjectOf(IClassification* classification, std::int32_t projectID)
{
    if (CClassification* own = ImplOf<CClassification>(classification))
        own->SetProjectID(projectID);
}

bool ProjectExists(std::int32_t projectID)
{
    db::Connection connection(db::ProcessConnectionString());
    return stores::ProjectExists(connection, projectID);
}

// The refusal of a write to a stored classification of another project (an
// item whose ID was changed, or one appended from elsewhere); false after
// logging it. A classification stored nowhere is no other project's.
bool BelongsToProject(db::Connection& connection, std::int32_t classID, std::int32_t projectID,
                      const char* source)
{
    const std::int32_t stored = stores::ProjectOfClassification(connection, classID);
    if (stored == 0 || stored == projectID) return true;
    LogMessage(kLogGeneral, source,
               Format("Classification(ID=%ld) is not in Project(ID=%ld)",
                      static_cast<long>(classID), static_cast<long>(projectID)));
    return false;
}

// Detaches the classification's bugs and deletes it, all or nothing: the
// delete is refused while a user still has the classification assigned, and
// then the bugs must keep it too. Only a classification of the set's project
// is touched.
bool RealRemoveClass(IClassification* classification, std::int32_t projectID)
{
    const char* const source = "CClassificationSet::RealRemoveClass";
    const std::int32_t id = IDOf(classification);
    return RunLoggedStep(source, [&] {
        db::Connection connection(db::ProcessConnectionString());
        db::Transaction transaction(connection);
        if (!BelongsToProject(connection, id, projectID, source)) return false;
        stores::DeleteClassification(connection, id);
        transaction.Commit();
        return true;
    });
}

}  // namespace

bool CClassificationSet::GetRight() const
{
    if (!context_) {
        LogMessage(kLogGeneral, "CClassificationSet::GetRight", "ExeContext is NULL");
        return false;
    }
    CurrentRights* rights = CurrentRightsOf(context_.get());
    return rights != nullptr && HasFlag(rights->StoredProjectRight(projectID_).get(),
                                        &IRight::get_Add_Edit_Del_BugClass);
}

std::int32_t CClassificationSet::IndexOfName(const std::string& name) const
{
    return items_.IndexWhere(
        [&](const ComPtr<IClassification>& item) { return NameOf(item.get()) == name; });
}

std::int32_t CClassificationSet::IndexOfID(std::int32_t id) const
{
    return items_.IndexWhere(
        [id](const ComPtr<IClassification>& item) { return IDOf(item.get()) == id; });
}

bool CClassificationSet::StoreNew(IClassification* classification, std::int32_t id)
{
    const std::int32_t previousID = IDOf(classification);
    try {
        db::Connection connection(db::ProcessConnectionString());
        db::Recordset rows;
        stores::OpenClassificationsForAdding(rows, connection);
        rows.AddNew();
        classification->put_ID(id);
        mapping::WriteWholeNumber(rows.Fields("ProjectID"), projectID_);
        if (CDBUtil::SaveClassData(rows, classification) != S_OK) {
            rows.CancelUpdate();
            classification->put_ID(previousID);
            Report().FailQuietly(kAddFailed);
            return false;
        }
        rows.Update();
    } catch (...) {
        // The object must not claim an identifier that was never stored.
        classification->put_ID(previousID);
        throw;
    }
    SetProjectOf(classification, projectID_);
    return true;
}

HRESULT CClassificationSet::Add(IClassification* classification)
{
    // A set of no project can take nothing, whatever the user's rights.
    if (context_ && projectID_ == 0)
        return Report().Fail("ProjectID=0, cannot Add", kLogGeneral, kAddSource);
    if (!GetRight()) return Report().FailRight("add classification");
    if (classification == nullptr)
        return Report().Fail(kAddFailed, kLogGeneral, kAddSource, "Invalid Pointer");
    // A database failure reaches the caller in its own words.
    const Failure adding{kAddFailed, kAddSource, kLogGeneral, kLogGeneral, LogForm::Whole, true};
    return Guarded(Report(), adding, [&] {
        if (!ProjectExists(projectID_))
            return Report().Fail(Format("Project(ID=%d) is not in database", projectID_),
                                 kLogGeneral, kAddSource);
        const std::int32_t id = GetNextID("NextClassID");
        if (id == 0) return Report().Fail(kAddFailed, kLogNextID, kAddSource);
        if (!StoreNew(classification, id)) return E_FAIL;
        items_.Append(classification);
        return S_OK;
    });
}

HRESULT CClassificationSet::Remove(const std::string& name)
{
    if (!GetRight()) return Report().FailRight("remove classification");
    const std::int32_t index = IndexOfName(name);
    if (index < 0)
        return Report().Fail(kRemoveFailed, kLogGeneral, "CClassificationSet::Remove",
                             "Remove Classification(Name=" + name + ") failed");
    // RealRemoveClass has logged why it failed.
    if (!RealRemoveClass(items_.At(index).get(), projectID_))
        return Report().FailQuietly(kRemoveFailed);
    items_.RemoveAt(index);
    return S_OK;
}

HRESULT CClassificationSet::get_Item(std::int32_t index, IClassification** out)
{
    if (out == nullptr) return NoPlaceForResult();
    *out = nullptr;
    if (!items_.Has(index)) return Report().FailBounds("IClassificationSet::Item");
    const ComPtr<IClassification>& item = items_.At(index);
    SetProjectOf(item.get(), projectID_);
    current_ = item;
    HandOut(item, out);
    return S_OK;
}

HRESULT CClassificationSet::get_Count(std::int32_t* out)
{
    if (out == nullptr) return NoPlaceForResult();
    *out = items_.Count();
    return S_OK;
}

HRESULT CClassificationSet::RemoveByIndex(std::int32_t index)
{
    if (!GetRight()) return Report().FailRight("remove classification");
    if (!items_.Has(index)) return Report().FailBounds(kByIndexSource, "Excceed boundary");
    // RealRemoveClass has logged why it failed; the caller still needs a text.
    if (!RealRemoveClass(items_.At(index).get(), projectID_))
        return Report().FailQuietly(kRemoveFailed);
    items_.RemoveAt(index);
    return S_OK;
}

HRESULT CClassificationSet::RemoveByID(std::int32_t id)
{
    if (!GetRight()) return Report().FailRight("remove classification");
    const std::int32_t index = IndexOfID(id);
    if (index < 0)
        return Report().Fail("Remove Classification failed!", kLogGeneral, kByIndexSource,
                             Format("Remove classification(ID=%ld) failed", static_cast<long>(id)));
    if (!RealRemoveClass(items_.At(index).get(), projectID_))
        return Report().FailQuietly("Remove Classification failed!");
    items_.RemoveAt(index);
    return S_OK;
}

HRESULT CClassificationSet::Update()
{
    if (!GetRight()) return Report().FailRight("update classification");
    if (!current_)
        return Report().Fail("Update Classification failed!", kLogGeneral, kUpdateSource,
                             "Current classification is NULL, cannot update");
    return Guarded(Report(), Failure{kUpdateFailed, kUpdateSource}, [&] {
        const std::int32_t id = IDOf(current_.get());
        db::Connection connection(db::ProcessConnectionString());
        // The check and the write form one write transaction.
        db::Transaction transaction(connection);
        if (!BelongsToProject(connection, id, projectID_, kUpdateSource))
            return Report().FailQuietly(kUpdateFailed);
        db::Recordset row;
        stores::OpenClassificationForWriting(row, connection, id);
        // A classification no longer stored has nothing to update.
        if (row.IsEOF()) return S_OK;
        if (CDBUtil::SaveClassData(row, current_.get()) != S_OK) {
            row.CancelUpdate();
            return Report().FailQuietly(kUpdateFailed);
        }
        row.Update();
        row.Close();
        transaction.Commit();
        return S_OK;
    });
}

HRESULT CClassificationSet::Append(IClassification* classification)
{
    if (classification == nullptr)
        return Report().Fail("Append Classification failed!", kLogGeneral,
                             "CClassificationSet::Append", "Invalid Pointer");
    items_.Append(classification);
    return S_OK;
}

HRESULT CClassificationSet::DeleteByID(std::int32_t id)
{
    const std::int32_t index = IndexOfID(id);
    if (index < 0)
        return Report().Fail(
            Format("Classification(ID=%ld) is not in this set", static_cast<long>(id)), kLogGeneral,
            "CClassificationSet::DeleteByID");
    items_.RemoveAt(index);
    return S_OK;
}

HRESULT CClassificationSet::DeleteByIndex(std::int32_t index)
{
    if (!items_.Has(index)) return Report().FailBounds(kByIndexSource);
    items_.RemoveAt(index);
    return S_OK;
}

HRESULT CClassificationSet::get_ProjectID(std::int32_t* out)
{
    if (out == nullptr) return NoPlaceForResult();
    *out = projectID_;
    return S_OK;
}

HRESULT CClassificationSet::put_ExeContext(IExeContext* context)
{
    if (context == nullptr)
        return Report().Fail("Set ExeContext failed!", kLogGeneral,
                             "CClassificationSet::put_ExeContext", "Invalid Pointer");
    context_ = ComPtr<IExeContext>(context);
    return S_OK;
}

}  // namespace lindor
