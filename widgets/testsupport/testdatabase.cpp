#include "widgets/testsupport/testdatabase.h"

#include "widgets/engineerror.h"

namespace nimbra::test {

namespace {

template <class I>
lindor::ComPtr<I> Make(const char* className)
{
    lindor::ComPtr<I> object;
    lindor::CreateObject<I>(className, object.put());
    return object;
}

// Every put of IRight that a grant sets when `edit` is on.
constexpr RightPut kEditRights[] = {
    &lindor::IRight::put_EditType,
    &lindor::IRight::put_EditClass,
    &lindor::IRight::put_EditPriority,
    &lindor::IRight::put_EditSeverity,
    &lindor::IRight::put_EditReportedInVersion,
    &lindor::IRight::put_EditReportedDate,
    &lindor::IRight::put_EditFixedInVersion,
    &lindor::IRight::put_EditFixedDate,
    &lindor::IRight::put_EditVerifiedDate,
    &lindor::IRight::put_EditDescription,
    &lindor::IRight::put_EditRecreateStep,
    &lindor::IRight::put_EditWorkAround,
    &lindor::IRight::put_EditReport,
    &lindor::IRight::put_EditResolution,
    &lindor::IRight::put_EditAttachment,
    &lindor::IRight::put_EditReproductive,
    &lindor::IRight::put_EditDateDue,
    &lindor::IRight::put_EditEstimatedTime,
    &lindor::IRight::put_EditReportedInPrj,
    &lindor::IRight::put_Add_Edit_Del_BugClass,
};

lindor::ComPtr<lindor::IRight> RightFor(const ProjectGrant& grant)
{
    auto right = Make<lindor::IRight>("Lindor.Right.1");
    if (!right) return right;
    right->put_ProjectID(grant.projectId);
    right->put_Read(1);
    right->put_Add(grant.add ? 1 : 0);
    right->put_Delete(grant.remove ? 1 : 0);
    for (RightPut put : kEditRights) (right.get()->*put)(grant.edit ? 1 : 0);
    right->put_Add_Edit_Del_BugClass(grant.classes ? 1 : 0);
    right->put_AssignClassToUser(grant.classes ? 1 : 0);
    for (RightPut put : grant.withheld) (right.get()->*put)(0);
    lindor::ComPtr<lindor::IBugStatus> statuses;
    right->get_AvailableStatus(statuses.put());
    for (const QString& status : grant.statuses) statuses->Add(status.toStdString());
    return right;
}

}  // namespace

TestDatabase::TestDatabase(const QString& path) : path_(path)
{
    auto creator = Make<lindor::IAdmin>("Lindor.Admin.1");
    if (!creator || creator->NewMDB(path.toStdString()) != lindor::S_OK) {
        fail(QStringLiteral("NewMDB"));
        return;
    }
    if (!connect() || !describeAdministrator()) return;
    ProjectGrant second;
    second.projectId = 2;
    valid_ = grant(1, {ProjectGrant{}, second}) && connect();
}

bool TestDatabase::describeAdministrator()
{
    lindor::ComPtr<lindor::IUser> admin;
    if (context_->get_CurUser(admin.put()) != lindor::S_OK || !admin)
        return fail(QStringLiteral("CurUser"));
    return describeComputer(admin.get());
}

bool TestDatabase::fail(const QString& what)
{
    error_ = what + QStringLiteral(": ") + EngineError::text();
    return false;
}

// (Re)opens the administrator's context, so that it sees his current role.
bool TestDatabase::connect()
{
    bugs_.reset();
    context_ = Make<lindor::IExeContext>("Lindor.ExeContext.1");
    if (!context_) return fail(QStringLiteral("ExeContext"));
    if (context_->OpenAccessDB(path_.toStdString()) != lindor::S_OK)
        return fail(QStringLiteral("OpenAccessDB"));
    if (context_->Login("Admin", "") != lindor::S_OK) return fail(QStringLiteral("Login"));
    return true;
}

int TestDatabase::addUser(const QString& login, const QString& password, const QString& userName,
                          bool withSystemInfo)
{
    lindor::ComPtr<lindor::IUserSet> users;
    auto user = Make<lindor::IUser>("Lindor.User.1");
    if (context_->get_AllUser(users.put()) != lindor::S_OK || !user) {
        fail(QStringLiteral("AllUser"));
        return 0;
    }
    user->put_LoginName(login.toStdString());
    user->put_Password(password.toStdString());
    user->put_UserName(userName.toStdString());
    if (users->Add(user.get()) != lindor::S_OK) {
        fail(QStringLiteral("UserSet.Add"));
        return 0;
    }
    std::int32_t id = 0;
    user->get_ID(&id);
    if (withSystemInfo && !describeComputer(user.get())) return 0;
    return id;
}

bool TestDatabase::describeComputer(lindor::IUser* user)
{
    auto info = Make<lindor::IUserSysInfo>("Lindor.UserSysInfo.1");
    if (!info) return fail(QStringLiteral("UserSysInfo"));
    info->put_CPU("Test CPU");
    info->put_OS("Test OS");
    if (user->put_SysInfo(info.get()) != lindor::S_OK) return fail(QStringLiteral("put_SysInfo"));
    return true;
}

bool TestDatabase::grant(int userId, const QList<ProjectGrant>& grants)
{
    lindor::ComPtr<lindor::IAdmin> admin;
    auto role = Make<lindor::IUserRight>("Lindor.UserRight.1");
    if (context_->get_Admin(admin.put()) != lindor::S_OK || !admin || !role)
        return fail(QStringLiteral("Admin"));
    lindor::ComPtr<lindor::IRightSet> rights;
    role->get_RightSet(rights.put());
    for (const ProjectGrant& grant : grants) {
        auto right = RightFor(grant);
        if (!right || rights->Append(right.get()) != lindor::S_OK)
            return fail(QStringLiteral("RightSet.Append"));
    }
    if (admin->SetUserRight(userId, role.get()) != lindor::S_OK)
        return fail(QStringLiteral("SetUserRight"));
    return true;
}

lindor::ComPtr<lindor::IBugSet> TestDatabase::bugSetFor(int projectId, lindor::eBugType type)
{
    if (bugs_ && bugsProject_ == projectId && bugsType_ == type) return bugs_;
    bugs_.reset();
    if (context_->SetActiveProject(projectId, 0) != lindor::S_OK ||
        context_->OpenBugSet(type, nullptr, bugs_.put()) != lindor::S_OK) {
        fail(QStringLiteral("OpenBugSet"));
        return nullptr;
    }
    bugsProject_ = projectId;
    bugsType_ = type;
    return bugs_;
}

int TestDatabase::addBug(const NewBug& wanted)
{
    const lindor::ComPtr<lindor::IBugSet> bugs = bugSetFor(wanted.projectId, wanted.type);
    if (!bugs) return 0;
    auto bug = Make<lindor::IBug>("Lindor.Bug.1");
    bug->put_BugType(wanted.type);
    bug->put_Description(wanted.description.toStdString());
    bug->put_Status(wanted.status.toStdString());
    bug->put_Severity(wanted.severity.toStdString());
    bug->put_Priority(wanted.priority.toStdString());
    bug->put_Reproductive(wanted.reproductive.toStdString());
    bug->put_ReportedInProjectID(wanted.projectId);
    bug->put_ReportedInVersionID(wanted.versionId);
    bug->put_ReportedByID(wanted.reportedById);
    bug->put_LastModifiedByID(wanted.reportedById);
    bug->put_ReportedDate(wanted.reportedDate);
    bug->put_EstimatedTime(wanted.estimatedMinutes);
    bug->put_Report(wanted.report.toStdString());
    bug->put_FixedByID(wanted.fixedById);
    bug->put_FixedDate(wanted.fixedDate);
    bug->put_FixedInVersionID(wanted.fixedInVersionId);
    bug->put_VerifiedByID(wanted.verifiedById);
    bug->put_VerifiedDate(wanted.verifiedDate);
    if (wanted.classificationId != 0 &&
        bug->put_ClassificationID(wanted.classificationId) != lindor::S_OK) {
        fail(QStringLiteral("Bug.ClassificationID"));
        return 0;
    }
    lindor::ComPtr<lindor::IBug> stored;
    if (bugs->Add(bug.get(), stored.put()) != lindor::S_OK || !stored) {
        fail(QStringLiteral("BugSet.Add"));
        return 0;
    }
    std::int32_t id = 0;
    stored->get_ID(&id);
    return id;
}

int TestDatabase::addClassification(int projectId, const QString& name)
{
    lindor::ComPtr<lindor::IProjectSet> projects;
    if (context_->get_ProjectSet(projects.put()) != lindor::S_OK) {
        fail(QStringLiteral("ProjectSet"));
        return 0;
    }
    std::int32_t count = 0;
    projects->get_Count(&count);
    for (std::int32_t i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IProject> project;
        std::int32_t id = 0;
        if (projects->get_Item(i, project.put()) != lindor::S_OK || !project) break;
        project->get_ID(&id);
        if (id != projectId) continue;
        lindor::ComPtr<lindor::IClassificationSet> set;
        auto item = Make<lindor::IClassification>("Lindor.Classification.1");
        if (project->get_ClassificationSet(set.put()) != lindor::S_OK || !item ||
            set->put_ExeContext(context_.get()) != lindor::S_OK ||
            item->put_Name(name.toStdString()) != lindor::S_OK ||
            set->Add(item.get()) != lindor::S_OK) {
            fail(QStringLiteral("ClassificationSet.Add"));
            return 0;
        }
        item->get_ID(&id);
        return id;
    }
    fail(QStringLiteral("no project %1").arg(projectId));
    return 0;
}

}  // namespace nimbra::test
