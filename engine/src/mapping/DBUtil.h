// The one place where a database row becomes an engine object and an object a
// row. Each operation works on the current row of a cursor its caller opened
// and positioned; none moves the cursor, adds or deletes rows or commits
// (except GetProjectData, which reads the project's versions with a cursor
// that `openVersions` opens on the row's connection). Each returns S_OK, or E_FAIL after a code-2
// log entry under "CDBUtil::<operation>"; fields done before a failing column keep their values.
#pragma once

#include <lindor/Interfaces.h>

#include "db/Recordset.h"

namespace lindor::CDBUtil {

HRESULT GetRightData(db::Recordset& row, IRight* right);
HRESULT SaveRightData(db::Recordset& row, IRight* right);
HRESULT GetUserData(db::Recordset& row, IUser* user);
HRESULT SaveUserData(db::Recordset& row, IUser* user);
HRESULT GetClassData(db::Recordset& row, IClassification* classification);
HRESULT SaveClassData(db::Recordset& row, IClassification* classification);
HRESULT GetUserSysInfoData(db::Recordset& row, IUserSysInfo* info);
// `userID` is the owning user, written only on a new row.
HRESULT SaveUserSysInfoData(db::Recordset& row, IUserSysInfo* info, std::int32_t userID);
// Opens a cursor on the versions of project `projectID`.
using OpenVersions = void (*)(db::Recordset& versions, db::Connection& connection,
                              std::int32_t projectID);
HRESULT GetProjectData(db::Recordset& row, IProject* project, OpenVersions openVersions);
HRESULT GetVersionData(db::Recordset& row, IVersion* version);
HRESULT GetBugData(db::Recordset& row, IBug* bug);
HRESULT SaveBugData(db::Recordset& row, IBug* bug);

}  // namespace lindor::CDBUtil
