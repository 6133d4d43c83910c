#include "crash/CrashChild.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>

#include "common/Clock.h"
#include "common/Engine.h"
#include "common/Names.h"
#include "common/RandomData.h"
#include "crash/CrashKinds.h"

namespace stress::crash {
namespace {

using namespace lindor;

constexpr int kTargetProjects = 40;

std::vector<std::string> SomeStatuses(Random& random)
{
    std::vector<std::string> statuses;
    for (const char* status : kStatuses)
        if (random.Chance(0.4)) statuses.push_back(status);
    return statuses;
}

std::string TempFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
}

std::int32_t IdOf(IProject& project)
{
    return Read(&project, &IProject::get_ID, "Project.ID");
}

std::vector<std::int32_t> VersionIDs(IProject& project)
{
    std::vector<std::int32_t> ids;
    const std::int32_t count = Read(&project, &IProject::get_VersionCount, "VersionCount");
    for (std::int32_t i = 0; i < count; ++i) {
        ComPtr<IVersion> version;
        Require(project.get_Version(i, version.put()), "Project.Version");
        ids.push_back(Read(version.get(), &IVersion::get_ID, "Version.ID"));
    }
    return ids;
}

// The user working in the crash test: a session of its own in project 1.
class Session {
public:
    Session(const std::string& database, std::uint64_t seed)
        : random(seed), context(OpenSession(database, kCrashLogin, kCrashPassword, 1))
    {
        Require(context->OpenBugSet(eBug, nullptr, bugs.put()), "ExeContext.OpenBugSet");
        userID = Read(context.get(), &IExeContext::get_CurUserID, "CurUserID");
    }

    ComPtr<IProject> AddProject(const std::string& name, int versions)
    {
        ComPtr<IProject> project = Create<IProject>("Project");
        Require(project->put_Name(name), "Project.Name");
        for (int i = 1; i <= versions; ++i) {
            ComPtr<IVersion> version;
            Require(
                project->AddVersion(name + "-v" + std::to_string(i), "", 45000.0, version.put()),
                "Project.AddVersion");
        }
        ComPtr<IProjectSet> projects;
        Require(context->get_ProjectSet(projects.put()), "ExeContext.ProjectSet");
        Require(projects->Add(project.get()), "ProjectSet.Add");
        return project;
    }

    // A bug of the crash user reported in `version`; returns the stored bug.
    ComPtr<IBug> AddBug(const std::string& description, std::int32_t version,
                        const std::function<void(IBug&)>& more = nullptr)
    {
        ComPtr<IBug> bug = Create<IBug>("Bug");
        Require(bug->put_Description(description), "Bug.Description");
        Require(bug->put_Status(random.Pick(kStatuses)), "Bug.Status");
        Require(bug->put_Priority(random.Pick(kPriorities)), "Bug.Priority");
        Require(bug->put_Severity(random.Pick(kSeverities)), "Bug.Severity");
        Require(bug->put_Reproductive(random.Pick(kReproducibility)), "Bug.Reproductive");
        Require(bug->put_ReportedInVersionID(version), "Bug.ReportedInVersionID");
        if (more) more(*bug);
        ComPtr<IBug> added;
        Require(bugs->Add(bug.get(), added.put()), "BugSet.Add");
        return added;
    }

    // Writes a file of `size` bytes and attaches it; returns (id, crc).
    std::pair<std::int32_t, std::uint32_t> Attach(IBug& bug, const std::string& name,
                                                  std::size_t size, bool compressible)
    {
        const std::vector<std::uint8_t> bytes = random.Bytes(size, compressible);
        const std::string path = TempFolder() + "/" + name;
        WriteFile(path, bytes);
        ComPtr<IFileSet> files;
        Require(bug.get_AttachedFiles(files.put()), "Bug.AttachedFiles");
        ComPtr<IFile> file;
        const HRESULT hr = files->Add(path, file.put());
        unlink(path.c_str());
        Require(hr, "FileSet.Add");
        return {Read(file.get(), &IFile::get_ID, "File.ID"), Crc32(bytes)};
    }

    // Makes `id` the current project of a fresh project list.
    ComPtr<IProject> FindProject(IProjectSet& projects, std::int32_t id)
    {
        const std::int32_t count = Read(&projects, &IProjectSet::get_Count, "ProjectSet.Count");
        for (std::int32_t i = 0; i < count; ++i) {
            ComPtr<IProject> project;
            Require(projects.get_Item(i, project.put()), "ProjectSet.Item");
            if (IdOf(*project) == id) return project;
        }
        throw EngineError("project " + std::to_string(id) + " is not in the project list");
    }

    Random random;
    ComPtr<IExeContext> context;
    ComPtr<IBugSet> bugs;
    std::int32_t userID = 0;
};

// ---- setup ----------------------------------------------------------------------

// The crash user (full rights in projects 1 and 2), the victim of the role
// writes and the user whose name the synchronisations rewrite.
void SetupUsers(const std::string& database, Record& facts)
{
    const ComPtr<IExeContext> admin = OpenSession(database, "Admin", "", 0);
    const ComPtr<IAdmin> administration = Create<IAdmin>("Admin");
    const std::vector<std::string> statuses(kStatuses.begin(), kStatuses.end());
    const std::int32_t crashUser = AddUser(*admin, kCrashLogin, "Crash Tester", kCrashPassword);
    Require(
        administration->SetUserRight(crashUser, MakeRole(FullRole({1, 2}, true, statuses)).get()),
        "Admin.SetUserRight");
    facts.SetNumber("crashUser", crashUser);
    facts.SetNumber("victim", AddUser(*admin, kVictimLogin, "Victim", "victim-pw"));
    facts.SetNumber("syncUser", AddUser(*admin, kSyncLogin, "Sync User", "sync-pw"));
}

std::int32_t AddSyncClassification(Session& session)
{
    ComPtr<IProject> project;
    ComPtr<IClassificationSet> classes;
    Require(session.context->get_ActiveProject(project.put()), "ExeContext.ActiveProject");
    Require(project->get_ClassificationSet(classes.put()), "Project.ClassificationSet");
    Require(classes->put_ExeContext(session.context.get()), "ClassificationSet.ExeContext");
    ComPtr<IClassification> syncClass = Create<IClassification>("Classification");
    Require(syncClass->put_Name("Sync Class"), "Classification.Name");
    Require(classes->Add(syncClass.get()), "ClassificationSet.Add");
    return Read(syncClass.get(), &IClassification::get_ID, "Classification.ID");
}

// Bugs whose stored names all come from the records Synchronize renames:
// the sync user, version 2 and the sync classification.
std::vector<std::int32_t> AddSyncBugs(Session& session, const Record& facts, int count)
{
    const auto user = static_cast<std::int32_t>(facts.Number("syncUser"));
    const auto classID = static_cast<std::int32_t>(facts.Number("syncClass"));
    std::vector<std::int32_t> ids;
    for (int i = 1; i <= count; ++i) {
        const ComPtr<IBug> bug =
            session.AddBug("crash-sync-bug-" + std::to_string(i), 2, [&](IBug& b) {
                Require(b.put_ReportedByID(user), "Bug.ReportedByID");
                Require(b.put_FixedByID(user), "Bug.FixedByID");
                Require(b.put_VerifiedByID(user), "Bug.VerifiedByID");
                Require(b.put_FixedInVersionID(2), "Bug.FixedInVersionID");
                Require(b.put_ClassificationID(classID), "Bug.ClassificationID");
            });
        ids.push_back(Read(bug.get(), &IBug::get_ID, "Bug.ID"));
    }
    return ids;
}

Record Setup(const std::string& database, std::uint64_t seed, int syncBugCount)
{
    CreateDatabase(database);
    Record facts("setup");
    SetupUsers(database, facts);
    Session session(database, seed);
    std::vector<std::int32_t> targets;
    for (int i = 1; i <= kTargetProjects; ++i)
        targets.push_back(IdOf(*session.AddProject("crash-target-" + std::to_string(i), 1)));
    facts.Set("targets", JoinIds(targets));
    facts.SetNumber("syncClass", AddSyncClassification(session));
    facts.Set("syncBugs", JoinIds(AddSyncBugs(session, facts, syncBugCount)));
    return facts;
}

// ---- the interrupted operations ------------------------------------------------------

class Child {
public:
    explicit Child(const ChildArgs& args) : args_(args), session_(args.database, args.seed) {}

    void Cleanup()
    {
        for (const std::int32_t bug : args_.cleanupBugs)
            Require(session_.bugs->RemoveByID(bug), "BugSet.RemoveByID (cleanup)");
        for (const std::int32_t project : args_.cleanupProjects) {
            ComPtr<IProjectSet> projects;
            Require(session_.context->get_ProjectSet(projects.put()), "ExeContext.ProjectSet");
            Require(projects->DeleteByID(project), "ProjectSet.DeleteByID (cleanup)");
        }
    }

    // Prepares the operation of the kind; `perform_` then runs it.
    Record Prepare()
    {
        const std::map<std::string, std::function<Record()>> kinds = {
            {kAddProject, [this] { return PrepareAddProject(); }},
            {kDeleteProject, [this] { return PrepareDeleteProject(); }},
            {kDeleteBug, [this] { return PrepareDeleteBug(); }},
            {kSetUserRight, [this] { return PrepareSetUserRight(); }},
            {kSynchronize, [this] { return PrepareSynchronize(); }},
            {kAddAttachment, [this] { return PrepareAddAttachment(); }}};
        const auto found = kinds.find(args_.kind);
        if (found == kinds.end()) throw EngineError("unknown operation " + args_.kind);
        Record ready = found->second();
        ready.Set("op", "ready");
        return ready;
    }

    HRESULT Perform() { return perform_(); }

private:
    Random& random() { return session_.random; }
    IExeContext& context() { return *session_.context; }

    Record PrepareAddProject()
    {
        Record ready;
        const std::string name = args_.tag + "-project";
        const auto versions = static_cast<int>(random().Between(10, 60));
        ComPtr<IProject> project = Create<IProject>("Project");
        Require(project->put_Name(name), "Project.Name");
        for (int i = 1; i <= versions; ++i) {
            ComPtr<IVersion> version;
            Require(project->AddVersion(name + "-v" + std::to_string(i), random().Words(3), 45000.0,
                                        version.put()),
                    "Project.AddVersion");
        }
        ComPtr<IProjectSet> projects;
        Require(context().get_ProjectSet(projects.put()), "ExeContext.ProjectSet");
        perform_ = [projects, project] { return projects->Add(project.get()); };
        ready.Set("name", name);
        ready.SetNumber("versions", versions);
        return ready;
    }

    // The crash user's role gets rights in the new project (so that it may
    // add its classifications and assign them), then logs in again.
    std::int32_t GrantRightsIn(std::int32_t project, Record& ready)
    {
        const std::vector<std::string> statuses = SomeStatuses(random());
        ready.SetNumber("statuses", static_cast<std::int64_t>(statuses.size()));
        const ComPtr<IUserRight> role = MakeRole(FullRole({1, 2, project}, true, statuses));
        const ComPtr<IAdmin> admin = Create<IAdmin>("Admin");
        Require(admin->SetUserRight(session_.userID, role.get()), "Admin.SetUserRight");
        Require(context().Login(kCrashLogin, kCrashPassword), "ExeContext.Login");
        Require(context().SetActiveProject(1, 0), "ExeContext.SetActiveProject");
        ComPtr<IRightSet> rights;
        ComPtr<IRight> right;
        Require(role->get_RightSet(rights.put()), "UserRight.RightSet");
        Require(rights->GetByProjectID(project, right.put()), "RightSet.GetByProjectID");
        return Read(right.get(), &IRight::get_ID, "Right.ID");
    }

    std::vector<std::int32_t> AddClassifications(std::int32_t projectID, int count)
    {
        ComPtr<IProjectSet> projects;
        Require(context().get_ProjectSet(projects.put()), "ExeContext.ProjectSet");
        const ComPtr<IProject> project = session_.FindProject(*projects, projectID);
        ComPtr<IClassificationSet> classes;
        Require(project->get_ClassificationSet(classes.put()), "Project.ClassificationSet");
        Require(classes->put_ExeContext(&context()), "ClassificationSet.ExeContext");
        std::vector<std::int32_t> ids;
        for (int i = 1; i <= count; ++i) {
            ComPtr<IClassification> c = Create<IClassification>("Classification");
            Require(c->put_Name(args_.tag + "-class-" + std::to_string(i)), "Classification.Name");
            Require(classes->Add(c.get()), "ClassificationSet.Add");
            ids.push_back(Read(c.get(), &IClassification::get_ID, "Classification.ID"));
        }
        return ids;
    }

    Record PrepareDeleteProject()
    {
        Record ready;
        const ComPtr<IProject> project =
            session_.AddProject(args_.tag + "-doomed", static_cast<int>(random().Between(3, 10)));
        const std::int32_t projectID = IdOf(*project);
        const std::vector<std::int32_t> versions = VersionIDs(*project);
        ready.SetNumber("right", GrantRightsIn(projectID, ready));
        const std::vector<std::int32_t> classes =
            AddClassifications(projectID, static_cast<int>(random().Between(2, 5)));
        Require(context().AssignUserClassification(session_.userID, classes.data(),
                                                   static_cast<std::int32_t>(classes.size()),
                                                   projectID),
                "ExeContext.AssignUserClassification");
        std::vector<std::int32_t> bugs, attachments;
        for (long i = random().Between(3, 10); i > 0; --i) {
            const ComPtr<IBug> bug =
                session_.AddBug(args_.tag + "-doomed-bug", random().Pick(versions));
            bugs.push_back(Read(bug.get(), &IBug::get_ID, "Bug.ID"));
            if (random().Chance(0.5))
                attachments.push_back(
                    session_
                        .Attach(*bug, args_.tag + "-" + std::to_string(i) + ".txt",
                                static_cast<std::size_t>(random().Between(1024, 65536)), true)
                        .first);
        }
        ComPtr<IProjectSet> projects;
        Require(context().get_ProjectSet(projects.put()), "ExeContext.ProjectSet");
        perform_ = [projects, projectID] { return projects->DeleteByID(projectID); };
        ready.SetNumber("project", projectID);
        ready.Set("versions", JoinIds(versions));
        ready.Set("classes", JoinIds(classes));
        ready.Set("bugs", JoinIds(bugs));
        ready.Set("attachments", JoinIds(attachments));
        return ready;
    }

    Record PrepareDeleteBug()
    {
        Record ready;
        const ComPtr<IBug> bug = session_.AddBug(args_.tag + "-bug", 1);
        const std::int32_t id = Read(bug.get(), &IBug::get_ID, "Bug.ID");
        std::vector<std::int32_t> attachments;
        for (long i = random().Between(2, 4); i > 0; --i)
            attachments.push_back(
                session_
                    .Attach(*bug, args_.tag + "-" + std::to_string(i) + ".bin",
                            static_cast<std::size_t>(random().Between(16 * 1024, 256 * 1024)),
                            random().Chance(0.5))
                    .first);
        const ComPtr<IBugSet> bugs = session_.bugs;
        perform_ = [bugs, id] { return bugs->RemoveByID(id); };
        ready.SetNumber("bug", id);
        ready.Set("attachments", JoinIds(attachments));
        return ready;
    }

    RolePlan RandomRole()
    {
        RolePlan role;
        role.addProject = random().Chance(0.5);
        std::vector<std::int32_t> projects = {1, 2};
        for (const std::int32_t target : SplitIds(args_.setup.Get("targets")))
            if (random().Chance(0.7)) projects.push_back(target);
        for (const std::int32_t project : projects)
            role.rights.push_back(RightPlan{project, random().Flags(kRightColumns.size(), 0.5),
                                            SomeStatuses(random())});
        return role;
    }

    Record PrepareSetUserRight()
    {
        Record ready;
        const auto victim = static_cast<std::int32_t>(args_.setup.Number("victim"));
        const RolePlan before = RandomRole(), after = RandomRole();
        const ComPtr<IAdmin> admin = Create<IAdmin>("Admin");
        Require(admin->SetUserRight(victim, MakeRole(before).get()), "Admin.SetUserRight (before)");
        const ComPtr<IUserRight> role = MakeRole(after);
        perform_ = [admin, role, victim] { return admin->SetUserRight(victim, role.get()); };
        ready.Set("before", before.Text());
        ready.Set("after", after.Text());
        return ready;
    }

    // Another user is the administrator's to rename: through the user list of
    // the administration object, as the administration program does.
    void RenameSyncUser(const std::string& name)
    {
        ComPtr<IUserSet> users;
        Require(Create<IAdmin>("Admin")->get_UserSet(users.put()), "Admin.UserSet");
        const std::int32_t count = Read(users.get(), &IUserSet::get_Count, "UserSet.Count");
        for (std::int32_t i = 0; i < count; ++i) {
            ComPtr<IUser> user;
            Require(users->get_Item(i, user.put()), "UserSet.Item");
            if (Read(user.get(), &IUser::get_ID, "User.ID") != args_.setup.Number("syncUser"))
                continue;
            Require(user->put_UserName(name), "User.UserName");
            Require(users->Update(), "UserSet.Update");
            return;
        }
        throw EngineError("the sync user is not in the user list");
    }

    void RenameVersionTwo(const std::string& name)
    {
        ComPtr<IProjectSet> projects;
        Require(context().get_ProjectSet(projects.put()), "ExeContext.ProjectSet");
        const ComPtr<IProject> project = session_.FindProject(*projects, 1);
        const std::vector<std::int32_t> versions = VersionIDs(*project);
        for (std::size_t i = 0; i < versions.size(); ++i) {
            if (versions[i] != 2) continue;
            ComPtr<IVersion> version;
            Require(project->get_Version(static_cast<std::int32_t>(i), version.put()),
                    "Project.Version");
            Require(version->put_Name(name), "Version.Name");
            Require(projects->Update(), "ProjectSet.Update");
            return;
        }
        throw EngineError("version 2 is not in project 1");
    }

    void RenameSyncClass(const std::string& name)
    {
        ComPtr<IProject> project;
        ComPtr<IClassificationSet> classes;
        Require(context().get_ActiveProject(project.put()), "ExeContext.ActiveProject");
        Require(project->get_ClassificationSet(classes.put()), "Project.ClassificationSet");
        Require(classes->put_ExeContext(&context()), "ClassificationSet.ExeContext");
        const std::int32_t count = Read(classes.get(), &IClassificationSet::get_Count, "Count");
        for (std::int32_t i = 0; i < count; ++i) {
            ComPtr<IClassification> c;
            Require(classes->get_Item(i, c.put()), "ClassificationSet.Item");
            if (Read(c.get(), &IClassification::get_ID, "Classification.ID") !=
                args_.setup.Number("syncClass"))
                continue;
            Require(c->put_Name(name), "Classification.Name");
            Require(classes->Update(), "ClassificationSet.Update");
            return;
        }
        throw EngineError("the sync classification is not in project 1");
    }

    Record PrepareSynchronize()
    {
        Record ready;
        ready.Set("user", "Sync User " + args_.tag);
        ready.Set("version", "Sync Version " + args_.tag);
        ready.Set("class", "Sync Class " + args_.tag);
        RenameSyncUser(ready.Get("user"));
        RenameVersionTwo(ready.Get("version"));
        RenameSyncClass(ready.Get("class"));
        const ComPtr<IExeContext> context = session_.context;
        perform_ = [context] { return context->Synchronize(); };
        return ready;
    }

    Record PrepareAddAttachment()
    {
        Record ready;
        const ComPtr<IBug> bug = session_.AddBug(args_.tag + "-holder", 1);
        const std::string name = args_.tag + ".bin";
        const std::vector<std::uint8_t> bytes =
            random().Bytes(static_cast<std::size_t>(random().Between(256 * 1024, 2 * 1024 * 1024)),
                           random().Chance(0.5));
        const std::string path = TempFolder() + "/" + name;
        WriteFile(path, bytes);
        ComPtr<IFileSet> files;
        Require(bug->get_AttachedFiles(files.put()), "Bug.AttachedFiles");
        perform_ = [files, path] {
            ComPtr<IFile> file;
            return files->Add(path, file.put());
        };
        ready.SetNumber("bug", Read(bug.get(), &IBug::get_ID, "Bug.ID"));
        ready.Set("name", name);
        ready.SetNumber("size", static_cast<std::int64_t>(bytes.size()));
        ready.SetNumber("crc", Crc32(bytes));
        return ready;
    }

    ChildArgs args_;
    Session session_;
    std::function<HRESULT()> perform_;
};

}  // namespace

void Emit(const Record& record)
{
    std::printf("%s\n", record.Line().c_str());
    std::fflush(stdout);
}

std::string JoinIds(const std::vector<std::int32_t>& ids)
{
    std::vector<std::string> texts;
    for (const std::int32_t id : ids) texts.push_back(std::to_string(id));
    return JoinList(texts);
}

std::vector<std::int32_t> SplitIds(const std::string& text)
{
    std::vector<std::int32_t> ids;
    for (const std::string& item : SplitList(text))
        ids.push_back(static_cast<std::int32_t>(std::atol(item.c_str())));
    return ids;
}

int RunSetup(const std::string& database, std::uint64_t seed, int syncBugCount)
{
    try {
        Emit(Setup(database, seed, syncBugCount));
        return 0;
    } catch (const std::exception& error) {
        Record failed("setupFailed");
        failed.Set("error", error.what());
        Emit(failed);
        return 1;
    }
}

int RunChild(const ChildArgs& args)
{
    std::unique_ptr<Child> child;
    try {
        child = std::make_unique<Child>(args);
        child->Cleanup();
        Emit(child->Prepare());
    } catch (const std::exception& error) {
        Record failed("prepareFailed");
        failed.Set("error", error.what());
        Emit(failed);
        return 1;
    }
    ClearErrorText();
    const std::int64_t start = MonotonicNs();
    const lindor::HRESULT hr = child->Perform();
    Record outcome(lindor::Succeeded(hr) ? "done" : "failed");
    outcome.SetNumber("us", (MonotonicNs() - start) / 1000);
    if (lindor::Failed(hr)) outcome.Set("error", TakeErrorText());
    Emit(outcome);
    return 0;
}

}  // namespace stress::crash
