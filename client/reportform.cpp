#include "client/reportform.h"

#include <QTextBrowser>
#include <QVBoxLayout>

#include "client/bugtextfields.h"
#include "widgets/textdocumentconverter.h"

namespace nimbra {

ReportForm::ReportForm(int textIndex, QWidget* parent) : QWidget(parent), textIndex_(textIndex)
{
    setObjectName(QStringLiteral("reportForm%1").arg(textIndex));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("reportText%1").arg(textIndex));
    browser_->setOpenLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
}

void ReportForm::showBug(lindor::IBug* bug)
{
    std::string rtf;
    if (bug == nullptr || (bug->*BugTextFields::at(textIndex_ - 1).get)(&rtf) != lindor::S_OK)
        rtf.clear();
    showRtf(rtf);
}

void ReportForm::showRtf(const std::string& rtf)
{
    TextDocumentConverter::fillFromStoredText(rtf, browser_->document());
}

}  // namespace nimbra
