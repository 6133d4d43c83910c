#include "run/Worker.h"

#include <unistd.h>

#include <cstdio>
#include <functional>
#include <map>
#include <vector>

#include "common/Clock.h"
#include "common/Engine.h"
#include "common/Names.h"
#include "common/RandomData.h"
#include "run/OperationJournal.h"
#include "run/Operations.h"

namespace stress {
namespace {

using namespace lindor;

void EraseValue(std::vector<std::int32_t>& values, std::int32_t value)
{
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (*it == value) {
            values.erase(it);
            return;
        }
    }
}

class Worker {
public:
    explicit Worker(const WorkerConfig& config)
        : config_(config),
          random_(config.seed),
          journal_(config.journal, config.errorLog),
          context_(OpenSession(config.database, op::WorkerLogin(config.index),
                               op::WorkerPassword(config.index), config.project)),
          administrator_(OpenSession(config.database, "Admin", "", 0)),
          admin_(Create<IAdmin>("Admin"))
    {
        userID_ = Read(context_.get(), &IExeContext::get_CurUserID, "CurUserID");
        Require(context_->OpenBugSet(eBug, nullptr, bugs_.put()), "ExeContext.OpenBugSet");
    }

    void Run()
    {
        const std::vector<std::pair<int, std::function<void()>>> operations = {
            {28, [this] { AddBug(); }},           {20, [this] { UpdateBug(); }},
            {8, [this] { DeleteBug(); }},         {8, [this] { AddAttachmentToSomeBug(); }},
            {3, [this] { RemoveAttachment(); }},  {5, [this] { AddProject(); }},
            {6, [this] { UpdateProject(); }},     {2, [this] { DeleteProject(); }},
            {5, [this] { AddClassification(); }}, {4, [this] { AddUser(); }},
            {5, [this] { SetRole(); }},           {3, [this] { Synchronize(); }},
            {3, [this] { RefreshList(); }}};
        std::vector<int> weights;
        for (const auto& entry : operations) weights.push_back(entry.first);
        int done = 0;
        for (; done < config_.operations && MonotonicNs() < config_.deadlineNs; ++done) {
            try {
                operations[random_.Weighted(weights)].second();
            } catch (const std::exception& error) {
                Record record = journal_.Begin("internal");
                journal_.Fail(record, "worker", error.what());
                journal_.Finish(record);
            }
        }
        Record summary(op::kSummary);
        summary.SetNumber("operations", done);
        summary.SetNumber("planned", config_.operations);
        summary.SetNumber("busyWaits", static_cast<std::int64_t>(BusyWaits()));
        journal_.Append(summary);
    }

private:
    std::string Tag(const char* kind)
    {
        return "w" + std::to_string(config_.index) + "-" + kind + std::to_string(++tags_);
    }

    // ---- bugs -------------------------------------------------------------

    // The values of a new bug, chosen at random, in the journal's field names.
    void ChooseNewBug(Record& r)
    {
        r.Set("desc", Tag("bug"));
        r.Set("status", random_.Pick(kStatuses));
        r.Set("priority", random_.Pick(kPriorities));
        r.Set("severity", random_.Pick(kSeverities));
        r.Set("repro", random_.Pick(kReproducibility));
        r.Set("report", random_.Words(static_cast<int>(random_.Between(3, 40))));
        r.SetNumber("est", random_.Between(0, 5000));
        r.SetNumber("version", random_.Pick(VersionsOfFirstProject(config_.project)));
        r.SetNumber("project", config_.project);
        r.SetNumber("class", classes_.empty() || random_.Chance(0.5) ? 0 : random_.Pick(classes_));
        r.SetNumber("by", userID_);
        r.SetReal("date", 45000.0 + static_cast<double>(random_.Between(0, 86399)) / 86400.0);
    }

    static std::int32_t Number32(const Record& r, const char* key)
    {
        return static_cast<std::int32_t>(r.Number(key));
    }

    // Puts the record's values into the bug; false when a setter failed.
    bool FillBug(Record& r, IBug& bug)
    {
        return journal_.Call(r, "Bug.Description", bug.put_Description(r.Get("desc"))) &&
               journal_.Call(r, "Bug.Status", bug.put_Status(r.Get("status"))) &&
               journal_.Call(r, "Bug.Priority", bug.put_Priority(r.Get("priority"))) &&
               journal_.Call(r, "Bug.Severity", bug.put_Severity(r.Get("severity"))) &&
               journal_.Call(r, "Bug.Reproductive", bug.put_Reproductive(r.Get("repro"))) &&
               journal_.Call(r, "Bug.Report", bug.put_Report(r.Get("report"))) &&
               journal_.Call(r, "Bug.EstimatedTime", bug.put_EstimatedTime(Number32(r, "est"))) &&
               journal_.Call(r, "Bug.ReportedByID", bug.put_ReportedByID(Number32(r, "by"))) &&
               journal_.Call(r, "Bug.ReportedInVersionID",
                             bug.put_ReportedInVersionID(Number32(r, "version"))) &&
               journal_.Call(r, "Bug.ReportedInProjectID",
                             bug.put_ReportedInProjectID(Number32(r, "project"))) &&
               journal_.Call(r, "Bug.ClassificationID",
                             bug.put_ClassificationID(Number32(r, "class"))) &&
               journal_.Call(r, "Bug.ReportedDate", bug.put_ReportedDate(r.Real("date"))) &&
               journal_.Call(r, "Bug.BugType", bug.put_BugType(eBug));
    }

    void AddBug()
    {
        Record r = journal_.Begin(op::kAddBug);
        ChooseNewBug(r);
        const ComPtr<IBug> bug = Create<IBug>("Bug");
        ComPtr<IBug> added;
        std::int32_t listBefore = 0;
        if (FillBug(r, *bug) && journal_.Call(r, "BugSet.Count", bugs_->get_Count(&listBefore)) &&
            journal_.Call(r, "BugSet.Add", bugs_->Add(bug.get(), added.put()))) {
            const std::int32_t id = Read(added.get(), &IBug::get_ID, "Bug.ID");
            r.SetNumber("id", id);
            bugIDs_.push_back(id);
            // The list the bug was added through shows it, once.
            r.SetNumber("listBefore", listBefore);
            r.SetNumber("listAfter", Read(bugs_.get(), &IBugSet::get_Count, "BugSet.Count"));
        }
        journal_.Finish(r);
        if (OperationJournal::Failed(r) || !random_.Chance(0.3)) return;
        for (long i = random_.Between(1, 2); i > 0; --i) AddAttachment(Number32(r, "id"));
    }

    void UpdateBug()
    {
        if (bugIDs_.empty()) return AddBug();
        Record r = journal_.Begin(op::kUpdateBug);
        const std::int32_t id = random_.Pick(bugIDs_);
        r.SetNumber("id", id);
        ComPtr<IBug> bug;
        if (!journal_.Call(r, "BugSet.GetBugByID", bugs_->GetBugByID(id, bug.put())))
            return journal_.Finish(r);
        r.Set("status", random_.Pick(kStatuses));
        r.Set("priority", random_.Pick(kPriorities));
        r.Set("resolution",
              random_.Chance(0.2) ? "" : random_.Words(static_cast<int>(random_.Between(1, 12))));
        r.SetNumber("est", random_.Between(0, 5000));
        r.SetNumber("class", classes_.empty() || random_.Chance(0.3) ? 0 : random_.Pick(classes_));
        const bool written =
            journal_.Call(r, "Bug.Status", bug->put_Status(r.Get("status"))) &&
            journal_.Call(r, "Bug.Priority", bug->put_Priority(r.Get("priority"))) &&
            journal_.Call(r, "Bug.Resolution", bug->put_Resolution(r.Get("resolution"))) &&
            journal_.Call(r, "Bug.EstimatedTime", bug->put_EstimatedTime(Number32(r, "est"))) &&
            journal_.Call(r, "Bug.ClassificationID",
                          bug->put_ClassificationID(Number32(r, "class")));
        if (written) journal_.Call(r, "BugSet.Update", bugs_->Update(bug.get()));
        journal_.Finish(r);
    }

    void DeleteBug()
    {
        if (bugIDs_.empty()) return AddBug();
        Record r = journal_.Begin(op::kDeleteBug);
        const std::int32_t id = random_.Pick(bugIDs_);
        r.SetNumber("id", id);
        if (journal_.Call(r, "BugSet.RemoveByID", bugs_->RemoveByID(id))) {
            EraseValue(bugIDs_, id);
            attachments_.erase(id);
        }
        journal_.Finish(r);
    }

    // ---- attachments --------------------------------------------------------

    std::size_t AttachmentSize()
    {
        const long maxBytes = static_cast<long>(config_.maxAttachmentKB) * 1024;
        if (random_.Chance(0.6)) return static_cast<std::size_t>(random_.Between(0, 16 * 1024));
        if (random_.Chance(0.8)) return static_cast<std::size_t>(random_.Between(0, maxBytes / 4));
        return static_cast<std::size_t>(random_.Between(0, maxBytes));
    }

    ComPtr<IFileSet> AttachedFiles(Record& r, std::int32_t bugID)
    {
        ComPtr<IBug> bug;
        ComPtr<IFileSet> files;
        if (journal_.Call(r, "BugSet.GetBugByID", bugs_->GetBugByID(bugID, bug.put())))
            journal_.Call(r, "Bug.AttachedFiles", bug->get_AttachedFiles(files.put()));
        return files;
    }

    void AddAttachment(std::int32_t bugID)
    {
        Record r = journal_.Begin(op::kAddAttachment);
        r.SetNumber("bug", bugID);
        const std::string name = Tag("file") + ".bin";
        const std::vector<std::uint8_t> bytes =
            random_.Bytes(AttachmentSize(), random_.Chance(0.5));
        const std::string path = config_.scratch + "/" + name;
        WriteFile(path, bytes);
        r.Set("name", name);
        r.SetNumber("size", static_cast<std::int64_t>(bytes.size()));
        r.SetNumber("crc", Crc32(bytes));
        const ComPtr<IFileSet> files = AttachedFiles(r, bugID);
        ComPtr<IFile> file;
        if (files && journal_.Call(r, "FileSet.Add", files->Add(path, file.put()))) {
            const std::int32_t id = Read(file.get(), &IFile::get_ID, "File.ID");
            r.SetNumber("id", id);
            attachments_[bugID].push_back(id);
        }
        unlink(path.c_str());
        journal_.Finish(r);
    }

    void AddAttachmentToSomeBug()
    {
        if (bugIDs_.empty()) return AddBug();
        AddAttachment(random_.Pick(bugIDs_));
    }

    void RemoveAttachment()
    {
        std::vector<std::int32_t> withFiles;
        for (const auto& [bug, files] : attachments_)
            if (!files.empty()) withFiles.push_back(bug);
        if (withFiles.empty()) return AddAttachmentToSomeBug();
        Record r = journal_.Begin(op::kRemoveAttachment);
        const std::int32_t bugID = random_.Pick(withFiles);
        const std::int32_t id = random_.Pick(attachments_[bugID]);
        r.SetNumber("bug", bugID);
        r.SetNumber("id", id);
        const ComPtr<IFileSet> files = AttachedFiles(r, bugID);
        if (files && journal_.Call(r, "FileSet.RemoveByID", files->RemoveByID(id)))
            EraseValue(attachments_[bugID], id);
        journal_.Finish(r);
    }

    // ---- projects and versions ------------------------------------------------

    static std::string VersionList(IProject& project)
    {
        std::vector<std::string> versions;
        const std::int32_t count = Read(&project, &IProject::get_VersionCount, "VersionCount");
        for (std::int32_t i = 0; i < count; ++i) {
            ComPtr<IVersion> version;
            Require(project.get_Version(i, version.put()), "Project.Version");
            versions.push_back(
                std::to_string(Read(version.get(), &IVersion::get_ID, "Version.ID")) + ":" +
                Read(version.get(), &IVersion::get_Name, "Version.Name"));
        }
        return JoinList(versions);
    }

    void AddProject()
    {
        Record r = journal_.Begin(op::kAddProject);
        ComPtr<IProjectSet> projects;
        ComPtr<IProject> project = Create<IProject>("Project");
        const std::string name = Tag("project");
        r.Set("name", name);
        r.Set("desc", random_.Words(4));
        std::vector<std::string> versionNames;
        for (long i = random_.Between(1, 4); i > 0; --i)
            versionNames.push_back(name + "-v" + std::to_string(versionNames.size() + 1));
        r.Set("versionNames", JoinList(versionNames));
        bool ready =
            journal_.Call(r, "ExeContext.ProjectSet",
                          administrator_->get_ProjectSet(projects.put())) &&
            journal_.Call(r, "Project.Name", project->put_Name(name)) &&
            journal_.Call(r, "Project.Description", project->put_Description(r.Get("desc")));
        for (const std::string& versionName : versionNames) {
            ComPtr<IVersion> version;
            ready = ready && journal_.Call(r, "Project.AddVersion",
                                           project->AddVersion(versionName, random_.Words(2),
                                                               45000.0, version.put()));
        }
        if (ready && journal_.Call(r, "ProjectSet.Add", projects->Add(project.get()))) {
            const std::int32_t id = Read(project.get(), &IProject::get_ID, "Project.ID");
            r.SetNumber("id", id);
            r.Set("versions", VersionList(*project));
            projectIDs_.push_back(id);
        }
        journal_.Finish(r);
    }

    // Makes the worker's project the set's current one; null when absent.
    ComPtr<IProject> FindProject(Record& r, IProjectSet& projects, std::int32_t id)
    {
        std::int32_t count = 0;
        if (!journal_.Call(r, "ProjectSet.Count", projects.get_Count(&count))) return nullptr;
        for (std::int32_t i = 0; i < count; ++i) {
            ComPtr<IProject> project;
            if (!journal_.Call(r, "ProjectSet.Item", projects.get_Item(i, project.put())))
                return nullptr;
            if (Read(project.get(), &IProject::get_ID, "Project.ID") == id) return project;
        }
        journal_.Fail(r, "find project", "the project is not in the context's project list");
        return nullptr;
    }

    void ChangeVersions(Record& r, IProject& project)
    {
        const std::int32_t count = Read(&project, &IProject::get_VersionCount, "VersionCount");
        const std::size_t change = random_.Weighted({5, 3, 2});
        const auto index = static_cast<std::int32_t>(random_.Between(0, count > 0 ? count - 1 : 0));
        if (change == 2 && count > 1) {
            r.Set("versionChange", "remove:" + std::to_string(index));
            journal_.Call(r, "Project.RemoveVersionAt", project.RemoveVersionAt(index));
            return;
        }
        const std::string name = Tag("version");
        ComPtr<IVersion> version;
        if (change == 1 || count == 0) {
            r.Set("versionChange", "add:" + name);
            journal_.Call(r, "Project.AddVersion",
                          project.AddVersion(name, random_.Words(2), 45001.0, version.put()));
            return;
        }
        r.Set("versionChange", "rename:" + std::to_string(index) + ":" + name);
        if (journal_.Call(r, "Project.Version", project.get_Version(index, version.put())))
            journal_.Call(r, "Version.Name", version->put_Name(name));
    }

    void UpdateProject()
    {
        if (projectIDs_.empty()) return AddProject();
        Record r = journal_.Begin(op::kUpdateProject);
        const std::int32_t id = random_.Pick(projectIDs_);
        r.SetNumber("id", id);
        ComPtr<IProjectSet> projects;
        ComPtr<IProject> project;
        if (journal_.Call(r, "ExeContext.ProjectSet",
                          administrator_->get_ProjectSet(projects.put())))
            project = FindProject(r, *projects, id);
        if (project) {
            r.Set("name", Tag("project"));
            r.Set("desc", random_.Words(5));
            const bool ready =
                journal_.Call(r, "Project.Name", project->put_Name(r.Get("name"))) &&
                journal_.Call(r, "Project.Description", project->put_Description(r.Get("desc")));
            if (ready) ChangeVersions(r, *project);
            if (!OperationJournal::Failed(r) &&
                journal_.Call(r, "ProjectSet.Update", projects->Update()))
                r.Set("versions", VersionList(*project));
        }
        journal_.Finish(r);
    }

    void DeleteProject()
    {
        if (projectIDs_.empty()) return AddProject();
        Record r = journal_.Begin(op::kDeleteProject);
        const std::int32_t id = random_.Pick(projectIDs_);
        r.SetNumber("id", id);
        ComPtr<IProjectSet> projects;
        if (journal_.Call(r, "ExeContext.ProjectSet",
                          administrator_->get_ProjectSet(projects.put())) &&
            journal_.Call(r, "ProjectSet.DeleteByID", projects->DeleteByID(id)))
            EraseValue(projectIDs_, id);
        journal_.Finish(r);
    }

    // ---- classifications, users, roles ----------------------------------------

    void AddClassification()
    {
        Record r = journal_.Begin(op::kAddClassification);
        r.SetNumber("project", config_.project);
        r.Set("name", Tag("class"));
        ComPtr<IProject> project;
        ComPtr<IClassificationSet> set;
        ComPtr<IClassification> classification = Create<IClassification>("Classification");
        const bool added =
            journal_.Call(r, "ExeContext.ActiveProject",
                          context_->get_ActiveProject(project.put())) &&
            journal_.Call(r, "Project.ClassificationSet",
                          project->get_ClassificationSet(set.put())) &&
            journal_.Call(r, "ClassificationSet.ExeContext", set->put_ExeContext(context_.get())) &&
            journal_.Call(r, "Classification.Name", classification->put_Name(r.Get("name"))) &&
            journal_.Call(r, "ClassificationSet.Add", set->Add(classification.get()));
        if (added) {
            const std::int32_t id =
                Read(classification.get(), &IClassification::get_ID, "Classification.ID");
            r.SetNumber("id", id);
            classes_.push_back(id);
        }
        journal_.Finish(r);
    }

    void AddUser()
    {
        Record r = journal_.Begin(op::kAddUser);
        const std::string login = Tag("user");
        r.Set("login", login);
        r.Set("name", "User " + login);
        ComPtr<IUserSet> users;
        ComPtr<IUser> user = Create<IUser>("User");
        const bool added =
            journal_.Call(r, "ExeContext.AllUser", administrator_->get_AllUser(users.put())) &&
            journal_.Call(r, "User.LoginName", user->put_LoginName(login)) &&
            journal_.Call(r, "User.UserName", user->put_UserName(r.Get("name"))) &&
            journal_.Call(r, "User.Password", user->put_Password("secret " + login)) &&
            journal_.Call(r, "UserSet.Add", users->Add(user.get()));
        if (added) {
            const std::int32_t id = Read(user.get(), &IUser::get_ID, "User.ID");
            r.SetNumber("id", id);
            userIDs_.push_back(id);
        }
        journal_.Finish(r);
    }

    RolePlan RandomRole()
    {
        RolePlan role;
        role.addProject = random_.Chance(0.5);
        for (const int project : kFirstProjects) {
            RightPlan right;
            right.projectID = project;
            right.flags = random_.Chance(0.15) ? std::string(kRightColumns.size(), '0')
                                               : random_.Flags(kRightColumns.size(), 0.5);
            for (const char* status : kStatuses)
                if (random_.Chance(0.3)) right.statuses.push_back(status);
            role.rights.push_back(right);
        }
        return role;
    }

    static std::string RightIDs(IUserRight& role)
    {
        ComPtr<IRightSet> rights;
        Require(role.get_RightSet(rights.put()), "UserRight.RightSet");
        std::vector<std::string> ids;
        const std::int32_t count = Read(rights.get(), &IRightSet::get_Count, "RightSet.Count");
        for (std::int32_t i = 0; i < count; ++i) {
            ComPtr<IRight> right;
            Require(rights->get_Item(i, right.put()), "RightSet.Item");
            // A right with every flag off is not stored and keeps the number 0.
            const std::int32_t id = Read(right.get(), &IRight::get_ID, "Right.ID");
            if (id != 0) ids.push_back(std::to_string(id));
        }
        return JoinList(ids);
    }

    void SetRole()
    {
        if (userIDs_.empty()) return AddUser();
        Record r = journal_.Begin(op::kSetRole);
        const std::int32_t user = random_.Pick(userIDs_);
        const RolePlan plan = RandomRole();
        r.SetNumber("user", user);
        r.Set("role", plan.Text());
        const ComPtr<IUserRight> role = MakeRole(plan);
        if (journal_.Call(r, "Admin.SetUserRight", admin_->SetUserRight(user, role.get())))
            r.Set("rightIDs", RightIDs(*role));
        journal_.Finish(r);
    }

    void Synchronize()
    {
        Record r = journal_.Begin(op::kSynchronize);
        journal_.Call(r, "ExeContext.Synchronize", context_->Synchronize());
        journal_.Finish(r);
    }

    void RefreshList()
    {
        Record r = journal_.Begin(op::kRefresh);
        journal_.Call(r, "BugSet.Refresh", bugs_->Refresh());
        journal_.Finish(r);
    }

    WorkerConfig config_;
    Random random_;
    OperationJournal journal_;
    ComPtr<IExeContext> context_;
    // Projects and users are the administrator's to change, as in the
    // administration program: the worker changes them through a session of
    // the administrator's own.
    ComPtr<IExeContext> administrator_;
    ComPtr<IAdmin> admin_;
    ComPtr<IBugSet> bugs_;
    std::int32_t userID_ = 0;
    long tags_ = 0;
    std::vector<std::int32_t> bugIDs_;
    std::map<std::int32_t, std::vector<std::int32_t>> attachments_;
    std::vector<std::int32_t> projectIDs_;
    std::vector<std::int32_t> classes_;
    std::vector<std::int32_t> userIDs_;
};

}  // namespace

int RunWorker(const WorkerConfig& config)
{
    try {
        Worker worker(config);
        worker.Run();
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "worker %d: %s\n", config.index, error.what());
        return 1;
    }
}

}  // namespace stress
