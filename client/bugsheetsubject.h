// What every page of the bug editor works on: the bug, new or stored, the
// user's rights in the active project, and the facts of the context the
// pages show and write (read once when the editor opens).
#pragma once

#include <lindor/lindor.h>

#include <QString>

namespace nimbra {

struct BugSheetSubject {
    lindor::ComPtr<lindor::IExeContext> context;
    lindor::ComPtr<lindor::IBug> bug;
    bool newReport = true;
    // Never null: without rights in the project, a right that allows nothing.
    lindor::ComPtr<lindor::IRight> right;
    QString loadedStatus;  // the bug's status when the editor read it
    int userId = 0;
    QString userName;
    int projectId = 0;
    QString projectName;
    QString versionName;  // of the active version; empty when none is active
    QString dateFormat;   // of the options, for the attachment dates

    // Reads the facts for `bug`; false after an engine failure (its
    // description left for the caller).
    bool read(lindor::IExeContext* context, lindor::IBug* bug, bool isNew);
};

}  // namespace nimbra
