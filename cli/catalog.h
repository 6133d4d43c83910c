// The names a user types for look-up fields (users, versions,
// classifications, statuses and the other name lists), read from the engine
// once per command when first needed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "nameditem.h"
#include "session.h"

namespace cli {

struct UserEntry {
    std::int32_t id = 0;
    std::string login;
    std::string name;
};

enum class NameList { Status, Priority, Severity, Reproductive };

class Catalog {
public:
    explicit Catalog(const Session& session) : session_(session) {}

    const std::vector<UserEntry>& Users();
    // The versions and the classifications of the active project.
    const std::vector<NamedItem>& Versions();
    const std::vector<NamedItem>& Classifications();
    // Every name of a list; for statuses, every status of the database.
    const std::vector<std::string>& Names(NameList list);
    // The statuses the user's rights in the active project may set.
    const std::vector<std::string>& AvailableStatuses();

    // The user with that login, else with that name (letter case aside);
    // a usage error when none has it.
    const UserEntry& User(const std::string& loginOrName);
    std::int32_t VersionID(const std::string& nameOrID);
    std::int32_t ClassificationID(const std::string& nameOrID);
    // The list's own spelling of a name; a usage error for a name not in it.
    std::string ListName(NameList list, const std::string& name);

private:
    const Session& session_;
    std::optional<std::vector<UserEntry>> users_;
    std::optional<std::vector<NamedItem>> versions_;
    std::optional<std::vector<NamedItem>> classifications_;
    std::optional<std::vector<std::string>> lists_[4];
    std::optional<std::vector<std::string>> availableStatuses_;
};

// The word a message uses for a list ("status", "priority", ...).
const char* ListWord(NameList list);

}  // namespace cli
