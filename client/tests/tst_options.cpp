// The options sheet: date patterns and their codes, the enabling chain, the
// project lists read through a context of their own, "&Test", OK writing
// "Bug.cfg", and the main window following the new toolbar size and date
// format at once.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include <memory>

#include "archivebytes.h"
#include "client/buglistmodel.h"
#include "client/buglistview.h"
#include "client/bugtabview.h"
#include "client/bugtexts.h"
#include "client/clientoptions.h"
#include "client/dateformatpatterns.h"
#include "client/detailpane.h"
#include "client/generalform.h"
#include "client/mainwindow.h"
#include "client/optiongeneralpage.h"
#include "client/optionotherpage.h"
#include "client/optionsheet.h"
#include "clienttestcase.h"
#include "widgets/testsupport/messagerecorder.h"
#include "widgets/testsupport/modaldialogs.h"
#include "widgets/testsupport/testdatabase.h"
#include "widgets/testsupport/testenvironment.h"

using nimbra::ClientOptions;
using nimbra::DateFormatPatterns;
using nimbra::OptionGeneralPage;
using nimbra::OptionSheet;
using nimbra::test::ModalDialogs;

namespace {

QStringList Entries(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts.append(list->itemText(i));
    return texts;
}

void Choose(QComboBox* list, const QString& text)
{
    list->setCurrentIndex(list->findText(text));
    emit list->activated(list->currentIndex());
}

void Edit(QLineEdit* edit, const QString& text)
{
    edit->setText(text);
    emit edit->textEdited(text);
}

}  // namespace

class OptionsTest : public nimbra::test::ClientTestCase {
    Q_OBJECT
private slots:
    void init()
    {
        QString error;
        QVERIFY2(makeDatabaseWithAnn(&error), qPrintable(error));
        messages = std::make_unique<nimbra::test::MessageRecorder>();
    }

    void cleanup()
    {
        releaseAll();
        QCOMPARE(ModalDialogs::missed(), 0);
    }

    void patternsAndTheirCodes()
    {
        QCOMPARE(DateFormatPatterns::toCodes(QStringLiteral("dd,M,yyyy")),
                 QStringLiteral("%d,%m,%Y"));
        QCOMPARE(DateFormatPatterns::toPattern(QStringLiteral("%d,%m,%Y")),
                 QStringLiteral("dd,M,yyyy"));
        QCOMPARE(DateFormatPatterns::toCodes(QStringLiteral("ww - dd,M,yyyy")),
                 QStringLiteral("%A - %d,%m,%Y"));
        QCOMPARE(DateFormatPatterns::toCodes(QStringLiteral("w dd mm yy")),
                 QStringLiteral("%a %d %B %y"));
        for (const DateFormatPatterns::Entry& entry : DateFormatPatterns::entries())
            QCOMPARE(DateFormatPatterns::toPattern(DateFormatPatterns::toCodes(entry.pattern)),
                     entry.pattern);

        ClientOptions options;
        options.setDateFormat(QStringLiteral("%d,%b,%Y"));
        OptionSheet sheet(&options);
        nimbra::OptionOtherPage* other = sheet.other();
        QCOMPARE(sheet.pages()->tabText(1), QStringLiteral("Other"));
        QCOMPARE(other->pattern()->text(), QStringLiteral("dd,m,yyyy"));
        const QList<QAction*> formats = other->formats()->actions();
        QCOMPARE(formats.size(), 9);
        QCOMPARE(formats.at(7)->text(), QStringLiteral("ww - dd,M,yyyy  \tMonday - 21,1,2004"));
        formats.at(7)->trigger();
        QCOMPARE(other->pattern()->text(), QStringLiteral("ww - dd,M,yyyy"));
        other->store(&options);
        QCOMPARE(options.dateFormat(), QStringLiteral("%A - %d,%m,%Y"));
    }

    void eachBoxEnablesWhatLiesInside()
    {
        ClientOptions options;
        OptionSheet sheet(&options);
        OptionGeneralPage* page = sheet.general();
        QCOMPARE(sheet.windowTitle(), QStringLiteral("Options"));
        QCOMPARE(page->defaultDatabase()->text(), QStringLiteral("Default &database "));
        QVERIFY(page->savePassword()->isChecked());
        QVERIFY(!page->path()->isEnabled() && !page->useDefaultLogin()->isEnabled());

        page->defaultDatabase()->setChecked(true);
        QVERIFY(page->path()->isEnabled() && page->browseButton()->isEnabled());
        QVERIFY(page->useDefaultLogin()->isEnabled() && !page->loginName()->isEnabled());
        page->useDefaultLogin()->setChecked(true);
        QVERIFY(page->loginName()->isEnabled() && page->password()->isEnabled());
        QVERIFY(page->savePassword()->isEnabled() && page->defaultProject()->isEnabled());
        QVERIFY(!page->projects()->isEnabled());
        page->defaultProject()->setChecked(true);
        QVERIFY(page->projects()->isEnabled() && page->versions()->isEnabled());

        page->defaultDatabase()->setChecked(false);
        for (QWidget* inner :
             {static_cast<QWidget*>(page->path()), static_cast<QWidget*>(page->useDefaultLogin()),
              static_cast<QWidget*>(page->loginName()),
              static_cast<QWidget*>(page->defaultProject()),
              static_cast<QWidget*>(page->projects())})
            QVERIFY2(!inner->isEnabled(), qPrintable(inner->objectName()));
    }

    void projectListsAreReadThroughTheirOwnContext()
    {
        ClientOptions options = automaticLogin();
        options.setVersionId(2);
        QString error;
        QVERIFY(options.save(&error));
        ClientOptions shown;
        OptionSheet sheet(&shown);
        OptionGeneralPage* page = sheet.general();
        QVERIFY(page->listsLoaded());
        QCOMPARE(Entries(page->projects()), (QStringList{"All", "Project 1"}));
        QCOMPARE(page->projects()->currentText(), QStringLiteral("Project 1"));
        QCOMPARE(Entries(page->versions()), (QStringList{"All", "Version 1.0", "Version 2.0"}));
        QCOMPARE(page->versions()->currentText(), QStringLiteral("Version 2.0"));

        Choose(page->projects(), QStringLiteral("All"));
        QCOMPARE(Entries(page->versions()), QStringList{"All"});
        Choose(page->projects(), QStringLiteral("Project 1"));
        QCOMPARE(page->versions()->currentText(), QStringLiteral("All"));

        // Another password: the lists are read again when one is opened.
        Edit(page->password(), QStringLiteral("nope"));
        QVERIFY(!page->listsLoaded());
        page->projects()->showPopup();
        page->projects()->hidePopup();
        QVERIFY(!page->listsLoaded());
        QCOMPARE(messages->texts().size(), 1);
        Edit(page->password(), QStringLiteral("pw"));
        page->versions()->showPopup();
        page->versions()->hidePopup();
        QVERIFY(page->listsLoaded());
        QCOMPARE(page->projects()->currentText(), QStringLiteral("Project 1"));
    }

    void listsThatCannotBeReadKeepTheSavedProject()
    {
        ClientOptions options = automaticLogin();
        options.setDatabasePath(environment->path(QStringLiteral("away.mdb")));
        options.setVersionId(2);
        QString error;
        QVERIFY(options.save(&error));
        OptionSheet sheet(&options);
        QVERIFY(!sheet.general()->listsLoaded());
        QCOMPARE(messages->texts().size(), 1);
        sheet.accept();
        QCOMPARE(options.projectId(), 1);
        QCOMPARE(options.versionId(), 2);
    }

    void testTellsWhetherTheOptionsWork()
    {
        ClientOptions options = automaticLogin();
        QString error;
        QVERIFY(options.save(&error));
        OptionSheet sheet(&options);
        OptionGeneralPage* page = sheet.general();
        page->test();
        QCOMPARE(messages->last(), QStringLiteral("Test succeeded!"));
        Edit(page->loginName(), QStringLiteral("nobody"));
        page->test();
        QVERIFY2(messages->last().startsWith(QStringLiteral("Test failed!\nReason:")),
                 qPrintable(messages->last()));
        QVERIFY(messages->last().size() > QStringLiteral("Test failed!\nReason:").size());
    }

    void okWritesTheFileWithoutAnUnsavedPassword()
    {
        ClientOptions options;
        OptionSheet sheet(&options);
        OptionGeneralPage* page = sheet.general();
        page->defaultDatabase()->setChecked(true);
        page->path()->setText(database->path());
        page->useDefaultLogin()->setChecked(true);
        page->loginName()->setText(QStringLiteral("ann"));
        page->password()->setText(QStringLiteral("secret"));
        page->savePassword()->setChecked(false);
        sheet.other()->pattern()->setText(QStringLiteral("dd,M,yyyy"));
        sheet.accept();

        QCOMPARE(options.password(), QString());
        QCOMPARE(options.dateFormat(), QStringLiteral("%d,%m,%Y"));
        QFile file(ClientOptions::filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const int blockAt = 1 + database->path().toUtf8().size() + 1 + 3 + 8;
        QCOMPARE(bytes.mid(blockAt, 64), nimbra::test::UnderClientKey(QByteArray(64, '\0'), true));
        ClientOptions reread;
        QString error;
        QCOMPARE(reread.load(&error), ClientOptions::LoadResult::Loaded);
        QVERIFY(reread.defaultDatabase() && reread.useDefaultLogin() && !reread.savePassword());
        QCOMPARE(reread.dateFormat(), QStringLiteral("%d,%m,%Y"));
    }

    void theWindowFollowsTheOptionsAtOnce()
    {
        nimbra::test::NewBug bug;
        bug.reportedDate = 38007.5;  // 21 January 2004, noon
        QVERIFY(database->addBug(bug) > 0);
        window = std::make_unique<nimbra::MainWindow>();
        window->show();
        QVERIFY(window->action(nimbra::Command::Options)->isEnabled());
        QVERIFY(window->openDatabase(database->path()));
        QCOMPARE(window->context()->Login("ann", "pw"), lindor::S_OK);
        QCOMPARE(window->context()->SetActiveProject(1, 0), lindor::S_OK);
        QCOMPARE(window->shownToolBar()->iconSize(), QSize(16, 16));

        ModalDialogs::whenShown<OptionSheet>([](OptionSheet* sheet) {
            sheet->general()->largeIcons()->setChecked(true);
            sheet->other()->pattern()->setText(QStringLiteral("ww - dd,M,yyyy"));
            sheet->accept();
        });
        window->action(nimbra::Command::Options)->trigger();
        QCOMPARE(window->shownToolBar()->iconSize(), QSize(24, 24));
        QVERIFY(window->shownToolBar()->isVisible());
        QVERIFY(!window->findChild<QToolBar*>(QStringLiteral("toolbarSmall"))->isVisible());

        const QString expected =
            nimbra::BugTexts::dateText(38007.5, QStringLiteral("%A - %d,%m,%Y"));
        QVERIFY(expected.endsWith(QStringLiteral(" - 21,01,2004")));
        nimbra::BugListModel* model = window->views()->bugs()->bugModel();
        QCOMPARE(model->data(model->index(0, 11)).toString(), expected);
        QCOMPARE(window->detailPane()->general()->fieldText(QStringLiteral("Reported date")),
                 expected);
    }

private:
    ClientOptions automaticLogin() const
    {
        ClientOptions options;
        options.setDefaultDatabase(true);
        options.setDatabasePath(database->path());
        options.setUseDefaultLogin(true);
        options.setLoginName(QStringLiteral("ann"));
        options.setPassword(QStringLiteral("pw"));
        options.setSavePassword(true);
        options.setDefaultProject(true);
        options.setProjectId(1);
        return options;
    }
};

QTEST_MAIN(OptionsTest)
#include "tst_options.moc"
