// One of the four text pages of the bug editor ("Report", "Recreate Step",
// "Workaround", "Resolution"): the bug's rich text, editable when the user's
// rights allow that field.
#pragma once

#include <lindor/lindor.h>

#include "client/bugsheetsubject.h"
#include "widgets/richtextpage.h"

namespace nimbra {

class ReportPage : public RichTextPage {
    Q_OBJECT
public:
    // textIndex 0 to 3, in the order of the pages.
    explicit ReportPage(int textIndex, QWidget* parent = nullptr);

    int textIndex() const { return textIndex_; }
    QString title() const;

    // A new report starts empty and editable; a stored bug's text is
    // read-only without the field's right.
    void load(const BugSheetSubject& subject);
    // Writes the field back: the stored text as it was unless edited.
    bool writeTo(lindor::IBug* bug) const;

private:
    int textIndex_;
};

}  // namespace nimbra
