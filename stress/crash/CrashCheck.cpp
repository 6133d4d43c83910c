#include "crash/CrashCheck.h"

#include <functional>
#include <vector>

#include "common/Findings.h"
#include "common/StoredRoles.h"
#include "crash/CrashChild.h"
#include "crash/CrashKinds.h"

namespace stress::crash {
namespace {

std::string InList(const std::string& ids)
{
    return "(" + (ids.empty() ? "-1" : ids) + ")";
}
std::string Commas(const std::string& ids)
{
    std::string text = ids;
    for (char& c : text)
        if (c == '|') c = ',';
    return text;
}

std::int64_t CountWhere(const SqliteFile& file, const char* table, const char* column,
                        const std::string& ids)
{
    return file.Number(std::string("SELECT count(*) FROM ") + table + " WHERE " + column + " IN " +
                       InList(Commas(ids)));
}

// Whole when nothing of what was counted remains, absent when all of it does.
Verdict ByCounts(const std::vector<std::pair<std::string, std::pair<std::int64_t, std::int64_t>>>&
                     found /* what -> (present, prepared) */)
{
    bool none = true, all = true;
    std::string detail;
    for (const auto& [what, counts] : found) {
        none = none && counts.first == 0;
        all = all && counts.first == counts.second;
        detail +=
            what + " " + std::to_string(counts.first) + "/" + std::to_string(counts.second) + "; ";
    }
    if (none) return {Outcome::Whole, detail};
    if (all) return {Outcome::Absent, detail};
    return {Outcome::Partial, detail};
}

Verdict JudgeAddProject(const Record& ready, const SqliteFile& file)
{
    const std::string name = ready.Get("name");
    std::vector<std::int64_t> projects;
    file.ForEach("SELECT ProjectID FROM tProject WHERE Name = '" + name + "'",
                 [&](const SqliteFile::Row& row) { projects.push_back(row.Int(0)); });
    std::vector<std::int64_t> owners;
    file.ForEach("SELECT ProjectID, VersionName FROM tVersion", [&](const SqliteFile::Row& row) {
        if (row.Text(1).rfind(name + "-v", 0) == 0) owners.push_back(row.Int(0));
    });
    const std::string detail = std::to_string(projects.size()) + " project rows, " +
                               std::to_string(owners.size()) + " of " + ready.Get("versions") +
                               " versions";
    if (projects.empty() && owners.empty()) return {Outcome::Absent, detail};
    bool ownVersions = projects.size() == 1;
    for (const std::int64_t owner : owners) ownVersions = ownVersions && owner == projects[0];
    if (ownVersions && static_cast<std::int64_t>(owners.size()) == ready.Number("versions"))
        return {Outcome::Whole, detail};
    return {Outcome::Partial, detail};
}

Verdict JudgeDeleteProject(const Record& ready, const Record& setup, const SqliteFile& file)
{
    const auto count = [&](const char* key) {
        return static_cast<std::int64_t>(SplitIds(ready.Get(key)).size());
    };
    const std::string right = ready.Get("right");
    const std::int64_t assigned = file.Number(
        "SELECT count(*) FROM tUserClassification WHERE UserID = " + setup.Get("crashUser") +
        " AND ClassificationID IN " + InList(Commas(ready.Get("classes"))));
    return ByCounts(
        {{"project", {CountWhere(file, "tProject", "ProjectID", ready.Get("project")), 1}},
         {"versions",
          {CountWhere(file, "tVersion", "VersionID", ready.Get("versions")), count("versions")}},
         {"bugs", {CountWhere(file, "tBugReport", "BugID", ready.Get("bugs")), count("bugs")}},
         {"attachments",
          {CountWhere(file, "tAttachment", "AttachmentID", ready.Get("attachments")),
           count("attachments")}},
         {"classifications",
          {CountWhere(file, "tClassification", "ClassificationID", ready.Get("classes")),
           count("classes")}},
         {"assignments", {assigned, count("classes")}},
         {"rights row", {CountWhere(file, "tRight", "RightID", right), 1}},
         {"available statuses",
          {CountWhere(file, "tAvailableStatus", "RightID", right), ready.Number("statuses")}}});
}

Verdict JudgeDeleteBug(const Record& ready, const SqliteFile& file)
{
    return ByCounts({{"bug", {CountWhere(file, "tBugReport", "BugID", ready.Get("bug")), 1}},
                     {"attachments",
                      {CountWhere(file, "tAttachment", "AttachmentID", ready.Get("attachments")),
                       static_cast<std::int64_t>(SplitIds(ready.Get("attachments")).size())}}});
}

Verdict JudgeSetUserRight(const Record& ready, const Record& setup, const SqliteFile& file)
{
    Findings ignored;
    const std::int64_t role = file.Number(
        "SELECT coalesce(UserRightID, 0) FROM tUser WHERE UserID = " + setup.Get("victim"));
    const auto roles = StoredRoles(file, ignored);
    const auto found = roles.find(role);
    if (found == roles.end())
        return {Outcome::Partial, "the victim's role " + std::to_string(role) + " is missing"};
    if (SameRole(found->second, RolePlan::Parse(ready.Get("after")).Stored()))
        return {Outcome::Whole, ""};
    if (SameRole(found->second, RolePlan::Parse(ready.Get("before")).Stored()))
        return {Outcome::Absent, ""};
    return {Outcome::Partial, "role " + std::to_string(role) + " holds " + found->second.Text()};
}

Verdict JudgeSynchronize(const Record& ready, const Record& setup, const StoredNames& before,
                         const SqliteFile& file)
{
    const std::string user = ready.Get("user"), version = ready.Get("version");
    const std::string renamed = JoinList({user, user, user, version, version, ready.Get("class")});
    long isNew = 0, isOld = 0, other = 0;
    for (const auto& [bug, names] : ReadStoredNames(file, setup)) {
        if (names == renamed)
            ++isNew;
        else if (before.count(bug) != 0 && before.at(bug) == names)
            ++isOld;
        else
            ++other;
    }
    const std::string detail = std::to_string(isNew) + " bugs renamed, " + std::to_string(isOld) +
                               " as before, " + std::to_string(other) + " otherwise";
    if (other == 0 && isOld == 0) return {Outcome::Whole, detail};
    if (other == 0 && isNew == 0) return {Outcome::Absent, detail};
    return {Outcome::Partial, detail};
}

Verdict JudgeAddAttachment(const Record& ready, const SqliteFile& file)
{
    long rows = 0;
    Verdict verdict{Outcome::Absent, ""};
    file.ForEach("SELECT BugID, FileSize, FileData FROM tAttachment WHERE FileName = '" +
                     ready.Get("name") + "'",
                 [&](const SqliteFile::Row& row) {
                     ++rows;
                     const ArchiveContent content = InspectArchive(row.Blob(2));
                     const bool intact =
                         content.problem.empty() && content.entryName == ready.Get("name") &&
                         content.size == static_cast<std::uint64_t>(ready.Number("size")) &&
                         content.crc == static_cast<std::uint32_t>(ready.Number("crc")) &&
                         row.Int(0) == ready.Number("bug") && row.Int(1) == ready.Number("size");
                     verdict = intact ? Verdict{Outcome::Whole, ""}
                                      : Verdict{Outcome::Partial,
                                                "stored attachment damaged: " + content.problem};
                 });
    if (rows > 1) return {Outcome::Partial, std::to_string(rows) + " rows for one attachment"};
    return verdict;
}

}  // namespace

StoredNames ReadStoredNames(const SqliteFile& file, const Record& setup)
{
    StoredNames names;
    file.ForEach(
        "SELECT BugID, ReportedBy, FixedBy, VerifiedBy, ReportedInVersion, FixedInVersion, "
        "Classification FROM tBugReport WHERE BugID IN " +
            InList(Commas(setup.Get("syncBugs"))),
        [&](const SqliteFile::Row& row) {
            std::vector<std::string> texts;
            for (int i = 1; i <= 6; ++i) texts.push_back(row.Text(i));
            names[row.Int(0)] = JoinList(texts);
        });
    return names;
}

Verdict Judge(const std::string& kind, const Record& ready, const Record& setup,
              const StoredNames& namesBefore, const SqliteFile& file)
{
    if (kind == kAddProject) return JudgeAddProject(ready, file);
    if (kind == kDeleteProject) return JudgeDeleteProject(ready, setup, file);
    if (kind == kDeleteBug) return JudgeDeleteBug(ready, file);
    if (kind == kSetUserRight) return JudgeSetUserRight(ready, setup, file);
    if (kind == kSynchronize) return JudgeSynchronize(ready, setup, namesBefore, file);
    return JudgeAddAttachment(ready, file);
}

const char* OutcomeName(Outcome outcome)
{
    switch (outcome) {
        case Outcome::Whole:
            return "whole";
        case Outcome::Absent:
            return "absent";
        default:
            return "partial";
    }
}

}  // namespace stress::crash
