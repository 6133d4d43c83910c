// The bugs' rows (tBugReport), and the names a bug copies from the rows of
// others. Every function works on the caller's connection and throws
// DatabaseError.
#pragma once

#include <cstdint>
#include <string>

#include "db/Connection.h"
#include "db/Recordset.h"

namespace lindor::stores {

// Opens `rows` updatable on the bugs that match `condition` (a filter text
// of the engine's own making, or empty for every bug), ordered by `order`
// (a column with its direction).
void OpenBugList(db::Recordset& rows, db::Connection& connection, const std::string& condition,
                 const std::string& order);

// The project and version bug `id` names; false when there is no such bug.
bool ReadBugPlacement(db::Connection& connection, std::int32_t id, std::int32_t* projectID,
                      std::int32_t* reportedInVersionID);

// Deletes bug `id` after its attachments; false (nothing deleted) when
// there is no such bug.
bool DeleteBugWithAttachments(db::Connection& connection, std::int32_t id);
// Deletes the bugs reported in the version, and the bugs that name the
// project as theirs, each after its attachments.
void DeleteBugsReportedIn(db::Connection& connection, std::int32_t versionID);
void DeleteBugsOfProject(db::Connection& connection, std::int32_t projectID);
// The bugs of the classification keep no classification at all.
void DetachBugsFromClassification(db::Connection& connection, std::int32_t classificationID);

// Brings the names the bugs copy up to date: the user's name as reporter,
// fixer and verifier, the version's, the project's and the classification's.
void RewriteUserNameInBugs(db::Connection& connection, std::int32_t userID,
                           const std::string& name);
void RewriteVersionNameInBugs(db::Connection& connection, std::int32_t versionID,
                              const std::string& name);
void RewriteProjectNameInBugs(db::Connection& connection, std::int32_t projectID,
                              const std::string& name);
void RewriteClassificationNameInBugs(db::Connection& connection, std::int32_t classificationID,
                                     const std::string& name);

// The user name a bug copies for user `userID` into `name`; false when no
// user has that number.
bool ReadUserNameForBug(db::Connection& connection, std::int32_t userID, std::string* name);

}  // namespace lindor::stores
