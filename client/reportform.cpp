#include "client/reportform.h"

#include <QTextBrowser>
#include <QVBoxLayout>

#include "widgets/textdocumentconverter.h"

namespace nimbra {

namespace {

using TextGetter = lindor::HRESULT (lindor::IBug::*)(std::string*);

TextGetter GetterFor(int textIndex)
{
    switch (textIndex) {
        case 2:
            return &lindor::IBug::get_RecreateStep;
        case 3:
            return &lindor::IBug::get_Workaround;
        case 4:
            return &lindor::IBug::get_Resolution;
        default:
            return &lindor::IBug::get_Report;
    }
}

}  // namespace

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
    if (bug == nullptr || (bug->*GetterFor(textIndex_))(&rtf) != lindor::S_OK) rtf.clear();
    showRtf(rtf);
}

void ReportForm::showRtf(const std::string& rtf)
{
    TextDocumentConverter::fillFromStoredText(rtf, browser_->document());
}

}  // namespace nimbra
