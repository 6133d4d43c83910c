// What the client's bug editor does to a bug, for the command line: the
// defaults of a new report, the field rights of an edit, the status rules
// (who resolved and verified, and when) and the stamp of the last change.
#pragma once

#include <string>
#include <vector>

#include "catalog.h"
#include "fieldvalues.h"
#include "session.h"

namespace cli {

// One field and the text it is given, from --set FIELD=VALUE or an import.
struct Assignment {
    const BugField* field = nullptr;
    std::string value;
};

// Reads "FIELD=VALUE" texts; a usage error for any other form or an unknown field.
std::vector<Assignment> ParseAssignments(const std::vector<std::string>& texts);

enum class EditMode {
    NewReport,  // add: the defaults of a new report, no field rights
    Edit,       // update: each field needs its right
    Import      // import: as a new report, and the people of the record are kept
};

class BugEditor {
public:
    BugEditor(const Session& session, Catalog& catalog);

    // A new bug with the defaults of a new report in the active project and
    // version: status "New", the user as reporter, now as report, change and
    // due date, an estimate of 60 minutes, and the default priority,
    // severity, reproducibility and classification.
    ComPtr<lindor::IBug> NewReport();

    // Applies the assignments. A field the mode does not let the user give,
    // or a status his rights do not offer, is refused before anything changes.
    void Apply(lindor::IBug* bug, const std::vector<Assignment>& assignments, EditMode mode);

private:
    void CheckAllowed(lindor::IBug* bug, const std::vector<Assignment>& assignments, EditMode mode);
    void CheckStatus(const std::string& status);
    void ApplyStatusRules(lindor::IBug* bug, const std::string& before, const std::string& after);
    void CheckComplete(lindor::IBug* bug);
    std::string DefaultName(NameList list, std::size_t index);

    const Session& session_;
    Catalog& catalog_;
    FieldWriter writer_;
    double now_;
};

}  // namespace cli
