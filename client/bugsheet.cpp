#include "client/bugsheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "client/attachmentpage.h"
#include "client/bugtextfields.h"
#include "client/generalpage.h"
#include "client/reportpage.h"
#include "widgets/engineerror.h"
#include "widgets/helpviewer.h"
#include "widgets/messages.h"

namespace nimbra {

namespace {

const QString kHelpPage = QStringLiteral("Bug_New.htm");

const char* const kTextIcons[BugTextFields::kCount] = {"report", "recreatestep", "workaround",
                                                       "resolution"};

QIcon PageIcon(const char* name)
{
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

QString TitleOf(BugSheet::Mode mode, lindor::eBugType listType)
{
    if (mode == BugSheet::Mode::New) return QObject::tr("New");
    return listType == lindor::eFeature ? QObject::tr("Edit Feature") : QObject::tr("Edit Bug");
}

}  // namespace

BugSheet::BugSheet(lindor::IExeContext* context, lindor::IBug* bug, Mode mode,
                   lindor::eBugType listType, const QString& dateFormat, QWidget* parent)
    : QDialog(parent), context_(context), bug_(bug), mode_(mode), dateFormat_(dateFormat)
{
    setObjectName(QStringLiteral("bugSheet"));
    setWindowTitle(TitleOf(mode, listType));
    if (!bug_) lindor::CreateObject<lindor::IBug>("Lindor.Bug.1", bug_.put());
    build();
}

BugSheet::~BugSheet() = default;

void BugSheet::build()
{
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("bugSheetPages"));
    general_ = new GeneralPage(tabs_);
    tabs_->addTab(general_, PageIcon("general"), tr("General"));
    for (int index = 0; index < BugTextFields::kCount; ++index) {
        auto* page = new ReportPage(index, tabs_);
        texts_.append(page);
        tabs_->addTab(page, PageIcon(kTextIcons[index]), page->title());
    }
    attachments_ = new AttachmentPage(tabs_);
    tabs_->addTab(attachments_, PageIcon("attachment"), tr("Attachment"));

    buttons_ = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &BugSheet::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &BugSheet::reject);
    connect(buttons_, &QDialogButtonBox::helpRequested, this, &BugSheet::showHelp);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &BugSheet::showHelp);
    connect(tabs_, &QTabWidget::currentChanged, this, &BugSheet::leavePage);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addWidget(buttons_);
    resize(700, 580);
}

const PendingAttachments& BugSheet::pendingAttachments() const
{
    return attachments_->pending();
}

bool BugSheet::load()
{
    if (!bug_ || !fillPages()) {
        EngineError::show(this);
        return false;
    }
    return true;
}

bool BugSheet::reload(lindor::IBug* bug)
{
    bug_ = lindor::ComPtr<lindor::IBug>(bug);
    return load();
}

bool BugSheet::fillPages()
{
    BugSheetSubject subject;
    if (!subject.read(context_.get(), bug_.get(), mode_ == Mode::New)) return false;
    subject.dateFormat = dateFormat_;
    if (!general_->load(subject)) return false;
    for (ReportPage* page : texts_) page->load(subject);
    return attachments_->load(subject);
}

// Leaving the General page needs what it holds to be storable.
void BugSheet::leavePage(int index)
{
    const int left = currentPage_;
    currentPage_ = index;
    if (left != 0 || index == 0 || generalIsComplete()) return;
    const QSignalBlocker quiet(tabs_);
    tabs_->setCurrentIndex(0);
    currentPage_ = 0;
}

bool BugSheet::generalIsComplete()
{
    const QString problem = general_->problem();
    if (problem.isEmpty()) return true;
    Messages::warning(this, problem);
    general_->setFocus();
    return false;
}

bool BugSheet::writePages()
{
    if (!general_->writeTo(bug_.get())) return false;
    for (const ReportPage* page : texts_) {
        if (!page->writeTo(bug_.get())) return false;
    }
    return true;
}

void BugSheet::accept()
{
    if (!generalIsComplete()) {
        tabs_->setCurrentWidget(general_);
        return;
    }
    if (!writePages()) {
        EngineError::show(this);
        return;
    }
    if (store_ && !store_(*this)) return;
    QDialog::accept();
}

void BugSheet::showHelp()
{
    HelpViewer::open(this, kHelpPage);
}

}  // namespace nimbra
