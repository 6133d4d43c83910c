#include "run/StateChecks.h"

#include <cmath>
#include <iterator>
#include <set>

#include "common/Names.h"
#include "common/StoredRoles.h"

namespace stress {

const char* const kDoneInFile = "every operation reported done is in the file";
const char* const kFailedLeftNothing = "every operation reported failed left nothing";
const char* const kNoUnreported = "no row that no operation reported";
const char* const kHandedOutTwice = "no identifier handed out twice";

namespace {

std::string Quoted(const std::string& text)
{
    return "'" + text + "'";
}

void OrphanRowProblem(const char* what, std::int64_t id, const std::string& name,
                      const std::map<std::string, std::string>& failedNames, Findings& findings)
{
    const auto failed = failedNames.find(name);
    if (failed != failedNames.end()) {
        findings.Add(kFailedLeftNothing, failed->second + " reported failed, yet " + what + " " +
                                             std::to_string(id) + " " + Quoted(name) +
                                             " is in the file");
    } else {
        findings.Add(kNoUnreported, std::string(what) + " " + std::to_string(id) + " " +
                                        Quoted(name) + " is in the file, no journal made it");
    }
}

// ---- bugs -------------------------------------------------------------------

struct BugColumn {
    const char* key;  // journal field
    const char* column;
    bool number;
};

constexpr BugColumn kBugColumns[] = {{"desc", "Description", false},
                                     {"status", "StatusName", false},
                                     {"priority", "PriorityName", false},
                                     {"severity", "SeverityName", false},
                                     {"repro", "ReproductiveName", false},
                                     {"report", "Report", false},
                                     {"resolution", "Resolution", false},
                                     {"est", "EstimatedTime", true},
                                     {"version", "ReportedInVersionID", true},
                                     {"project", "ReportedInPrjID", true},
                                     {"class", "ClassID", true},
                                     {"by", "ReportedByID", true}};

std::string BugQuery()
{
    std::string sql = "SELECT BugID, ReportedDate";
    for (const BugColumn& c : kBugColumns) sql += std::string(", ") + c.column;
    return sql + " FROM tBugReport";
}

void CompareBug(std::int32_t id, const ExpectedBug& bug, const SqliteFile::Row& row,
                Findings& findings)
{
    for (std::size_t i = 0; i < std::size(kBugColumns); ++i) {
        const BugColumn& c = kBugColumns[i];
        const int index = static_cast<int>(i) + 2;
        const std::string stored = c.number ? std::to_string(row.Int(index)) : row.Text(index);
        std::string wanted = bug.values.Get(c.key);
        if (c.number && wanted.empty()) wanted = "0";
        if (stored != wanted)
            findings.Add(kDoneInFile, "bug " + std::to_string(id) + " " + c.column + " is " +
                                          Quoted(stored) + ", " + bug.origin + " implies " +
                                          Quoted(wanted));
    }
    if (std::fabs(row.Real(1) - bug.values.Real("date")) > 1e-6)
        findings.Add(kDoneInFile,
                     "bug " + std::to_string(id) + " ReportedDate differs from " + bug.origin);
}

void CheckBugs(const ExpectedState& expected, const SqliteFile& file, Findings& findings)
{
    std::set<std::int32_t> seen;
    file.ForEach(BugQuery(), [&](const SqliteFile::Row& row) {
        const auto id = static_cast<std::int32_t>(row.Int(0));
        seen.insert(id);
        const auto found = expected.bugs.find(id);
        if (found == expected.bugs.end()) {
            OrphanRowProblem("bug", id, row.Text(2), expected.failedBugTags, findings);
        } else if (!found->second.live) {
            findings.Add(kDoneInFile, found->second.origin + " reported bug " + std::to_string(id) +
                                          " deleted, yet it is in the file");
        } else {
            CompareBug(id, found->second, row, findings);
        }
    });
    for (const auto& [id, bug] : expected.bugs)
        if (bug.live && seen.count(id) == 0)
            findings.Add(kDoneInFile,
                         "bug " + std::to_string(id) + " of " + bug.origin + " is missing");
}

// The names a bug row stores must be those of the records its numbers name
// (nobody renames users, the sample versions or classifications in a run).
void CheckStoredNames(const SqliteFile& file, Findings& findings)
{
    const char* const check = "names stored in bugs match the records they name";
    file.ForEach(
        "SELECT b.BugID, 'ReportedBy ' || coalesce(b.ReportedBy, 'NULL') || ' for ' || "
        "coalesce(u.UserName, 'no user') FROM tBugReport b LEFT JOIN tUser u "
        "ON u.UserID = b.ReportedByID WHERE b.ReportedBy IS DISTINCT FROM u.UserName "
        "UNION ALL SELECT b.BugID, 'ReportedInVersion ' || coalesce(b.ReportedInVersion, 'NULL') "
        "|| ' for ' || coalesce(v.VersionName, 'no version') FROM tBugReport b LEFT JOIN tVersion "
        "v "
        "ON v.VersionID = b.ReportedInVersionID WHERE b.ReportedInVersion IS DISTINCT FROM "
        "v.VersionName "
        "UNION ALL SELECT b.BugID, 'Classification ' || coalesce(b.Classification, 'NULL') || "
        "' for ' || coalesce(c.ClassName, 'none') FROM tBugReport b LEFT JOIN tClassification c "
        "ON c.ClassificationID = b.ClassID WHERE b.Classification IS DISTINCT FROM c.ClassName",
        [&](const SqliteFile::Row& row) {
            findings.Add(check, "bug " + row.Text(0) + ": " + row.Text(1));
        });
}

// ---- attachments ------------------------------------------------------------

void CompareAttachment(std::int32_t id, const ExpectedAttachment& a, const SqliteFile::Row& row,
                       Findings& findings)
{
    const std::string what = "attachment " + std::to_string(id) + " of " + a.origin + ": ";
    if (row.Int(1) != a.bug || row.Text(2) != a.name || row.Int(3) != a.size)
        findings.Add(kDoneInFile, what + "bug, name or size differ (" + std::to_string(row.Int(1)) +
                                      ", " + row.Text(2) + ", " + std::to_string(row.Int(3)) + ")");
    const ArchiveContent content = InspectArchive(row.Blob(4));
    if (!content.problem.empty()) {
        findings.Add(kDoneInFile, what + "stored archive " + content.problem);
    } else if (content.entryName != a.name || content.size != static_cast<std::uint64_t>(a.size) ||
               content.crc != a.crc) {
        findings.Add(kDoneInFile, what + "stored archive holds other data than the file added");
    }
}

void CheckAttachments(const ExpectedState& expected, const SqliteFile& file, Findings& findings)
{
    std::set<std::int32_t> seen;
    file.ForEach(
        "SELECT AttachmentID, BugID, FileName, FileSize, FileData FROM tAttachment",
        [&](const SqliteFile::Row& row) {
            const auto id = static_cast<std::int32_t>(row.Int(0));
            seen.insert(id);
            const auto found = expected.attachments.find(id);
            if (found == expected.attachments.end()) {
                OrphanRowProblem("attachment", id, row.Text(2), expected.failedFileNames, findings);
            } else if (!found->second.live) {
                findings.Add(kDoneInFile, found->second.origin + " removed attachment " +
                                              std::to_string(id) + ", yet it is in the file");
            } else {
                CompareAttachment(id, found->second, row, findings);
            }
        });
    for (const auto& [id, a] : expected.attachments)
        if (a.live && seen.count(id) == 0)
            findings.Add(kDoneInFile,
                         "attachment " + std::to_string(id) + " of " + a.origin + " is missing");
}

// ---- projects, versions, classifications --------------------------------------

bool IsSampleProject(std::int64_t id)
{
    return id == 1 || id == 2;
}
bool IsSampleVersion(std::int64_t id)
{
    return id >= 1 && id <= 4;
}

void CheckProjects(const ExpectedState& expected, const SqliteFile& file, Findings& findings)
{
    std::map<std::int32_t, std::map<std::int32_t, std::string>> versionsByProject;
    file.ForEach(
        "SELECT VersionID, ProjectID, VersionName FROM tVersion", [&](const SqliteFile::Row& row) {
            const auto id = static_cast<std::int32_t>(row.Int(0));
            const auto project = static_cast<std::int32_t>(row.Int(1));
            versionsByProject[project][id] = row.Text(2);
            if (!IsSampleVersion(id) && expected.projects.count(project) == 0 &&
                !IsSampleProject(project))
                OrphanRowProblem("version", id, row.Text(2), expected.failedVersionNames, findings);
            const auto failed = expected.failedVersionNames.find(row.Text(2));
            if (failed != expected.failedVersionNames.end())
                findings.Add(kFailedLeftNothing, failed->second + " reported failed, yet version " +
                                                     std::to_string(id) + " " +
                                                     Quoted(row.Text(2)) + " is in the file");
        });
    std::set<std::int32_t> seen;
    file.ForEach(
        "SELECT ProjectID, Name, Description FROM tProject", [&](const SqliteFile::Row& row) {
            const auto id = static_cast<std::int32_t>(row.Int(0));
            seen.insert(id);
            if (IsSampleProject(id)) return;
            const auto found = expected.projects.find(id);
            if (found == expected.projects.end())
                return OrphanRowProblem("project", id, row.Text(1), expected.failedProjectNames,
                                        findings);
            const ExpectedProject& p = found->second;
            if (!p.live)
                return findings.Add(kDoneInFile, p.origin + " deleted project " +
                                                     std::to_string(id) +
                                                     ", yet it is in the file");
            if (row.Text(1) != p.name || row.Text(2) != p.description)
                findings.Add(kDoneInFile, "project " + std::to_string(id) + " is " +
                                              Quoted(row.Text(1)) + ", " + p.origin + " implies " +
                                              Quoted(p.name));
            if (versionsByProject[id] != p.versions)
                findings.Add(kDoneInFile, "the versions of project " + std::to_string(id) +
                                              " differ from those " + p.origin + " reported");
        });
    for (const auto& [id, p] : expected.projects) {
        if (p.live && seen.count(id) == 0)
            findings.Add(kDoneInFile,
                         "project " + std::to_string(id) + " of " + p.origin + " is missing");
        if (!p.live && !versionsByProject[id].empty())
            findings.Add(kDoneInFile,
                         "deleted project " + std::to_string(id) + " left versions behind");
    }
}

void CheckClassifications(const ExpectedState& expected, const SqliteFile& file, Findings& findings)
{
    std::set<std::int32_t> seen;
    file.ForEach("SELECT ClassificationID, ProjectID, ClassName FROM tClassification",
                 [&](const SqliteFile::Row& row) {
                     const auto id = static_cast<std::int32_t>(row.Int(0));
                     seen.insert(id);
                     const auto found = expected.classifications.find(id);
                     if (found == expected.classifications.end())
                         return OrphanRowProblem("classification", id, row.Text(2),
                                                 expected.failedClassNames, findings);
                     if (row.Int(1) != found->second.project || row.Text(2) != found->second.name)
                         findings.Add(kDoneInFile, "classification " + std::to_string(id) +
                                                       " differs from " + found->second.origin);
                 });
    for (const auto& [id, c] : expected.classifications)
        if (seen.count(id) == 0)
            findings.Add(kDoneInFile, "classification " + std::to_string(id) + " of " + c.origin +
                                          " is missing");
}

// ---- users and roles ----------------------------------------------------------

void CheckUsers(const ExpectedState& expected, const SqliteFile& file, Findings& findings)
{
    const std::map<std::int64_t, RolePlan> roles = StoredRoles(file, findings);
    std::map<std::int64_t, std::int32_t> roleOwner;
    std::set<std::int32_t> seen;
    file.ForEach(
        "SELECT UserID, LoginName, UserName, coalesce(UserRightID, 0) FROM tUser",
        [&](const SqliteFile::Row& row) {
            const auto id = static_cast<std::int32_t>(row.Int(0));
            const std::int64_t role = row.Int(3);
            seen.insert(id);
            if (role != 0 && !roleOwner.emplace(role, id).second)
                findings.Add("each user set up in the run has a role of its own",
                             "users " + std::to_string(roleOwner[role]) + " and " +
                                 std::to_string(id) + " share role " + std::to_string(role));
            if (id == 1) return;
            const auto found = expected.users.find(id);
            if (found == expected.users.end())
                return OrphanRowProblem("user", id, row.Text(1), expected.failedLogins, findings);
            const ExpectedUser& user = found->second;
            if (row.Text(1) != user.login || row.Text(2) != user.name)
                findings.Add(kDoneInFile,
                             "user " + std::to_string(id) + " differs from " + user.origin);
            if (!user.hasRole) {
                if (role != 0)
                    findings.Add(kFailedLeftNothing, "user " + std::to_string(id) +
                                                         " has a role though no role was set");
                return;
            }
            const auto stored = roles.find(role);
            if (stored == roles.end() || !SameRole(stored->second, user.role))
                findings.Add(
                    kDoneInFile,
                    "the role of user " + std::to_string(id) + " (" +
                        (stored == roles.end() ? std::string("missing") : stored->second.Text()) +
                        ") is not the one " + user.origin + " set (" + user.role.Text() + ")");
        });
    for (const auto& [role, plan] : roles)
        if (roleOwner.count(role) == 0)
            findings.Add(kNoUnreported, "role " + std::to_string(role) + " belongs to no user");
    for (const auto& [id, user] : expected.users)
        if (seen.count(id) == 0)
            findings.Add(kDoneInFile,
                         "user " + std::to_string(id) + " of " + user.origin + " is missing");
}

}  // namespace

void CheckStateAgainstJournals(const ExpectedState& expected, const SqliteFile& file,
                               Findings& findings)
{
    CheckBugs(expected, file, findings);
    CheckStoredNames(file, findings);
    CheckAttachments(expected, file, findings);
    CheckProjects(expected, file, findings);
    CheckClassifications(expected, file, findings);
    CheckUsers(expected, file, findings);
}

void CheckIdentifiersUnique(const ExpectedState& expected, Findings& findings)
{
    for (const auto& [kind, ids] : expected.handedOut)
        for (const auto& [id, origins] : ids)
            if (origins.size() > 1)
                findings.Add(kHandedOutTwice, kind + " " + std::to_string(id) + " went to " +
                                                  origins[0] + " and " + origins[1]);
}

}  // namespace stress
