// What the file must hold after a run, as the journals imply it: every
// object an operation reported done, with the values of the last operation
// on it that was reported done; the names that adds reported failed would
// have carried; and every identifier handed out, with who got it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/Findings.h"
#include "common/Journal.h"
#include "common/RolePlan.h"

namespace stress {

struct ExpectedBug {
    std::string origin;
    Record values;  // the fields an add or update wrote, by journal name
    bool live = true;
};

struct ExpectedAttachment {
    std::string origin;
    std::int32_t bug = 0;
    std::string name;
    std::int64_t size = 0;
    std::uint32_t crc = 0;
    bool live = true;
};

struct ExpectedProject {
    std::string origin;
    std::string name, description;
    std::map<std::int32_t, std::string> versions;
    bool live = true;
};

struct ExpectedClassification {
    std::string origin;
    std::int32_t project = 0;
    std::string name;
};

struct ExpectedUser {
    std::string origin;
    std::string login, name;
    bool hasRole = false;
    RolePlan role;  // as stored: rights with every flag off are left out
};

class ExpectedState {
public:
    // Applies one journal's records in their order; `who` names the journal.
    void ApplyJournal(const std::vector<Record>& records, const std::string& who,
                      Findings& findings);

    std::map<std::int32_t, ExpectedBug> bugs;
    std::map<std::int32_t, ExpectedAttachment> attachments;
    std::map<std::int32_t, ExpectedProject> projects;
    std::map<std::int32_t, ExpectedClassification> classifications;
    std::map<std::int32_t, ExpectedUser> users;

    // Names an add or update reported failed would have stored, with its origin.
    std::map<std::string, std::string> failedBugTags, failedFileNames, failedProjectNames,
        failedVersionNames, failedClassNames, failedLogins;

    // Kind ("bug", "version", ...) -> identifier -> every origin that got it.
    std::map<std::string, std::map<std::int32_t, std::vector<std::string>>> handedOut;

private:
    void Apply(const Record& record, const std::string& origin, Findings& findings);
    void ApplyDone(const Record& record, const std::string& origin, Findings& findings);
    void ApplyFailed(const Record& record, const std::string& origin);
    void HandOut(const std::string& kind, std::int64_t id, const std::string& origin);
};

// "id:name|id:name" as the workers journal a project's versions.
std::map<std::int32_t, std::string> ParseVersions(const std::string& text);

}  // namespace stress
