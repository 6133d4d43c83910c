// When each command of the main window is enabled, decided from a snapshot
// of the window's state, so the rules can be checked without a window.
#pragma once

namespace nimbra {

struct CommandState {
    bool databaseOpen = false;
    bool loggedIn = false;  // the last OnLogin succeeded
    int curUserId = 0;
    int activeProjectId = 0;
    int selectedRows = 0;          // in the active list
    bool hasProjectRight = false;  // CurProjectRight exists
    bool rightAdd = false;
    bool rightDelete = false;
    bool rightEditBug = false;
};

class CommandRules {
public:
    explicit CommandRules(const CommandState& state) : s_(state) {}

    bool login() const { return s_.databaseOpen; }
    bool reportBug() const { return s_.activeProjectId > 0 && s_.hasProjectRight && s_.rightAdd; }
    bool edit() const { return s_.selectedRows == 1 && s_.activeProjectId != 0; }
    bool remove() const
    {
        return s_.selectedRows == 1 && s_.hasProjectRight && s_.rightDelete &&
               s_.activeProjectId != 0;
    }
    bool refreshOrPrint() const { return s_.loggedIn; }
    // Set Filters, Select Filter, Synchronize, System Information, Change Password.
    bool userCommands() const { return s_.curUserId != 0; }

    // The list's context menu.
    bool menuReport() const { return s_.activeProjectId != 0 && s_.hasProjectRight && s_.rightAdd; }
    bool menuEdit() const
    {
        return currentRow() && s_.hasProjectRight && s_.rightEditBug && s_.activeProjectId != 0;
    }
    bool menuDelete() const
    {
        return currentRow() && s_.hasProjectRight && s_.rightDelete && s_.activeProjectId != 0;
    }

private:
    bool currentRow() const { return s_.selectedRows > 0; }

    CommandState s_;
};

}  // namespace nimbra
