// "&New" databases and the project commands: the project list, the project
// sheet and its versions, checked against what the engine stores.
#include <QAbstractButton>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>
#include <QWizard>

#include <functional>
#include <memory>

#include "admin/adminlogindialog.h"
#include "admin/adminview.h"
#include "admin/projectlistdialog.h"
#include "admin/projectpage.h"
#include "admin/projectversionpage.h"
#include "admin/sheetdialog.h"
#include "admin/tests/adminfixture.h"
#include "admin/versiondialog.h"
#include "widgets/enginedate.h"
#include "widgets/testsupport/modaldialogs.h"
#include "widgets/testsupport/testdatabase.h"

using namespace nimbra;
using namespace nimbra::test;

namespace {

QStringList Column(const QTreeWidget* list, int column)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

// Runs "Edit Project..." on the project in `row` of the list and lets
// `onVersions` work on the sheet's version page before "OK".
void EditProject(AdminMainWindow& window, int row,
                 const std::function<void(ProjectVersionPage*)>& onVersions)
{
    ModalDialogs::whenShown<ProjectListDialog>([row, onVersions](ProjectListDialog* projects) {
        projects->list()->setCurrentItem(projects->list()->topLevelItem(row));
        ModalDialogs::whenShown<SheetDialog>([onVersions](SheetDialog* sheet) {
            auto* page = sheet->findChild<ProjectVersionPage*>();
            sheet->tabs()->setCurrentWidget(page);
            onVersions(page);
            sheet->accept();
        });
        projects->editProject();
        projects->accept();
    });
    window.editProjects();
}

struct StoredVersion {
    int id = 0;
    QString name;
    double releaseDate = 0.0;
};

QList<StoredVersion> StoredVersions(const QString& path, int projectId)
{
    QList<StoredVersion> versions;
    const auto context = AdminContext(path);
    lindor::ComPtr<lindor::IProjectSet> projects;
    context->get_ProjectSet(projects.put());
    FoundItem<lindor::IProjectSet, lindor::IProject> found;
    FindByID(projects, projectId, &found);
    const int count =
        found ? EngineNumber(found.item.get(), &lindor::IProject::get_VersionCount) : 0;
    for (int i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IVersion> version;
        found.item->get_Version(i, version.put());
        StoredVersion stored{EngineNumber(version.get(), &lindor::IVersion::get_ID),
                             EngineText(version.get(), &lindor::IVersion::get_Name), 0.0};
        version->get_ReleaseDate(&stored.releaseDate);
        versions << stored;
    }
    return versions;
}

}  // namespace

class ProjectsTest : public AdminTestCase {
    Q_OBJECT
private slots:
    void init() { startWithTeamDatabase(); }

    void newOnAnExistingFileCreatesNothing()
    {
        const QString path = fixture->path("taken.mdb");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep");
        file.close();
        ModalDialogs::answerFileDialog(path);
        fixture->window->newDatabase();
        QCOMPARE(fixture->messages.texts(),
                 QStringList{path + " alread exists, please choose another file."});
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("keep"));
    }

    void newDatabaseOpensWithAdminAndTwoProjects()
    {
        const QString path = fixture->path("fresh.mdb");
        ModalDialogs::answerFileDialog(path);
        ModalDialogs::whenShown<AdminLoginDialog>([](AdminLoginDialog* login) { login->accept(); });
        fixture->window->newDatabase();
        QCOMPARE(
            fixture->messages.texts(),
            (QStringList{"Database " + path + " was successfully created.",
                         "Do you want to open this database now, the default admin password is "
                         "empty!"}));
        QVERIFY(fixture->window->databaseIsOpen());
        QCOMPARE(Column(fixture->window->userList(), 0), QStringList{"Admin"});
        QVERIFY(!fixture->window->passwordNote().isEmpty());

        QStringList projectNames;
        QList<QStringList> versionNames;
        ModalDialogs::whenShown<ProjectListDialog>([&](ProjectListDialog* projects) {
            projectNames = Column(projects->list(), 0);
            for (int row = 0; row < projects->list()->topLevelItemCount(); ++row) {
                projects->list()->setCurrentItem(projects->list()->topLevelItem(row));
                ModalDialogs::whenShown<SheetDialog>([&versionNames](SheetDialog* sheet) {
                    QCOMPARE(sheet->windowTitle(), QString("Edit Project Property"));
                    versionNames << Column(sheet->findChild<QTreeWidget*>("versionList"), 0);
                    sheet->reject();
                });
                projects->editProject();
            }
            projects->accept();
        });
        fixture->window->editProjects();
        QCOMPARE(projectNames, (QStringList{"Project 1", "Project 2"}));
        const QStringList two = {"Version 1.0", "Version 2.0"};
        QCOMPARE(versionNames, (QList<QStringList>{two, two}));
    }

    void versionAddedAndDeletedInOneSheetLeavesNoTrace()
    {
        QVERIFY(fixture->openAs(database->path()));
        EditProject(*fixture->window, 0, [this](ProjectVersionPage* page) {
            ModalDialogs::whenShown<VersionDialog>([](VersionDialog* dialog) {
                dialog->findChild<QLineEdit*>("versionName")->setText("Version 3.0");
                dialog->accept();
            });
            page->addVersion();
            QCOMPARE(Column(page->list(), 0),
                     (QStringList{"Version 1.0", "Version 2.0", "Version 3.0"}));
            // Two questions; a No to the second keeps the row.
            fixture->messages.answerNext(QMessageBox::Yes);
            fixture->messages.answerNext(QMessageBox::No);
            page->deleteVersions();
            QCOMPARE(page->list()->topLevelItemCount(), 3);
            page->list()->setCurrentItem(page->list()->topLevelItem(2));
            page->deleteVersions();
            QCOMPARE(Column(page->list(), 0), (QStringList{"Version 1.0", "Version 2.0"}));
        });
        const QList<StoredVersion> versions = StoredVersions(database->path(), 1);
        QCOMPARE(versions.size(), 2);
        QCOMPARE(versions.at(0).id, 1);
        QCOMPARE(versions.at(1).id, 2);
    }

    void changingOnlyAReleaseDateKeepsTheVersion()
    {
        NewBug bug;
        bug.versionId = 1;
        QVERIFY(database->addBug(bug) > 0);
        QVERIFY(fixture->openAs(database->path()));
        const QDate released(2024, 5, 1);
        EditProject(*fixture->window, 0, [released](ProjectVersionPage* page) {
            ModalDialogs::whenShown<VersionDialog>([released](VersionDialog* dialog) {
                dialog->findChild<QDateEdit*>("releaseDate")->setDate(released);
                dialog->accept();
            });
            page->list()->setCurrentItem(page->list()->topLevelItem(0));
            page->editVersion();
        });
        const QList<StoredVersion> versions = StoredVersions(database->path(), 1);
        QCOMPARE(versions.size(), 2);
        QCOMPARE(versions.at(0).id, 1);
        QCOMPARE(versions.at(0).name, QString("Version 1.0"));
        QCOMPARE(EngineDate::toDateTime(versions.at(0).releaseDate).date(), released);
        // The bug reported in that version is still there.
        const auto context = AdminContext(database->path());
        lindor::ComPtr<lindor::IBugSet> bugs;
        QCOMPARE(context->SetActiveProject(1, 1), lindor::S_OK);
        QCOMPARE(context->OpenBugSet(lindor::eBug, nullptr, bugs.put()), lindor::S_OK);
        QCOMPARE(EngineNumber(bugs.get(), &lindor::IBugSet::get_Count), 1);
    }

    void newProjectNeedsANameAndKeepsItsVersions()
    {
        QVERIFY(fixture->openAs(database->path()));
        ModalDialogs::whenShown<QWizard>([this](QWizard* wizard) {
            QCOMPARE(wizard->windowTitle(), QString("Add Project"));
            auto* name = wizard->findChild<QLineEdit*>("projectName");
            QCOMPARE(name->maxLength(), 64);
            wizard->next();
            QCOMPARE(fixture->messages.last(), QString("Project name cannot be empty."));
            QVERIFY(qobject_cast<ProjectPage*>(wizard->currentPage()));
            name->setText("Nimbus");
            wizard->next();
            auto* page = qobject_cast<ProjectVersionPage*>(wizard->currentPage());
            QVERIFY(page);
            ModalDialogs::whenShown<VersionDialog>([](VersionDialog* dialog) {
                dialog->findChild<QLineEdit*>("versionName")->setText("0.1");
                dialog->accept();
            });
            page->addVersion();
            wizard->button(QWizard::FinishButton)->click();
        });
        fixture->window->addProject();
        const QList<StoredVersion> versions = StoredVersions(database->path(), 3);
        QCOMPARE(versions.size(), 1);
        QCOMPARE(versions.at(0).name, QString("0.1"));
        QCOMPARE(versions.at(0).id, 5);
    }

    void deletingAProjectAsksTwice()
    {
        const QString path = fixture->path("bare.mdb");
        QCOMPARE(CreateEngineObject<lindor::IAdmin>("Lindor.Admin.1")->NewMDB(path.toStdString()),
                 lindor::S_OK);
        QVERIFY(fixture->openAs(path));
        ModalDialogs::whenShown<ProjectListDialog>([this](ProjectListDialog* projects) {
            projects->list()->setCurrentItem(projects->list()->topLevelItem(1));
            fixture->messages.answerNext(QMessageBox::Yes);
            fixture->messages.answerNext(QMessageBox::No);
            projects->deleteProject();
            QCOMPARE(projects->list()->topLevelItemCount(), 2);
            QCOMPARE(fixture->messages.kinds().last(), Messages::Kind::WarningQuestion);
            projects->deleteProject();
            QCOMPARE(Column(projects->list(), 0), QStringList{"Project 1"});
            projects->accept();
        });
        fixture->window->editProjects();
        QVERIFY(StoredVersions(path, 2).isEmpty());
        QCOMPARE(StoredVersions(path, 1).size(), 2);
    }
};

QTEST_MAIN(ProjectsTest)
#include "tst_projects.moc"
