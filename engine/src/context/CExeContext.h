// The context object: the open database, the logged-in user, the active
// project and version, and the rights that apply. Its members are defined in
// several files by subject: CExeContext.cpp (database, login, active project,
// rights, name lists), ExeContextHandOuts.cpp (project, version and user
// lists, password), ExeContextBugSets.cpp (bug sets), ExeContextAdmin.cpp
// (administration object, classification assignments), Synchronize.cpp.
#pragma once

#include <lindor/Interfaces.h>

#include "core/ClassRegistry.h"
#include "core/ComObject.h"
#include "core/CurrentRights.h"
#include "core/ErrorReport.h"
#include "core/EventSinks.h"
#include "core/Guarded.h"
#include "db/Connection.h"

namespace lindor {

class CExeContext final : public ComObject<IExeContext>, public CurrentRights {
public:
    CExeContext();

    HRESULT get_CurUser(IUser** out) override;
    HRESULT get_CurUserProjectSet(IProjectSet** out) override;
    HRESULT get_BugStatus(IBugStatus** out) override;
    HRESULT get_ProjectSet(IProjectSet** out) override;
    HRESULT get_ActiveProject(IProject** out) override;
    HRESULT Login(const std::string& login, const std::string& psw) override;
    HRESULT OpenAccessDB(const std::string& fileName) override;
    HRESULT get_ActiveProjectID(std::int32_t* out) override;
    HRESULT get_ActiveVersion(IVersion** out) override;
    HRESULT get_ActiveVersionID(std::int32_t* out) override;
    HRESULT get_CurUserID(std::int32_t* out) override;
    HRESULT get_Admin(IAdmin** out) override;
    HRESULT SetActiveProject(std::int32_t projectID, std::int32_t versionID) override;
    HRESULT GetUserClassification(std::int32_t userID, std::int32_t projectID,
                                  IClassificationSet** out) override;
    HRESULT AssignUserClassification(std::int32_t userID, const std::int32_t* classIDs,
                                     std::int32_t classCount, std::int32_t projectID) override;
    HRESULT get_CurRight(IUserRight** out) override;
    HRESULT OpenBugSet(eBugType type, IBugFilterSet* filterSet, IBugSet** out) override;
    HRESULT get_BugSeverity(IBugSeverity** out) override;
    HRESULT get_BugReproductive(IBugReproductive** out) override;
    HRESULT get_BugPriority(IBugPriority** out) override;
    HRESULT get_AllBugStatus(IBugStatus** out) override;
    HRESULT get_AllUser(IUserSet** out) override;
    HRESULT Close() override;
    HRESULT Synchronize() override;
    HRESULT ChangePsw(const std::string& oldPsw, const std::string& newPsw) override;
    HRESULT get_CurProjectRight(IRight** out) override;
    HRESULT OpenSQLDB(const std::string& server, const std::string& database) override;
    HRESULT Advise(IExeContextEvents* sink, std::uint32_t* cookie) override;
    HRESULT Unadvise(std::uint32_t cookie) override;

    // For the other engine classes.
    db::Connection& connection() { return connection_; }
    // True when either number is 0 or the version belongs to the project.
    bool CheckVersionInProject(std::int32_t versionID, std::int32_t projectID);
    // The rights that apply in the active project by the role read at login
    // (the administrator's full rights, the role's rights, or null).
    ComPtr<IRight> CurrentProjectRight();

    // The checks before a write, by the rights as they are stored now.
    ComPtr<IRight> StoredProjectRight(std::int32_t projectID) override;
    ComPtr<IRight> StoredActiveProjectRight() override;
    bool StoredMayAddProjects() override;
    bool IsAdministrator() const override { return administrator_; }
    std::int32_t LoggedInUserID() const override { return curUserID_; }

    static const Reporter& Report();
    // Runs a member's body through the engine's exception barrier, reported
    // as the context reports.
    template <class Body>
    static HRESULT Guarded(const char* callerText, const char* logSource, Body body)
    {
        return lindor::Guarded(Report(), Failure{callerText, logSource}, body);
    }

private:
    ~CExeContext() override;

    db::Connection connection_;
    std::int32_t curUserID_ = 0;
    std::int32_t activeProjectID_ = 0;
    std::int32_t activeVersionID_ = 0;
    std::int32_t curProjectRightID_ = 0;
    bool administrator_ = false;
    ComPtr<IUserRight> curRight_;
    EventSinks<IExeContextEvents> sinks_;
};

}  // namespace lindor
