#include "common/FileChecks.h"

#include <string>

#include "common/Findings.h"

namespace stress {
namespace {

struct Counter {
    const char* column;
    const char* table;
    const char* key;
};

constexpr Counter kCounters[] = {{"NextUserID", "tUser", "UserID"},
                                 {"NextSysInfoID", "tUserSystemInfo", "UserSystemInfoID"},
                                 {"NextRightID", "tRight", "RightID"},
                                 {"NextUserRightID", "tUserRight", "UserRightID"},
                                 {"NextBugID", "tBugReport", "BugID"},
                                 {"NextClassID", "tClassification", "ClassificationID"},
                                 {"NextAttachmentID", "tAttachment", "AttachmentID"},
                                 {"NextProjectID", "tProject", "ProjectID"},
                                 {"NextVersionID", "tVersion", "VersionID"}};

struct OrphanQuery {
    const char* check;
    const char* sql;  // one text column describing each orphan
};

constexpr OrphanQuery kOrphans[] = {
    {"no attachment without its bug",
     "SELECT 'attachment ' || a.AttachmentID || ' of bug ' || a.BugID FROM tAttachment a "
     "LEFT JOIN tBugReport b ON b.BugID = a.BugID WHERE b.BugID IS NULL"},
    {"no available status without its rights row",
     "SELECT 'status ' || s.StatusName || ' of right ' || s.RightID FROM tAvailableStatus s "
     "LEFT JOIN tRight r ON r.RightID = s.RightID WHERE r.RightID IS NULL"},
    {"no rights row without its role",
     "SELECT 'right ' || r.RightID || ' of role ' || r.UserRightID FROM tRight r "
     "LEFT JOIN tUserRight u ON u.UserRightID = r.UserRightID WHERE u.UserRightID IS NULL"},
    {"no rights row for a missing project",
     "SELECT 'right ' || r.RightID || ' for project ' || r.ProjectID FROM tRight r "
     "LEFT JOIN tProject p ON p.ProjectID = r.ProjectID WHERE p.ProjectID IS NULL"},
    {"no version without its project",
     "SELECT 'version ' || v.VersionID || ' of project ' || v.ProjectID FROM tVersion v "
     "LEFT JOIN tProject p ON p.ProjectID = v.ProjectID WHERE p.ProjectID IS NULL"},
    {"no classification without its project",
     "SELECT 'classification ' || c.ClassificationID || ' of project ' || c.ProjectID "
     "FROM tClassification c LEFT JOIN tProject p ON p.ProjectID = c.ProjectID "
     "WHERE p.ProjectID IS NULL"},
    {"no classification assignment to a missing user or classification",
     "SELECT 'user ' || uc.UserID || ' classification ' || uc.ClassificationID "
     "FROM tUserClassification uc LEFT JOIN tUser u ON u.UserID = uc.UserID "
     "LEFT JOIN tClassification c ON c.ClassificationID = uc.ClassificationID "
     "WHERE u.UserID IS NULL OR c.ClassificationID IS NULL"},
    {"no bug reported in a version that is gone",
     "SELECT 'bug ' || b.BugID || ' in version ' || b.ReportedInVersionID FROM tBugReport b "
     "LEFT JOIN tVersion v ON v.VersionID = b.ReportedInVersionID "
     "WHERE b.ReportedInVersionID <> 0 AND v.VersionID IS NULL"}};

}  // namespace

void CheckIntact(const SqliteFile& file, Findings& findings)
{
    for (const std::string& problem : file.IntegrityProblems())
        findings.Add("file intact (integrity_check, foreign_key_check)", problem);
}

void CheckCounters(const SqliteFile& file, Findings& findings)
{
    for (const Counter& counter : kCounters) {
        const std::int64_t next =
            file.Number(std::string("SELECT ") + counter.column + " FROM tNextID");
        const std::int64_t largest = file.Number(std::string("SELECT coalesce(max(") + counter.key +
                                                 "), 0) FROM " + counter.table);
        if (next <= largest)
            findings.Add("every tNextID counter above the largest identifier of its table",
                         std::string(counter.column) + " is " + std::to_string(next) + " but " +
                             counter.table + " holds " + counter.key + " " +
                             std::to_string(largest));
    }
    const std::int64_t rows = file.Number("SELECT count(*) FROM tNextID");
    if (rows != 1)
        findings.Add("every tNextID counter above the largest identifier of its table",
                     "tNextID holds " + std::to_string(rows) + " rows instead of one");
}

void CheckNoOrphans(const SqliteFile& file, Findings& findings)
{
    for (const OrphanQuery& query : kOrphans)
        file.ForEach(query.sql,
                     [&](const SqliteFile::Row& row) { findings.Add(query.check, row.Text(0)); });
}

}  // namespace stress
