// What the General page of the bug editor does for a status and for the
// user's rights, without the page: which controls are enabled, which groups
// show, and where the resolution and verification values come from.
#pragma once

#include <lindor/lindor.h>

#include <QMap>
#include <QString>

namespace nimbra {

// The controls of the General page that rights or the status rules enable.
enum class GeneralControl {
    Type,
    Description,
    Status,
    Severity,
    Priority,
    Reproductive,
    Classification,
    DateDue,
    EstimateTime,
    ReportedDate,
    ReportedInVersion,
    ResolvedDate,
    ResolvedInVersion,
    VerifiedDate
};

// What a status says about a control.
enum class Gate {
    Open,    // nothing: the control follows the user's rights
    Closed,  // disabled whatever the rights
    ByRight  // enabled by its right, in a new report as well
};

// Where the values of a group come from.
enum class Fill {
    Keep,     // left as they are
    FromBug,  // as the bug holds them
    Stamp,    // the current user, now and the active version
    Clear     // nobody, no date, no version
};

enum class Visibility { Hidden, Shown, ShownWhenDated };

struct StatusOutcome {
    QMap<GeneralControl, Gate> gates;
    Fill reported = Fill::Keep;  // Stamp: the current user is shown as reporter
    Fill resolved = Fill::Keep;
    Fill verified = Fill::Keep;
    Visibility resolvedGroup = Visibility::Hidden;
    Visibility verifiedGroup = Visibility::Hidden;
};

class GeneralRules {
public:
    // `right` may be null (no right at all).
    GeneralRules(bool newReport, lindor::IRight* right);

    // What showing `status` does; `loading` while the page is filled from
    // the bug, before the user picked a status.
    StatusOutcome outcomeOf(const QString& status, bool loading) const;
    // Whether a control is enabled under the gate the status gave it. A new
    // report is not held to the rights, except where the status says so;
    // its status is always "New".
    bool enabled(GeneralControl control, Gate gate) const;

private:
    bool newReport_;
    lindor::ComPtr<lindor::IRight> right_;
};

}  // namespace nimbra
