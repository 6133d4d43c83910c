#include "client/optiongeneralpage.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "client/clientoptions.h"
#include "client/popupcombobox.h"
#include "widgets/messages.h"

namespace nimbra {

namespace {

// How far an inner box is set in under the box that enables it.
constexpr int kIndent = 22;

QHBoxLayout* Indented(QLayout* inner)
{
    auto* row = new QHBoxLayout;
    row->addSpacing(kIndent);
    row->addLayout(inner, 1);
    return row;
}

// The wait cursor while the engine tries the options.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

OptionGeneralPage::OptionGeneralPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("generalPage"));
    defaultDatabase_ = new QCheckBox(tr("Default &database "), this);
    defaultDatabase_->setObjectName(QStringLiteral("defaultDatabase"));
    largeIcons_ = new QCheckBox(tr("Use large icons on toolbar"), this);
    largeIcons_->setObjectName(QStringLiteral("largeIcons"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(defaultDatabase_);
    layout->addLayout(Indented(buildDatabaseBox()));
    layout->addSpacing(8);
    layout->addWidget(largeIcons_);
    layout->addStretch();

    for (QCheckBox* box : {defaultDatabase_, useLogin_, defaultProject_})
        connect(box, &QCheckBox::toggled, this, &OptionGeneralPage::updateEnabling);
    for (QLineEdit* edit : {path_, loginName_, password_})
        connect(edit, &QLineEdit::textEdited, this, &OptionGeneralPage::forgetLists);
    connect(browse_, &QPushButton::clicked, this, &OptionGeneralPage::browse);
    connect(test_, &QPushButton::clicked, this, &OptionGeneralPage::test);
    for (PopupComboBox* list : {projects_, versions_})
        connect(list, &PopupComboBox::popupAboutToShow, this,
                &OptionGeneralPage::fillListsOnOpening);
    connect(projects_, &QComboBox::activated, this,
            [this] { showVersionsOf(selectedId(projects_)); });
    updateEnabling();
}

QLayout* OptionGeneralPage::buildDatabaseBox()
{
    path_ = new QLineEdit(this);
    path_->setObjectName(QStringLiteral("databasePath"));
    path_->setMinimumWidth(260);
    browse_ = new QPushButton(tr("&Browse..."), this);
    browse_->setObjectName(QStringLiteral("browseButton"));
    useLogin_ = new QCheckBox(tr("Use default &login Name"), this);
    useLogin_->setObjectName(QStringLiteral("useDefaultLogin"));
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(path_, 1);
    pathRow->addWidget(browse_);
    auto* box = new QVBoxLayout;
    box->addLayout(pathRow);
    box->addWidget(useLogin_);
    box->addLayout(Indented(buildLoginBox()));
    return box;
}

QLayout* OptionGeneralPage::buildLoginBox()
{
    loginName_ = new QLineEdit(this);
    loginName_->setObjectName(QStringLiteral("loginName"));
    loginName_->setMaxLength(255);
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("password"));
    password_->setEchoMode(QLineEdit::Password);
    password_->setMaxLength(64);
    savePassword_ = new QCheckBox(tr("&Save password"), this);
    savePassword_->setObjectName(QStringLiteral("savePassword"));
    defaultProject_ = new QCheckBox(tr("Default p&roject"), this);
    defaultProject_->setObjectName(QStringLiteral("defaultProject"));
    auto* form = new QFormLayout;
    auto* nameLabel = new QLabel(tr("Login &name:"), this);
    nameLabel->setBuddy(loginName_);
    auto* passwordLabel = new QLabel(tr("&Password:"), this);
    passwordLabel->setBuddy(password_);
    loginLabels_ = {nameLabel, passwordLabel};
    form->addRow(nameLabel, loginName_);
    form->addRow(passwordLabel, password_);
    auto* box = new QVBoxLayout;
    box->addLayout(form);
    box->addWidget(savePassword_);
    box->addWidget(defaultProject_);
    box->addLayout(Indented(buildProjectBox()));
    return box;
}

QLayout* OptionGeneralPage::buildProjectBox()
{
    projects_ = new PopupComboBox(this);
    projects_->setObjectName(QStringLiteral("projectList"));
    projects_->setMinimumContentsLength(14);
    versions_ = new PopupComboBox(this);
    versions_->setObjectName(QStringLiteral("versionList"));
    versions_->setMinimumContentsLength(10);
    test_ = new QPushButton(tr("&Test"), this);
    test_->setObjectName(QStringLiteral("testButton"));
    auto* projectLabel = new QLabel(tr("Pro&ject:"), this);
    projectLabel->setBuddy(projects_);
    auto* versionLabel = new QLabel(tr("&Version:"), this);
    versionLabel->setBuddy(versions_);
    projectLabels_ = {projectLabel, versionLabel};
    auto* grid = new QGridLayout;
    grid->addWidget(projectLabel, 0, 0);
    grid->addWidget(projects_, 0, 1);
    grid->addWidget(versionLabel, 1, 0);
    grid->addWidget(versions_, 1, 1);
    grid->addWidget(test_, 2, 1, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    return grid;
}

QComboBox* OptionGeneralPage::projects() const
{
    return projects_;
}

QComboBox* OptionGeneralPage::versions() const
{
    return versions_;
}

void OptionGeneralPage::updateEnabling()
{
    const bool database = defaultDatabase_->isChecked();
    const bool login = database && useLogin_->isChecked();
    const bool project = login && defaultProject_->isChecked();
    for (QWidget* widget : {static_cast<QWidget*>(path_), static_cast<QWidget*>(browse_),
                            static_cast<QWidget*>(useLogin_), static_cast<QWidget*>(test_)})
        widget->setEnabled(database);
    for (QWidget* widget :
         {static_cast<QWidget*>(loginName_), static_cast<QWidget*>(password_),
          static_cast<QWidget*>(savePassword_), static_cast<QWidget*>(defaultProject_)})
        widget->setEnabled(login);
    for (QWidget* label : loginLabels_) label->setEnabled(login);
    projects_->setEnabled(project);
    versions_->setEnabled(project);
    for (QWidget* label : projectLabels_) label->setEnabled(project);
}

void OptionGeneralPage::load(const ClientOptions& options)
{
    defaultDatabase_->setChecked(options.defaultDatabase());
    path_->setText(options.databasePath());
    useLogin_->setChecked(options.useDefaultLogin());
    loginName_->setText(options.loginName());
    password_->setText(options.password());
    savePassword_->setChecked(true);
    defaultProject_->setChecked(options.defaultProject());
    largeIcons_->setChecked(options.largeToolbarIcons());
    savedProject_ = options.projectId();
    savedVersion_ = options.versionId();
    projects_->clear();
    versions_->clear();
    listsLoaded_ = false;
    updateEnabling();
    if (options.defaultProject()) fillLists(true);
}

void OptionGeneralPage::store(ClientOptions* options) const
{
    options->setDefaultDatabase(defaultDatabase_->isChecked());
    options->setDatabasePath(path_->text());
    options->setUseDefaultLogin(useLogin_->isChecked());
    options->setSavePassword(savePassword_->isChecked());
    options->setLoginName(loginName_->text());
    options->setPassword(savePassword_->isChecked() ? password_->text() : QString());
    options->setDefaultProject(defaultProject_->isChecked());
    options->setLargeToolbarIcons(largeIcons_->isChecked());
    // Lists that could never be read keep the saved project and version
    // instead of turning them into "All".
    if (projects_->count() == 0) return;
    options->setVersionId(selectedId(versions_));
    options->setProjectId(selectedId(projects_));
}

int OptionGeneralPage::selectedId(const QComboBox* list)
{
    return list->currentIndex() < 0 ? 0 : list->currentData().toInt();
}

void OptionGeneralPage::browse()
{
    QFileDialog dialog(this, tr("Browse"), QFileInfo(path_->text()).path(),
                       tr("Nimbra database (*.mdb)"));
    dialog.setObjectName(QStringLiteral("browseDatabaseDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(QStringLiteral("mdb"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    path_->setText(dialog.selectedFiles().first());
    forgetLists();
}

void OptionGeneralPage::fillListsOnOpening()
{
    if (!listsLoaded_) fillLists(false);
}

bool OptionGeneralPage::fillLists(bool selectSaved)
{
    DatabaseProbe probe;
    QList<DatabaseProbe::Project> read;
    QString error;
    if (!probe.logIn(path_->text(), loginName_->text(), password_->text(), &error) ||
        !probe.readProjects(&read, &error)) {
        listsLoaded_ = false;
        Messages::error(this, error);
        return false;
    }
    // Filled again, the lists keep the project chosen before if it is still there.
    const int project = selectSaved ? savedProject_ : selectedId(projects_);
    projectChoices_ = read;
    projects_->clear();
    projects_->addItem(tr("All"), 0);
    for (const DatabaseProbe::Project& choice : projectChoices_)
        projects_->addItem(choice.name, choice.id);
    projects_->setCurrentIndex(std::max(0, projects_->findData(project)));
    showVersionsOf(selectedId(projects_));
    if (selectSaved) versions_->setCurrentIndex(std::max(0, versions_->findData(savedVersion_)));
    listsLoaded_ = true;
    return true;
}

void OptionGeneralPage::showVersionsOf(int projectId)
{
    versions_->clear();
    versions_->addItem(tr("All"), 0);
    for (const DatabaseProbe::Project& project : projectChoices_) {
        if (project.id != projectId) continue;
        for (const DatabaseProbe::Version& version : project.versions)
            versions_->addItem(version.name, version.id);
    }
    versions_->setCurrentIndex(0);
}

void OptionGeneralPage::test()
{
    QString error;
    bool tried = false;
    {
        const WaitCursor wait;
        DatabaseProbe probe;
        tried = probe.logIn(path_->text(), loginName_->text(), password_->text(), &error) &&
                probe.activate(selectedId(projects_), selectedId(versions_), &error);
    }
    if (tried)
        Messages::information(this, QStringLiteral("Test succeeded!"));
    else
        Messages::error(this, QStringLiteral("Test failed!\nReason:%1").arg(error));
}

}  // namespace nimbra
