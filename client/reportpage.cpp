#include "client/reportpage.h"

#include "client/bugtextfields.h"

namespace nimbra {

ReportPage::ReportPage(int textIndex, QWidget* parent) : RichTextPage(parent), textIndex_(textIndex)
{
    setObjectName(QStringLiteral("reportPage%1").arg(textIndex));
}

QString ReportPage::title() const
{
    return tr(BugTextFields::at(textIndex_).title);
}

void ReportPage::load(const BugSheetSubject& subject)
{
    const BugTextField& field = BugTextFields::at(textIndex_);
    std::string stored;
    if (!subject.newReport) (subject.bug.get()->*field.get)(&stored);
    RichTextPage::load(stored);
    setReadOnly(!subject.newReport && !bugrules::MayEdit(subject.right.get(), field.right));
}

bool ReportPage::writeTo(lindor::IBug* bug) const
{
    return (bug->*BugTextFields::at(textIndex_).put)(storedText()) == lindor::S_OK;
}

}  // namespace nimbra
