#include "client/generalpage.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "bugrules/newreport.h"
#include "bugrules/statusrules.h"
#include "client/enginevalues.h"
#include "widgets/dateedit.h"
#include "widgets/durationedit.h"
#include "widgets/enginedate.h"

namespace nimbra {

namespace {

using lindor::IBug;
using lindor::S_OK;

const QColor kDescriptionColor(90, 10, 10);
constexpr int kSecondsPerMinute = 60;

// The names of one of the context's lists (statuses, severities, ...).
template <class List>
bool FillNames(QComboBox* box, lindor::IExeContext* context,
               lindor::HRESULT (lindor::IExeContext::*get)(List**))
{
    lindor::ComPtr<List> names;
    if ((context->*get)(names.put()) != S_OK) return false;
    const std::int32_t count = NumberOf(names.get(), &List::get_Count);
    for (std::int32_t i = 0; i < count; ++i) {
        std::string name;
        if (names->get_Item(i, &name) == S_OK) box->addItem(QString::fromStdString(name));
    }
    return true;
}

bool FillClassifications(QComboBox* box, lindor::IProject* project)
{
    lindor::ComPtr<lindor::IClassificationSet> classes;
    if (project == nullptr) return true;
    if (project->get_ClassificationSet(classes.put()) != S_OK) return false;
    const std::int32_t count = NumberOf(classes.get(), &lindor::IClassificationSet::get_Count);
    for (std::int32_t i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IClassification> item;
        if (classes->get_Item(i, item.put()) != S_OK || !item) return false;
        box->addItem(TextOf(item.get(), &lindor::IClassification::get_Name),
                     NumberOf(item.get(), &lindor::IClassification::get_ID));
    }
    return true;
}

bool FillVersions(const QList<QComboBox*>& boxes, lindor::IProject* project)
{
    const std::int32_t count = NumberOf(project, &lindor::IProject::get_VersionCount);
    for (std::int32_t i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IVersion> version;
        if (project->get_Version(i, version.put()) != S_OK || !version) return false;
        for (QComboBox* box : boxes)
            box->addItem(TextOf(version.get(), &lindor::IVersion::get_Name),
                         NumberOf(version.get(), &lindor::IVersion::get_ID));
    }
    return true;
}

// Selects the entry of exactly that text; none when there is no such entry.
void SelectText(QComboBox* box, const QString& text)
{
    box->setCurrentIndex(
        text.isEmpty() ? -1 : box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void SelectIndex(QComboBox* box, std::size_t index)
{
    box->setCurrentIndex(index < static_cast<std::size_t>(box->count()) ? static_cast<int>(index)
                                                                        : -1);
}

std::int32_t SelectedId(const QComboBox* box)
{
    return box->currentIndex() < 0 ? 0 : box->currentData().toInt();
}

bool PutSelected(IBug* bug, lindor::HRESULT (IBug::*put)(const std::string&), const QComboBox* box)
{
    return box->currentIndex() < 0 || (bug->*put)(box->currentText().toStdString()) == S_OK;
}

}  // namespace

GeneralPage::GeneralPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("generalPage"));
    build();
    connectControls();
}

GeneralPage::~GeneralPage() = default;

QLabel* GeneralPage::addLabel(const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, this);
    label->setBuddy(buddy);
    return label;
}

void GeneralPage::addPair(int row, int column, QLabel* label, QWidget* field)
{
    grid_->addWidget(label, row, 2 * column);
    grid_->addWidget(field, row, 2 * column + 1);
}

QComboBox* GeneralPage::addList(const QString& name)
{
    auto* box = new QComboBox(this);
    box->setObjectName(name);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(12);
    return box;
}

QLineEdit* GeneralPage::addReadOnly(const QString& name)
{
    auto* text = new QLineEdit(this);
    text->setObjectName(name);
    text->setReadOnly(true);
    return text;
}

DateEdit* GeneralPage::addDate(const QString& name)
{
    auto* date = new DateEdit(this);
    date->setObjectName(name);
    return date;
}

void GeneralPage::build()
{
    grid_ = new QGridLayout(this);
    grid_->setContentsMargins(12, 12, 12, 12);
    grid_->setHorizontalSpacing(10);
    grid_->setVerticalSpacing(6);
    grid_->setColumnStretch(1, 1);
    grid_->setColumnStretch(3, 1);
    grid_->setColumnMinimumWidth(2, 120);

    auto* type = new QWidget(this);
    type->setObjectName(QStringLiteral("type"));
    bugButton_ = new QRadioButton(tr("&Bug"), type);
    bugButton_->setObjectName(QStringLiteral("bugType"));
    featureButton_ = new QRadioButton(tr("&Feature"), type);
    featureButton_->setObjectName(QStringLiteral("featureType"));
    auto* typeRow = new QHBoxLayout(type);
    typeRow->setContentsMargins(0, 0, 0, 0);
    typeRow->addWidget(bugButton_);
    typeRow->addSpacing(16);
    typeRow->addWidget(featureButton_);
    typeRow->addStretch(1);
    grid_->addWidget(type, 0, 1, 1, 3);

    description_ = new QLineEdit(this);
    description_->setObjectName(QStringLiteral("description"));
    descriptionLabel_ = addLabel(tr("&Description"), description_);
    QPalette dark = descriptionLabel_->palette();
    dark.setColor(QPalette::WindowText, kDescriptionColor);
    descriptionLabel_->setPalette(dark);
    grid_->addWidget(descriptionLabel_, 1, 0);
    grid_->addWidget(description_, 1, 1, 1, 3);

    status_ = addList(QStringLiteral("status"));
    // The stored status shows even when the user may not set it himself.
    status_->setEditable(true);
    status_->lineEdit()->setReadOnly(true);
    status_->setInsertPolicy(QComboBox::NoInsert);
    severity_ = addList(QStringLiteral("severity"));
    priority_ = addList(QStringLiteral("priority"));
    reproductive_ = addList(QStringLiteral("reproductive"));
    classification_ = addList(QStringLiteral("classification"));
    dateDue_ = addDate(QStringLiteral("dateDue"));
    estimate_ = new DurationEdit(this);
    estimate_->setObjectName(QStringLiteral("estimateTime"));
    addPair(2, 0, addLabel(tr("&Status"), status_), status_);
    addPair(2, 1, addLabel(tr("Se&verity"), severity_), severity_);
    addPair(3, 0, addLabel(tr("&Priority"), priority_), priority_);
    addPair(3, 1, addLabel(tr("Re&productive"), reproductive_), reproductive_);
    addPair(4, 0, addLabel(tr("Classificatio&n"), classification_), classification_);
    addPair(4, 1, addLabel(tr("Date D&ue"), dateDue_), dateDue_);
    addPair(5, 0, addLabel(tr("&Estimate Time"), estimate_), estimate_);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    grid_->addWidget(line, 6, 0, 1, 4);

    reportedBy_ = addReadOnly(QStringLiteral("reportedBy"));
    reportedDate_ = addDate(QStringLiteral("reportedDate"));
    reportedVersion_ = addList(QStringLiteral("reportedInVersion"));
    lastModifiedBy_ = addReadOnly(QStringLiteral("lastModifiedBy"));
    lastModifiedDate_ = addDate(QStringLiteral("lastModifiedDate"));
    // Saving stamps the change with now; the date is shown, not chosen.
    lastModifiedDate_->setEnabled(false);
    addPair(7, 0, addLabel(tr("Reported by"), reportedBy_), reportedBy_);
    addPair(7, 1, addLabel(tr("Reported d&ate"), reportedDate_), reportedDate_);
    addPair(8, 0, addLabel(tr("Reported &in version"), reportedVersion_), reportedVersion_);
    addPair(9, 0, addLabel(tr("Last modified by"), lastModifiedBy_), lastModifiedBy_);
    addPair(9, 1, addLabel(tr("Last modified date"), lastModifiedDate_), lastModifiedDate_);

    resolvedBy_ = addReadOnly(QStringLiteral("resolvedBy"));
    resolvedDate_ = addDate(QStringLiteral("resolvedDate"));
    resolvedVersion_ = addList(QStringLiteral("resolvedInVersion"));
    verifiedBy_ = addReadOnly(QStringLiteral("verifiedBy"));
    verifiedDate_ = addDate(QStringLiteral("verifiedDate"));
    QLabel* resolvedByLabel = addLabel(tr("Resolved by"), resolvedBy_);
    QLabel* resolvedDateLabel = addLabel(tr("Resolved da&te"), resolvedDate_);
    QLabel* resolvedVersionLabel = addLabel(tr("Resolved in versi&on"), resolvedVersion_);
    QLabel* verifiedByLabel = addLabel(tr("Verified by"), verifiedBy_);
    QLabel* verifiedDateLabel = addLabel(tr("Verified date"), verifiedDate_);
    addPair(10, 0, resolvedByLabel, resolvedBy_);
    addPair(10, 1, resolvedDateLabel, resolvedDate_);
    addPair(11, 0, resolvedVersionLabel, resolvedVersion_);
    addPair(12, 0, verifiedByLabel, verifiedBy_);
    addPair(12, 1, verifiedDateLabel, verifiedDate_);
    grid_->setRowStretch(13, 1);
    resolvedGroup_ = {resolvedByLabel, resolvedBy_,          resolvedDateLabel,
                      resolvedDate_,   resolvedVersionLabel, resolvedVersion_};
    verifiedGroup_ = {verifiedByLabel, verifiedBy_, verifiedDateLabel, verifiedDate_};

    controls_ = {{GeneralControl::Type, type},
                 {GeneralControl::Description, description_},
                 {GeneralControl::Status, status_},
                 {GeneralControl::Severity, severity_},
                 {GeneralControl::Priority, priority_},
                 {GeneralControl::Reproductive, reproductive_},
                 {GeneralControl::Classification, classification_},
                 {GeneralControl::DateDue, dateDue_},
                 {GeneralControl::EstimateTime, estimate_},
                 {GeneralControl::ReportedDate, reportedDate_},
                 {GeneralControl::ReportedInVersion, reportedVersion_},
                 {GeneralControl::ResolvedDate, resolvedDate_},
                 {GeneralControl::ResolvedInVersion, resolvedVersion_},
                 {GeneralControl::VerifiedDate, verifiedDate_}};
}

void GeneralPage::connectControls()
{
    // The type is the bug's at once, as it decides which list the bug joins.
    connect(bugButton_, &QRadioButton::clicked, this, [this] {
        if (subject_.bug) subject_.bug->put_BugType(lindor::eBug);
    });
    connect(featureButton_, &QRadioButton::clicked, this, [this] {
        if (subject_.bug) subject_.bug->put_BugType(lindor::eFeature);
    });
    connect(status_, &QComboBox::activated, this,
            [this](int index) { pickStatus(status_->itemText(index)); });
}

bool GeneralPage::load(const BugSheetSubject& subject)
{
    subject_ = subject;
    rules_ = std::make_unique<GeneralRules>(subject.newReport, subject.right.get());
    loading_ = true;
    if (!fillLists()) return false;
    lindor::eBugType type = lindor::eBug;
    subject_.bug->get_BugType(&type);
    (type == lindor::eFeature ? featureButton_ : bugButton_)->setChecked(true);
    if (subject_.newReport)
        loadNewReport();
    else
        loadStoredBug();
    return true;
}

bool GeneralPage::fillLists()
{
    for (QComboBox* box : {status_, severity_, priority_, reproductive_, classification_,
                           reportedVersion_, resolvedVersion_})
        box->clear();
    lindor::IExeContext* context = subject_.context.get();
    lindor::ComPtr<lindor::IProject> project;
    return FillNames(status_, context, &lindor::IExeContext::get_BugStatus) &&
           FillNames(severity_, context, &lindor::IExeContext::get_BugSeverity) &&
           FillNames(priority_, context, &lindor::IExeContext::get_BugPriority) &&
           FillNames(reproductive_, context, &lindor::IExeContext::get_BugReproductive) &&
           context->get_ActiveProject(project.put()) == S_OK &&
           FillClassifications(classification_, project.get()) &&
           FillVersions({reportedVersion_, resolvedVersion_}, project.get());
}

void GeneralPage::loadNewReport()
{
    using bugrules::NewReport;
    const double now = EngineDate::now();
    description_->clear();
    reportedBy_->setText(subject_.userName);
    lastModifiedBy_->setText(subject_.userName);
    reportedDate_->setValue(now);
    lastModifiedDate_->setValue(now);
    dateDue_->setValue(now);
    estimate_->setSeconds(NewReport::kEstimateMinutes * kSecondsPerMinute);
    SelectText(reportedVersion_, subject_.versionName);
    SelectText(status_, QString::fromLatin1(bugrules::kNewStatus));
    status_->setEditText(QString::fromLatin1(bugrules::kNewStatus));
    SelectIndex(priority_, NewReport::kPriorityIndex);
    SelectIndex(reproductive_, NewReport::kReproductiveIndex);
    SelectIndex(severity_, NewReport::kSeverityIndex);
    SelectIndex(classification_, NewReport::kClassificationIndex);
    applyStatus(QString::fromLatin1(bugrules::kNewStatus));
}

void GeneralPage::loadStoredBug()
{
    IBug* bug = subject_.bug.get();
    description_->setText(TextOf(bug, &IBug::get_Description));
    description_->setCursorPosition(0);
    SelectText(status_, subject_.loadedStatus);
    status_->setEditText(subject_.loadedStatus);
    SelectText(severity_, TextOf(bug, &IBug::get_Severity));
    SelectText(priority_, TextOf(bug, &IBug::get_Priority));
    SelectText(reproductive_, TextOf(bug, &IBug::get_Reproductive));
    SelectText(classification_, TextOf(bug, &IBug::get_Classification));
    dateDue_->setValue(DateOf(bug, &IBug::get_DateDue));
    estimate_->setSeconds(qint64(NumberOf(bug, &IBug::get_EstimatedTime)) * kSecondsPerMinute);
    lastModifiedBy_->setText(TextOf(bug, &IBug::get_LastModifiedBy));
    lastModifiedDate_->setValue(DateOf(bug, &IBug::get_LastModifiedDate));
    fillReported(Fill::FromBug);
    fillResolved(Fill::FromBug);
    fillVerified(Fill::FromBug);
    applyStatus(subject_.loadedStatus);
}

void GeneralPage::pickStatus(const QString& status)
{
    loading_ = false;
    SelectText(status_, status);
    status_->setEditText(status);
    applyStatus(status);
}

void GeneralPage::applyStatus(const QString& status)
{
    const StatusOutcome outcome = rules_->outcomeOf(status, loading_);
    fillReported(outcome.reported);
    fillResolved(outcome.resolved);
    fillVerified(outcome.verified);
    showGroups(outcome);
    gates_ = outcome.gates;
    applyEnabling();
}

void GeneralPage::fillReported(Fill fill)
{
    IBug* bug = subject_.bug.get();
    if (fill == Fill::Stamp) reportedBy_->setText(subject_.userName);
    if (fill != Fill::FromBug) return;
    reportedBy_->setText(TextOf(bug, &IBug::get_ReportedBy));
    reportedDate_->setValue(DateOf(bug, &IBug::get_ReportedDate));
    SelectText(reportedVersion_, TextOf(bug, &IBug::get_ReportedInVersion));
}

void GeneralPage::fillResolved(Fill fill)
{
    IBug* bug = subject_.bug.get();
    switch (fill) {
        case Fill::Keep:
            return;
        case Fill::FromBug:
            resolvedBy_->setText(TextOf(bug, &IBug::get_FixedBy));
            resolvedDate_->setValue(DateOf(bug, &IBug::get_FixedDate));
            SelectText(resolvedVersion_, TextOf(bug, &IBug::get_FixedInVersion));
            return;
        case Fill::Stamp:
            resolvedBy_->setText(subject_.userName);
            resolvedDate_->setValue(EngineDate::now());
            SelectText(resolvedVersion_, subject_.versionName);
            return;
        case Fill::Clear:
            resolvedBy_->clear();
            resolvedDate_->setValue(0.0);
            resolvedVersion_->setCurrentIndex(-1);
            return;
    }
}

void GeneralPage::fillVerified(Fill fill)
{
    IBug* bug = subject_.bug.get();
    switch (fill) {
        case Fill::Keep:
            return;
        case Fill::FromBug:
            verifiedBy_->setText(TextOf(bug, &IBug::get_VerifiedBy));
            verifiedDate_->setValue(DateOf(bug, &IBug::get_VerifiedDate));
            return;
        case Fill::Stamp:
            verifiedBy_->setText(subject_.userName);
            verifiedDate_->setValue(EngineDate::now());
            return;
        case Fill::Clear:
            verifiedBy_->clear();
            verifiedDate_->setValue(0.0);
            return;
    }
}

void GeneralPage::showGroups(const StatusOutcome& outcome)
{
    const auto shown = [](Visibility visibility, const DateEdit* date) {
        return visibility == Visibility::Shown ||
               (visibility == Visibility::ShownWhenDated && date->hasDate());
    };
    showResolvedGroup(shown(outcome.resolvedGroup, resolvedDate_));
    showVerifiedGroup(shown(outcome.verifiedGroup, verifiedDate_));
}

// A hidden group holds nobody and no date; the resolved version stays chosen.
void GeneralPage::showResolvedGroup(bool shown)
{
    resolvedShown_ = shown;
    for (QWidget* widget : resolvedGroup_) widget->setVisible(shown);
    if (shown) return;
    resolvedBy_->clear();
    resolvedDate_->setValue(0.0);
}

void GeneralPage::showVerifiedGroup(bool shown)
{
    verifiedShown_ = shown;
    for (QWidget* widget : verifiedGroup_) widget->setVisible(shown);
    if (shown) return;
    verifiedBy_->clear();
    verifiedDate_->setValue(0.0);
}

void GeneralPage::applyEnabling()
{
    for (auto it = controls_.cbegin(); it != controls_.cend(); ++it)
        it.value()->setEnabled(rules_->enabled(it.key(), gates_.value(it.key(), Gate::Open)));
}

QString GeneralPage::problem() const
{
    if (description_->text().trimmed().isEmpty())
        return QString::fromLatin1(bugrules::kEnterDescription);
    if (reportedVersion_->currentIndex() < 0)
        return QString::fromLatin1(bugrules::kSelectReportedVersion);
    if (resolvedShown_ && resolvedVersion_->isEnabled() && resolvedVersion_->currentIndex() < 0)
        return QString::fromLatin1(bugrules::kSelectResolvedVersion);
    return QString();
}

bool GeneralPage::writeTo(IBug* bug) const
{
    QString status = status_->currentText();
    if (status.isEmpty() && subject_.newReport) status = QString::fromLatin1(bugrules::kNewStatus);
    if (bug->put_Description(description_->text().toStdString()) != S_OK ||
        bug->put_Status(status.toStdString()) != S_OK ||
        !PutSelected(bug, &IBug::put_Severity, severity_) ||
        !PutSelected(bug, &IBug::put_Priority, priority_) ||
        !PutSelected(bug, &IBug::put_Reproductive, reproductive_))
        return false;
    if (classification_->currentIndex() >= 0 &&
        bug->put_ClassificationID(SelectedId(classification_)) != S_OK)
        return false;
    if (subject_.newReport && bug->put_ReportedByID(subject_.userId) != S_OK) return false;
    if (bug->put_ReportedDate(reportedDate_->value()) != S_OK) return false;
    if (reportedVersion_->currentIndex() >= 0 &&
        (bug->put_ReportedInVersionID(SelectedId(reportedVersion_)) != S_OK ||
         bug->put_ReportedInProjectID(subject_.projectId) != S_OK ||
         bug->put_ReportedInProject(subject_.projectName.toStdString()) != S_OK))
        return false;
    if (!writeResolution(bug, status)) return false;
    return bug->put_VerifiedDate(verifiedDate_->value()) == S_OK &&
           bug->put_DateDue(dateDue_->value()) == S_OK &&
           bug->put_EstimatedTime(
               static_cast<std::int32_t>(estimate_->seconds() / kSecondsPerMinute)) == S_OK &&
           bug->put_LastModifiedByID(subject_.userId) == S_OK &&
           bug->put_LastModifiedDate(EngineDate::now()) == S_OK;
}

// Who resolved and who verified: only a change of status names the current
// user; a bug that stays resolved or verified keeps the person who did it.
bool GeneralPage::writeResolution(IBug* bug, const QString& status) const
{
    using bugrules::PersonChange;
    const bugrules::StatusEffect effect =
        bugrules::EffectOfStatus(subject_.loadedStatus.toStdString(), status.toStdString());
    if (bugrules::KindOfStatus(status.toStdString()) == bugrules::StatusKind::Resolved) {
        if (effect.resolver == PersonChange::Stamp && bug->put_FixedByID(subject_.userId) != S_OK)
            return false;
        if (bug->put_FixedDate(resolvedDate_->value()) != S_OK ||
            bug->put_FixedInVersionID(SelectedId(resolvedVersion_)) != S_OK)
            return false;
    } else if (effect.resolver == PersonChange::Clear) {
        if (bug->put_FixedByID(0) != S_OK || bug->put_FixedDate(0.0) != S_OK ||
            bug->put_FixedInVersionID(0) != S_OK)
            return false;
    }
    if (effect.verifier == PersonChange::Keep) return true;
    return bug->put_VerifiedByID(effect.verifier == PersonChange::Stamp ? subject_.userId : 0) ==
           S_OK;
}

}  // namespace nimbra
