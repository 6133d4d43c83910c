// admin_screens FOLDER: pictures of the administration program's windows
// for a person to look at (run under Xvfb): the user list, the rights page
// of the user wizard with and without a template, the edit sheet, the
// project list and the version page. Not a test; nothing is asserted.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QWizard>

#include "admin/adminlogindialog.h"
#include "admin/projectlistdialog.h"
#include "admin/projectversionpage.h"
#include "admin/rightpage.h"
#include "admin/sheetdialog.h"
#include "admin/tests/adminfixture.h"
#include "admin/usersheet.h"
#include "admin/versiondialog.h"
#include "widgets/checktree.h"
#include "widgets/helpviewer.h"
#include "widgets/testsupport/modaldialogs.h"

using namespace nimbra;
using namespace nimbra::test;

namespace {

QString folder;

void Save(QWidget* widget, const QString& name)
{
    QApplication::processEvents();
    widget->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

void ChooseTemplate(RightPage* page, const QString& name)
{
    const int index = page->templateList()->findText(name);
    page->templateList()->setCurrentIndex(index);
    emit page->templateList()->activated(index);
}

void Run()
{
    TestEnvironment environment;
    AdminFixture fixture(environment);
    TestDatabase database(fixture.path(QStringLiteral("team.mdb")));
    const int ann =
        database.addUser(QStringLiteral("ann"), QStringLiteral("pw"), QStringLiteral("Ann Archer"));
    database.addUser(QStringLiteral("bob"), QStringLiteral("pw"), QStringLiteral("Bob Brandt"));
    database.grant(ann, {ProjectGrant{}});
    fixture.window->show();
    Save(fixture.window.get(), QStringLiteral("empty"));
    fixture.openAs(database.path());
    Save(fixture.window.get(), QStringLiteral("users"));
    ModalDialogs::whenShown<QWizard>([](QWizard* wizard) {
        Save(wizard, QStringLiteral("add-general"));
        wizard->reject();
    });
    fixture.window->addUser();

    fixture.addUser(QStringLiteral("carl"), [](RightPage* page) {
        Save(page->window(), QStringLiteral("rights-wizard"));
        ChooseTemplate(page, QStringLiteral("Developer"));
        page->tree()->scrollToBottom();
        Save(page->window(), QStringLiteral("rights-developer"));
    });
    fixture.selectLogin(QStringLiteral("ann"));
    ModalDialogs::whenShown<SheetDialog>([](SheetDialog* sheet) {
        Save(sheet, QStringLiteral("edit-general"));
        sheet->tabs()->setCurrentWidget(sheet->findChild<RightPage*>());
        Save(sheet, QStringLiteral("edit-rights"));
        sheet->reject();
    });
    fixture.window->editUser();
    ModalDialogs::whenShown<ProjectListDialog>([](ProjectListDialog* projects) {
        Save(projects, QStringLiteral("projects"));
        projects->list()->setCurrentItem(projects->list()->topLevelItem(0));
        ModalDialogs::whenShown<SheetDialog>([](SheetDialog* sheet) {
            Save(sheet, QStringLiteral("project-edit"));
            sheet->tabs()->setCurrentWidget(sheet->findChild<ProjectVersionPage*>());
            Save(sheet, QStringLiteral("project-versions"));
            auto* page = sheet->findChild<ProjectVersionPage*>();
            page->list()->setCurrentItem(page->list()->topLevelItem(1));
            ModalDialogs::whenShown<VersionDialog>([](VersionDialog* dialog) {
                Save(dialog, QStringLiteral("version-dialog"));
                dialog->reject();
            });
            page->editVersion();
            sheet->reject();
        });
        projects->editProject();
        projects->accept();
    });
    fixture.window->editProjects();
    // Found only when this program is run from beside the help folder.
    if (HelpViewer::open(fixture.window.get(), UserSheet::kHelpTopic))
        Save(fixture.window->findChild<QWidget*>(QStringLiteral("helpWindow")),
             QStringLiteral("help"));
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AdminMainWindow::kTitle);
    folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QTimer::singleShot(0, [] {
        Run();
        QApplication::quit();
    });
    return app.exec();
}
