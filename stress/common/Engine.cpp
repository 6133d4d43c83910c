#include "common/Engine.h"

#include <array>

#include "common/Names.h"
#include "core/ClassRegistry.h"
#include "core/ErrorInfo.h"
#include "db/Driver.h"

namespace stress {
namespace {

using lindor::IRight;
using FlagSetter = HRESULT (IRight::*)(std::int32_t);

// The setters of the 33 flags, in the order of kRightColumns.
constexpr std::array<FlagSetter, 33> kFlagSetters = {&IRight::put_Add,
                                                     &IRight::put_Delete,
                                                     &IRight::put_Read,
                                                     &IRight::put_EditType,
                                                     &IRight::put_EditClass,
                                                     &IRight::put_EditPriority,
                                                     &IRight::put_EditSeverity,
                                                     &IRight::put_EditReproductive,
                                                     &IRight::put_EditReportedInPrj,
                                                     &IRight::put_EditReportedInVersion,
                                                     &IRight::put_EditReportedDate,
                                                     &IRight::put_EditFixedDate,
                                                     &IRight::put_EditFixedInVersion,
                                                     &IRight::put_EditVerifiedDate,
                                                     &IRight::put_EditEstimatedTime,
                                                     &IRight::put_EditDateDue,
                                                     &IRight::put_EditDescription,
                                                     &IRight::put_EditRecreateStep,
                                                     &IRight::put_EditWorkAround,
                                                     &IRight::put_EditReport,
                                                     &IRight::put_EditResolution,
                                                     &IRight::put_EditAttachment,
                                                     &IRight::put_ReportGen,
                                                     &IRight::put_Print,
                                                     &IRight::put_Statistic,
                                                     &IRight::put_Add_Edit_Del_BugClass,
                                                     &IRight::put_Add_Edit_Del_BugStatus,
                                                     &IRight::put_Add_Edit_Del_BugSeverity,
                                                     &IRight::put_Add_Edit_Del_BugPriority,
                                                     &IRight::put_Add_Edit_Del_BugReproductive,
                                                     &IRight::put_AssignClassToUser,
                                                     &IRight::put_EditProject,
                                                     &IRight::put_DeleteProject};

ComPtr<IRight> MakeRight(const RightPlan& plan)
{
    ComPtr<IRight> right = Create<IRight>("Right");
    Require(right->put_ProjectID(plan.projectID), "Right.ProjectID");
    for (std::size_t i = 0; i < kFlagSetters.size(); ++i) {
        const bool on = i < plan.flags.size() && plan.flags[i] == '1';
        Require((right.get()->*kFlagSetters[i])(on ? 1 : 0),
                std::string("Right.") + kRightColumns[i]);
    }
    ComPtr<lindor::IBugStatus> statuses;
    Require(right->get_AvailableStatus(statuses.put()), "Right.AvailableStatus");
    for (const std::string& status : plan.statuses) Require(statuses->Add(status), "BugStatus.Add");
    return right;
}

}  // namespace

HRESULT CreateByName(const std::string& className, const char* iid, void** out)
{
    return lindor::ClassRegistry::Create(("Lindor." + className + ".1").c_str(), iid, out);
}

std::string TakeErrorText()
{
    std::string description, source;
    if (!lindor::GetThreadErrorInfo(&description, &source)) return std::string();
    ClearErrorText();
    return description;
}

void ClearErrorText()
{
    lindor::SetErrorInfo("", "");
}

std::uint64_t BusyWaits()
{
    return lindor::db::BusyWaitCount();
}

void Require(HRESULT hr, const std::string& what)
{
    if (lindor::Succeeded(hr)) return;
    const std::string text = TakeErrorText();
    throw EngineError(what + " failed" + (text.empty() ? std::string() : ": " + text));
}

ComPtr<lindor::IUserRight> MakeRole(const RolePlan& plan)
{
    ComPtr<lindor::IUserRight> role = Create<lindor::IUserRight>("UserRight");
    Require(role->put_AddProject(plan.addProject ? 1 : 0), "UserRight.AddProject");
    ComPtr<lindor::IRightSet> rights;
    Require(role->get_RightSet(rights.put()), "UserRight.RightSet");
    for (const RightPlan& right : plan.rights)
        Require(rights->Append(MakeRight(right).get()), "RightSet.Append");
    return role;
}

ComPtr<lindor::IExeContext> OpenSession(const std::string& path, const std::string& login,
                                        const std::string& password, std::int32_t project)
{
    ComPtr<lindor::IExeContext> context = Create<lindor::IExeContext>("ExeContext");
    Require(context->OpenAccessDB(path), "ExeContext.OpenAccessDB");
    Require(context->Login(login, password), "ExeContext.Login(" + login + ")");
    if (project != 0) {
        Require(context->SetActiveProject(project, 0), "ExeContext.SetActiveProject");
        const std::int32_t active =
            Read(context.get(), &lindor::IExeContext::get_ActiveProjectID, "ActiveProjectID");
        if (active != project)
            throw EngineError(login + " cannot work in project " + std::to_string(project));
    }
    return context;
}

std::int32_t AddUser(lindor::IExeContext& context, const std::string& login,
                     const std::string& name, const std::string& password)
{
    ComPtr<lindor::IUserSet> users;
    Require(context.get_AllUser(users.put()), "ExeContext.AllUser");
    ComPtr<lindor::IUser> user = Create<lindor::IUser>("User");
    Require(user->put_LoginName(login), "User.LoginName");
    Require(user->put_UserName(name), "User.UserName");
    Require(user->put_Password(password), "User.Password");
    Require(users->Add(user.get()), "UserSet.Add(" + login + ")");
    return Read(user.get(), &lindor::IUser::get_ID, "User.ID");
}

void CreateDatabase(const std::string& path)
{
    ComPtr<lindor::IAdmin> admin = Create<lindor::IAdmin>("Admin");
    Require(admin->NewMDB(path), "Admin.NewMDB(" + path + ")");
}

}  // namespace stress
