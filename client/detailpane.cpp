#include "client/detailpane.h"

#include <QScrollArea>
#include <QTabWidget>

#include "client/attachmentform.h"
#include "client/generalform.h"
#include "client/reportform.h"
#include "client/sysinfoform.h"

namespace nimbra {

namespace {

QIcon Icon(const char* name)
{
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

}  // namespace

DetailPane::DetailPane(QWidget* parent) : QDockWidget(tr("Detail Infomation"), parent)
{
    setObjectName(QStringLiteral("detailPane"));
    setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("detailTabs"));
    tabs_->setDocumentMode(true);
    // The fields scroll when the pane is kept low, so the lists keep the room.
    auto* generalScroll = new QScrollArea(tabs_);
    generalScroll->setFrameShape(QFrame::NoFrame);
    generalScroll->setWidgetResizable(true);
    general_ = new GeneralForm(generalScroll);
    generalScroll->setWidget(general_);
    tabs_->addTab(generalScroll, Icon("general"), tr("General"));
    const char* const textTabs[] = {"Report", "RecreateStep", "Workaround", "Resolution"};
    const char* const textIcons[] = {"report", "recreatestep", "workaround", "resolution"};
    for (int i = 0; i < 4; ++i) {
        auto* form = new ReportForm(i + 1, tabs_);
        texts_.append(form);
        tabs_->addTab(form, Icon(textIcons[i]), tr(textTabs[i]));
    }
    attachments_ = new AttachmentForm(tabs_);
    tabs_->addTab(attachments_, Icon("attachment"), tr("Attachment"));
    sysInfo_ = new SysInfoForm(tabs_);
    tabs_->addTab(sysInfo_, Icon("sysinfo"), tr("System Infomation"));
    setWidget(tabs_);
}

ReportForm* DetailPane::textForm(int textIndex) const
{
    return texts_.value(textIndex - 1);
}

void DetailPane::showBug(lindor::IExeContext* context, lindor::IBug* bug, const QString& dateFormat)
{
    general_->showBug(bug, dateFormat);
    for (ReportForm* form : texts_) form->showBug(bug);
    lindor::ComPtr<lindor::IFileSet> files;
    if (bug != nullptr) bug->get_AttachedFiles(files.put());
    attachments_->showFiles(files.get(), dateFormat);
    sysInfo_->showReporterOf(context, bug);
}

}  // namespace nimbra
