#include "run/ExpectedState.h"

#include <cstdlib>

#include "run/Operations.h"

namespace stress {
namespace {

std::int32_t Id(const Record& record, const char* key)
{
    return static_cast<std::int32_t>(record.Number(key));
}

// The version name an update added or gave, from "add:<name>" or
// "rename:<index>:<name>".
std::string NewVersionName(const std::string& change)
{
    const std::size_t colon = change.rfind(':');
    return change.rfind("remove", 0) == 0 || colon == std::string::npos ? std::string()
                                                                        : change.substr(colon + 1);
}

}  // namespace

std::map<std::int32_t, std::string> ParseVersions(const std::string& text)
{
    std::map<std::int32_t, std::string> versions;
    for (const std::string& item : SplitList(text)) {
        const std::size_t colon = item.find(':');
        versions[static_cast<std::int32_t>(std::atol(item.substr(0, colon).c_str()))] =
            colon == std::string::npos ? std::string() : item.substr(colon + 1);
    }
    return versions;
}

void ExpectedState::ApplyJournal(const std::vector<Record>& records, const std::string& who,
                                 Findings& findings)
{
    for (const Record& record : records)
        Apply(record, who + " #" + record.Get("seq") + " " + record.Get("op"), findings);
}

void ExpectedState::HandOut(const std::string& kind, std::int64_t id, const std::string& origin)
{
    handedOut[kind][static_cast<std::int32_t>(id)].push_back(origin);
}

void ExpectedState::Apply(const Record& record, const std::string& origin, Findings& findings)
{
    const std::string verdict = record.Get("verdict");
    if (verdict == op::kDone) ApplyDone(record, origin, findings);
    if (verdict == op::kFailed) ApplyFailed(record, origin);
}

void ExpectedState::ApplyFailed(const Record& r, const std::string& origin)
{
    const std::string op = r.Get("op");
    if (op == op::kAddBug) failedBugTags[r.Get("desc")] = origin;
    if (op == op::kAddAttachment) failedFileNames[r.Get("name")] = origin;
    if (op == op::kAddClassification) failedClassNames[r.Get("name")] = origin;
    if (op == op::kAddUser) failedLogins[r.Get("login")] = origin;
    if (op == op::kAddProject || op == op::kUpdateProject) {
        if (r.Has("name")) failedProjectNames[r.Get("name")] = origin;
        for (const std::string& name : SplitList(r.Get("versionNames")))
            failedVersionNames[name] = origin;
        const std::string changed = NewVersionName(r.Get("versionChange"));
        if (!changed.empty()) failedVersionNames[changed] = origin;
    }
}

void ExpectedState::ApplyDone(const Record& r, const std::string& origin, Findings& findings)
{
    const std::string op = r.Get("op");
    const auto unknown = [&](const char* what, std::int64_t id) {
        findings.Add("journals consistent", origin + " reported done on " + what + " " +
                                                std::to_string(id) +
                                                " that no earlier operation made");
    };
    if (op == op::kSetupUser || op == op::kAddUser) {
        ExpectedUser& user = users[Id(r, "id")];
        user = ExpectedUser{origin, r.Get("login"), r.Get("name"), r.Has("role"),
                            RolePlan::Parse(r.Get("role")).Stored()};
        HandOut("user", r.Number("id"), origin);
    } else if (op == op::kAddBug) {
        bugs[Id(r, "id")] = ExpectedBug{origin, r, true};
        HandOut("bug", r.Number("id"), origin);
        if (r.Number("listAfter") != r.Number("listBefore") + 1)
            findings.Add("a bug added through a bug set is in it once",
                         origin + ": the list went from " + r.Get("listBefore") + " to " +
                             r.Get("listAfter") + " rows");
    } else if (op == op::kUpdateBug) {
        const auto found = bugs.find(Id(r, "id"));
        if (found == bugs.end() || !found->second.live) return unknown("bug", r.Number("id"));
        for (const char* key : {"status", "priority", "resolution", "est", "class"})
            found->second.values.Set(key, r.Get(key));
        found->second.origin = origin;
    } else if (op == op::kDeleteBug) {
        const auto found = bugs.find(Id(r, "id"));
        if (found == bugs.end()) return unknown("bug", r.Number("id"));
        found->second.live = false;
        found->second.origin = origin;
        for (auto& entry : attachments)
            if (entry.second.bug == found->first) entry.second.live = false;
    } else if (op == op::kAddAttachment) {
        attachments[Id(r, "id")] = ExpectedAttachment{origin,
                                                      Id(r, "bug"),
                                                      r.Get("name"),
                                                      r.Number("size"),
                                                      static_cast<std::uint32_t>(r.Number("crc")),
                                                      true};
        HandOut("attachment", r.Number("id"), origin);
    } else if (op == op::kRemoveAttachment) {
        const auto found = attachments.find(Id(r, "id"));
        if (found == attachments.end()) return unknown("attachment", r.Number("id"));
        found->second.live = false;
        found->second.origin = origin;
    } else if (op == op::kAddProject || op == op::kUpdateProject) {
        if (op == op::kUpdateProject && projects.count(Id(r, "id")) == 0)
            return unknown("project", r.Number("id"));
        ExpectedProject& project = projects[Id(r, "id")];
        const auto versions = ParseVersions(r.Get("versions"));
        for (const auto& version : versions)
            if (project.versions.count(version.first) == 0)
                HandOut("version", version.first, origin);
        project = ExpectedProject{origin, r.Get("name"), r.Get("desc"), versions, true};
        if (op == op::kAddProject) HandOut("project", r.Number("id"), origin);
    } else if (op == op::kDeleteProject) {
        const auto found = projects.find(Id(r, "id"));
        if (found == projects.end()) return unknown("project", r.Number("id"));
        found->second.live = false;
        found->second.origin = origin;
    } else if (op == op::kAddClassification) {
        classifications[Id(r, "id")] =
            ExpectedClassification{origin, Id(r, "project"), r.Get("name")};
        HandOut("classification", r.Number("id"), origin);
    } else if (op == op::kSetRole) {
        const auto found = users.find(Id(r, "user"));
        if (found == users.end()) return unknown("user", r.Number("user"));
        found->second.hasRole = true;
        found->second.role = RolePlan::Parse(r.Get("role")).Stored();
        found->second.origin = origin;
        for (const std::string& id : SplitList(r.Get("rightIDs")))
            HandOut("right", std::atol(id.c_str()), origin);
    }
}

}  // namespace stress
