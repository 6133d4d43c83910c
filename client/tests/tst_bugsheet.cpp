// The bug editor over real databases, driven through the main window's
// commands as a user drives it: the defaults of a new report, the status
// rules, the field rights, the attachment changes, a bug that changes list,
// who resolved and verified, a bug changed by another program meanwhile,
// and rich text that must survive untouched.
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QUrl>

#include <functional>
#include <memory>

#include "client/attachmentpage.h"
#include "client/buglistmodel.h"
#include "client/buglistview.h"
#include "client/bugsheet.h"
#include "client/bugtabview.h"
#include "client/enginevalues.h"
#include "client/generalpage.h"
#include "client/mainwindow.h"
#include "client/pendingattachments.h"
#include "client/reportpage.h"
#include "clienttestcase.h"
#include "richtext/plaintext.h"
#include "widgets/dateedit.h"
#include "widgets/durationedit.h"
#include "widgets/enginedate.h"
#include "widgets/testsupport/messagerecorder.h"
#include "widgets/testsupport/modaldialogs.h"
#include "widgets/testsupport/testdatabase.h"
#include "widgets/testsupport/testenvironment.h"

using lindor::IBug;
using nimbra::AttachmentPage;
using nimbra::BugSheet;
using nimbra::GeneralPage;
using nimbra::MainWindow;
using nimbra::NumberOf;
using nimbra::TextOf;
using nimbra::test::ModalDialogs;
using nimbra::test::NewBug;

namespace {

constexpr double kFixedDate = 38000.25;  // 14 January 2004, 06:00
constexpr double kVerifiedDate = 38001.5;
constexpr int kVersion2 = 2;  // "Version 2.0" of "Project 1"

const std::string kForeignRtf =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
    "{\\*\\generator Msftedit 5.41.21.2510;}\\viewkind4\\uc1\r\n"
    "\\trowd\\trgaph108\\cellx1500\\cellx3000\\pard\\intbl\\f0\\fs20 Step\\cell "
    "Result\\cell\\row\r\n"
    "\\pard{\\pict\\wmetafile8\\picw529\\pich529 0100090000035000000000002700}\\par\r\n}\r\n";

bool IsToday(double engineDate)
{
    return nimbra::EngineDate::toDateTime(engineDate).date() == QDate::currentDate();
}

// Runs `act` on the next bug editor shown; the editor is cancelled when
// `act` leaves it open (a failed check must not leave it waiting).
void WhenSheetShown(std::function<void(BugSheet*)> act)
{
    ModalDialogs::whenShown<BugSheet>([act](BugSheet* sheet) {
        act(sheet);
        if (sheet->isVisible()) sheet->reject();
    });
}

QStringList FileNames(IBug* bug)
{
    QStringList names;
    lindor::ComPtr<lindor::IFileSet> files;
    if (bug->get_AttachedFiles(files.put()) != lindor::S_OK) return {QStringLiteral("failed")};
    const std::int32_t count = NumberOf(files.get(), &lindor::IFileSet::get_Count);
    for (std::int32_t i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IFile> file;
        files->get_Item(i, file.put());
        names.append(TextOf(file.get(), &lindor::IFile::get_FileName));
    }
    return names;
}

}  // namespace

class BugSheetTest : public nimbra::test::ClientTestCase {
    Q_OBJECT
private slots:
    void init()
    {
        QString error;
        QVERIFY2(makeDatabase(&error), qPrintable(error));
        const int ann =
            database->addUser(QStringLiteral("ann"), QStringLiteral("pw"), QStringLiteral("Ann"));
        const int bob =
            database->addUser(QStringLiteral("bob"), QStringLiteral("pw"), QStringLiteral("Bob"));
        nimbra::test::ProjectGrant limited;
        limited.withheld = {&lindor::IRight::put_EditDescription, &lindor::IRight::put_EditSeverity,
                            &lindor::IRight::put_EditDateDue, &lindor::IRight::put_EditReport,
                            &lindor::IRight::put_EditAttachment};
        QVERIFY2(ann > 0 && bob > 0 && database->grant(ann, {nimbra::test::ProjectGrant{}}) &&
                     database->grant(bob, {limited}),
                 qPrintable(database->error()));
        QVERIFY2(database->addClassification(1, QStringLiteral("User Interface")) > 0 &&
                     database->addClassification(1, QStringLiteral("Storage")) > 0,
                 qPrintable(database->error()));
        messages = std::make_unique<nimbra::test::MessageRecorder>();
    }

    void cleanup()
    {
        releaseAll();
        QCOMPARE(ModalDialogs::missed(), 0);
    }

    void newReportStartsWithTheDefaults()
    {
        logIn(QStringLiteral("ann"));
        QVERIFY(window->action(nimbra::Command::ReportBug)->isEnabled());
        QVERIFY(window->action(nimbra::Command::ReportFeature)->isEnabled());
        WhenSheetShown([this](BugSheet* sheet) {
            GeneralPage* page = sheet->general();
            QCOMPARE(sheet->windowTitle(), QStringLiteral("New"));
            QCOMPARE(sheet->tabs()->count(), BugSheet::kPageCount);
            QCOMPARE(sheet->tabs()->tabText(2), QStringLiteral("Recreate Step"));
            QVERIFY(page->bugButton()->isChecked());
            QCOMPARE(page->statusList()->currentText(), QStringLiteral("New"));
            QVERIFY(!page->statusList()->isEnabled());
            QCOMPARE(page->reportedBy()->text(), QStringLiteral("Ann"));
            QCOMPARE(page->lastModifiedBy()->text(), QStringLiteral("Ann"));
            QVERIFY(IsToday(page->reportedDate()->value()) && IsToday(page->dateDue()->value()));
            QCOMPARE(page->estimate()->seconds(), 3600);
            QCOMPARE(page->reportedVersionList()->currentText(), QStringLiteral("Version 1.0"));
            QCOMPARE(page->priorityList()->currentText(), QStringLiteral("Normal"));
            QCOMPARE(page->reproductiveList()->currentText(), QStringLiteral("Always"));
            QCOMPARE(page->severityList()->currentText(), QStringLiteral("Normal"));
            QCOMPARE(page->classificationList()->currentText(), QStringLiteral("User Interface"));
            QVERIFY(!page->resolvedGroupShown() && !page->verifiedGroupShown());
            QCOMPARE(page->descriptionLabel()->palette().color(QPalette::WindowText),
                     QColor(90, 10, 10));

            sheet->accept();
            QCOMPARE(messages->last(), QStringLiteral("Please enter description."));
            QVERIFY(sheet->isVisible());
            page->description()->setText(QStringLiteral("Crash on start"));
            sheet->textPage(0)->editor()->setPlainText(QStringLiteral("It crashes."));
            sheet->accept();
        });
        window->reportNew(lindor::eBug);
        nimbra::BugListModel* bugs = window->views()->bugs()->bugModel();
        QCOMPARE(bugs->rowCount(), 1);
        const lindor::ComPtr<IBug> stored = bugs->bugAt(0);
        QCOMPARE(TextOf(stored.get(), &IBug::get_Description), QStringLiteral("Crash on start"));
        QCOMPARE(TextOf(stored.get(), &IBug::get_Status), QStringLiteral("New"));
        QCOMPARE(TextOf(stored.get(), &IBug::get_ReportedBy), QStringLiteral("Ann"));
        QCOMPARE(TextOf(stored.get(), &IBug::get_LastModifiedBy), QStringLiteral("Ann"));
        QCOMPARE(NumberOf(stored.get(), &IBug::get_EstimatedTime), 60);
        QCOMPARE(TextOf(stored.get(), &IBug::get_Classification), QStringLiteral("User Interface"));
        QCOMPARE(TextOf(stored.get(), &IBug::get_ReportedInVersion), QStringLiteral("Version 1.0"));
        QCOMPARE(TextOf(stored.get(), &IBug::get_ReportedInProject), QStringLiteral("Project 1"));
        QCOMPARE(NumberOf(stored.get(), &IBug::get_FixedByID), 0);
        QCOMPARE(richtext::RtfToPlainText(TextOf(stored.get(), &IBug::get_Report).toStdString()),
                 std::string("It crashes."));
    }

    void resolvedThenVerifiedKeepsTheResolution()
    {
        const int id = database->addBug(resolvedBySomebodyElse(QStringLiteral("Resolved")));
        logIn(QStringLiteral("ann"));
        editBug(id, [](BugSheet* sheet) {
            GeneralPage* page = sheet->general();
            QCOMPARE(sheet->windowTitle(), QStringLiteral("Edit Bug"));
            QVERIFY(page->resolvedGroupShown() && !page->verifiedGroupShown());
            QCOMPARE(page->resolvedBy()->text(), QStringLiteral("Admin"));
            QCOMPARE(page->resolvedDate()->value(), kFixedDate);
            QCOMPARE(page->resolvedVersionList()->currentText(), QStringLiteral("Version 2.0"));
            page->pickStatus(QStringLiteral("Verified"));
            QVERIFY(page->resolvedGroupShown() && page->verifiedGroupShown());
            QCOMPARE(page->verifiedBy()->text(), QStringLiteral("Ann"));
            QVERIFY(IsToday(page->verifiedDate()->value()));
            QCOMPARE(page->resolvedBy()->text(), QStringLiteral("Admin"));
            QVERIFY(page->verifiedDate()->isEnabled());
            QVERIFY(!page->resolvedDate()->isEnabled() && !page->reportedDate()->isEnabled());
            sheet->accept();
        });
        const lindor::ComPtr<IBug> stored = storedBug(id);
        QCOMPARE(TextOf(stored.get(), &IBug::get_Status), QStringLiteral("Verified"));
        QCOMPARE(TextOf(stored.get(), &IBug::get_FixedBy), QStringLiteral("Admin"));
        QCOMPARE(nimbra::DateOf(stored.get(), &IBug::get_FixedDate), kFixedDate);
        QCOMPARE(TextOf(stored.get(), &IBug::get_FixedInVersion), QStringLiteral("Version 2.0"));
        QCOMPARE(TextOf(stored.get(), &IBug::get_VerifiedBy), QStringLiteral("Ann"));
        QVERIFY(IsToday(nimbra::DateOf(stored.get(), &IBug::get_VerifiedDate)));
    }

    void anotherStatusClearsAndHidesBothGroups()
    {
        NewBug verified = resolvedBySomebodyElse(QStringLiteral("Verified"));
        verified.verifiedById = 1;
        verified.verifiedDate = kVerifiedDate;
        const int id = database->addBug(verified);
        logIn(QStringLiteral("ann"));
        editBug(id, [](BugSheet* sheet) {
            GeneralPage* page = sheet->general();
            QVERIFY(page->resolvedGroupShown() && page->verifiedGroupShown());
            page->pickStatus(QStringLiteral("Active"));
            QVERIFY(!page->resolvedGroupShown() && !page->verifiedGroupShown());
            QVERIFY(page->resolvedBy()->isHidden() && page->verifiedDate()->isHidden());
            QVERIFY(page->resolvedBy()->text().isEmpty() && page->verifiedBy()->text().isEmpty());
            QCOMPARE(page->resolvedDate()->value(), 0.0);
            QCOMPARE(page->resolvedVersionList()->currentIndex(), -1);
            QVERIFY(!page->reportedDate()->isEnabled() &&
                    !page->reportedVersionList()->isEnabled());
            sheet->accept();
        });
        const lindor::ComPtr<IBug> stored = storedBug(id);
        QCOMPARE(TextOf(stored.get(), &IBug::get_Status), QStringLiteral("Active"));
        QCOMPARE(NumberOf(stored.get(), &IBug::get_FixedByID), 0);
        QCOMPARE(TextOf(stored.get(), &IBug::get_FixedBy), QString());
        QCOMPARE(nimbra::DateOf(stored.get(), &IBug::get_FixedDate), 0.0);
        QCOMPARE(NumberOf(stored.get(), &IBug::get_FixedInVersionID), 0);
        QCOMPARE(NumberOf(stored.get(), &IBug::get_VerifiedByID), 0);
        QCOMPARE(nimbra::DateOf(stored.get(), &IBug::get_VerifiedDate), 0.0);
    }

    void onlyAChangeOfStatusNamesTheResolverOrVerifier()
    {
        const int resolved = database->addBug(resolvedBySomebodyElse(QStringLiteral("Resolved")));
        NewBug verifiedBug = resolvedBySomebodyElse(QStringLiteral("Verified"));
        verifiedBug.verifiedById = 1;
        verifiedBug.verifiedDate = kVerifiedDate;
        const int verified = database->addBug(verifiedBug);
        NewBug activeBug;
        activeBug.status = QStringLiteral("Active");
        const int active = database->addBug(activeBug);
        logIn(QStringLiteral("ann"));
        for (int id : {resolved, verified}) {
            editBug(id, [](BugSheet* sheet) {
                sheet->general()->description()->setText(QStringLiteral("Reworded"));
                sheet->accept();
            });
        }
        lindor::ComPtr<IBug> stored = storedBug(resolved);
        QCOMPARE(TextOf(stored.get(), &IBug::get_Description), QStringLiteral("Reworded"));
        QCOMPARE(TextOf(stored.get(), &IBug::get_FixedBy), QStringLiteral("Admin"));
        QCOMPARE(nimbra::DateOf(stored.get(), &IBug::get_FixedDate), kFixedDate);
        QCOMPARE(TextOf(stored.get(), &IBug::get_LastModifiedBy), QStringLiteral("Ann"));
        QVERIFY(IsToday(nimbra::DateOf(stored.get(), &IBug::get_LastModifiedDate)));
        stored = storedBug(verified);
        QCOMPARE(TextOf(stored.get(), &IBug::get_VerifiedBy), QStringLiteral("Admin"));
        QCOMPARE(nimbra::DateOf(stored.get(), &IBug::get_VerifiedDate), kVerifiedDate);

        editBug(active, [](BugSheet* sheet) {
            GeneralPage* page = sheet->general();
            page->pickStatus(QStringLiteral("Resolved"));
            QCOMPARE(page->resolvedBy()->text(), QStringLiteral("Ann"));
            QCOMPARE(page->resolvedVersionList()->currentText(), QStringLiteral("Version 1.0"));
            sheet->accept();
        });
        stored = storedBug(active);
        QCOMPARE(TextOf(stored.get(), &IBug::get_FixedBy), QStringLiteral("Ann"));
        QCOMPARE(TextOf(stored.get(), &IBug::get_FixedInVersion), QStringLiteral("Version 1.0"));
        QVERIFY(IsToday(nimbra::DateOf(stored.get(), &IBug::get_FixedDate)));
    }

    void rightsDisableTheirControls()
    {
        const int id = database->addBug({});
        const QString trace = writeFile(QStringLiteral("trace.txt"), "line one\nline two\n");
        QVERIFY(attach(id, trace));
        // The desktop's "open" is a stand-in that notes what it was given.
        const QString opened = environment->path(QStringLiteral("opened"));
        const QString launcher = writeFile(QStringLiteral("bin/xdg-open"),
                                           "#!/bin/sh\necho \"$1\" > " + opened.toUtf8() + "\n");
        QFile::setPermissions(launcher, QFile::permissions(launcher) | QFile::ExeOwner);
        qputenv("PATH", QFileInfo(launcher).path().toUtf8() + ':' + qgetenv("PATH"));

        logIn(QStringLiteral("bob"));
        const QString copy = environment->path(QStringLiteral("copy.txt"));
        editBug(id, [&copy](BugSheet* sheet) {
            GeneralPage* page = sheet->general();
            QVERIFY(!page->description()->isEnabled());
            QVERIFY(!page->severityList()->isEnabled());
            QVERIFY(!page->dateDue()->isEnabled());
            QVERIFY(page->priorityList()->isEnabled() && page->estimate()->isEnabled());
            QVERIFY(page->statusList()->isEnabled() && page->bugButton()->isEnabled());
            QVERIFY(sheet->textPage(0)->isReadOnly());
            QVERIFY(!sheet->textPage(1)->isReadOnly());
            AttachmentPage* files = sheet->attachments();
            files->selection()->select(
                files->model()->index(0, 0),
                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            QVERIFY(files->action(AttachmentPage::Tool::Open)->isEnabled());
            QVERIFY(files->action(AttachmentPage::Tool::SaveAs)->isEnabled());
            QVERIFY(!files->action(AttachmentPage::Tool::AddFile)->isEnabled());
            QVERIFY(!files->action(AttachmentPage::Tool::Delete)->isEnabled());
            files->deleteSelected();
            QCOMPARE(files->model()->rowCount(), 1);
            files->saveSelectedAs(copy);
            files->openSelected();
        });
        QFile saved(copy);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("line one\nline two\n"));
        QTRY_VERIFY(QFile::exists(opened));
        QFile note(opened);
        QVERIFY(note.open(QIODevice::ReadOnly));
        QVERIFY(note.readAll().trimmed().endsWith("trace.txt"));
        QVERIFY(messages->texts().isEmpty());

        // A new report is not held to the rights to change a bug.
        WhenSheetShown([](BugSheet* sheet) {
            QVERIFY(sheet->general()->description()->isEnabled());
            QVERIFY(sheet->general()->severityList()->isEnabled());
            QVERIFY(!sheet->textPage(0)->isReadOnly());
        });
        window->reportNew(lindor::eBug);
    }

    void attachmentChangesWaitForOk()
    {
        const int id = database->addBug({});
        QVERIFY(attach(id, writeFile(QStringLiteral("trace.txt"), "trace")));
        const QString notes = writeFile(QStringLiteral("notes.txt"), "notes");
        logIn(QStringLiteral("ann"));
        editBug(id, [&notes](BugSheet* sheet) {
            AttachmentPage* files = sheet->attachments();
            QCOMPARE(files->view(), AttachmentPage::View::LargeIcons);
            const std::unique_ptr<QMenu> menu = files->createContextMenu();
            QStringList entries;
            for (QAction* entry : menu->actions())
                if (!entry->isSeparator()) entries.append(entry->text());
            QCOMPARE(entries, QStringList({"Open...", "Save As...", "Large Icons", "Small Icons",
                                           "List", "Detail"}));
            QVERIFY(menu->actions().at(3)->isChecked());
            QVERIFY(files->addFile(notes));
            QCOMPARE(files->model()->rowCount(), 2);
            files->deleteSelected();
            QCOMPARE(files->model()->rowCount(), 1);
            QVERIFY(!sheet->pendingAttachments().hasChanges());
            sheet->accept();
        });
        QCOMPARE(FileNames(storedBug(id).get()), QStringList{"trace.txt"});

        editBug(id, [](BugSheet* sheet) {
            AttachmentPage* files = sheet->attachments();
            files->selection()->select(
                files->model()->index(0, 0),
                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            files->deleteSelected();
            QCOMPARE(files->model()->rowCount(), 0);
        });  // cancelled
        QCOMPARE(FileNames(storedBug(id).get()), QStringList{"trace.txt"});

        editBug(id, [&notes](BugSheet* sheet) {
            AttachmentPage* files = sheet->attachments();
            files->setView(AttachmentPage::View::Detail);
            files->selection()->select(
                files->model()->index(0, 0),
                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            files->deleteSelected();
            QMimeData dragged;
            dragged.setUrls({QUrl::fromLocalFile(notes), QUrl::fromLocalFile(QDir::tempPath())});
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dragged, Qt::LeftButton,
                            Qt::NoModifier);
            // Delivered as the window delivers a drop that ends over the page.
            static_cast<QObject*>(files)->event(&drop);
            QCOMPARE(files->model()->rowCount(), 1);  // the folder is no file to attach
            sheet->accept();
        });
        QCOMPARE(FileNames(storedBug(id).get()), QStringList{"notes.txt"});
    }

    void bugSwitchedToFeatureMovesToTheOtherList()
    {
        const int id = database->addBug({});
        database->addBug({});
        logIn(QStringLiteral("ann"));
        editBug(id, [](BugSheet* sheet) {
            sheet->general()->featureButton()->click();
            sheet->accept();
        });
        QCOMPARE(window->views()->bugs()->bugModel()->rowCount(), 1);
        QCOMPARE(window->views()->features()->bugModel()->rowCount(), 1);
        QCOMPARE(window->views()->features()->bugModel()->bugIdAt(0), id);

        WhenSheetShown([](BugSheet* sheet) {
            sheet->general()->description()->setText(QStringLiteral("Really a wish"));
            sheet->general()->featureButton()->click();
            sheet->accept();
        });
        window->reportNew(lindor::eBug);
        QCOMPARE(window->views()->bugs()->bugModel()->rowCount(), 1);
        QCOMPARE(window->views()->features()->bugModel()->rowCount(), 2);
    }

    void bugChangedMeanwhileKeepsTheEditsAndOffersTheStoredOne()
    {
        NewBug wanted;
        wanted.description = QStringLiteral("Original");
        const int id = database->addBug(wanted);
        logIn(QStringLiteral("ann"));
        editBug(id, [this, id](BugSheet* sheet) {
            GeneralPage* page = sheet->general();
            page->description()->setText(QStringLiteral("Mine"));
            QVERIFY(changeElsewhere(id, QStringLiteral("Theirs")));
            messages->answerNext(QMessageBox::No);
            sheet->accept();
            QVERIFY(sheet->isVisible());
            QCOMPARE(messages->texts().size(), 2);
            QCOMPARE(messages->texts().first(), QStringLiteral("Update bug failed!"));
            QVERIFY(messages->last().contains(QStringLiteral("Reload the stored bug?")));
            QCOMPARE(page->description()->text(), QStringLiteral("Mine"));

            messages->answerNext(QMessageBox::Yes);
            sheet->accept();
            QVERIFY(sheet->isVisible());
            QCOMPARE(page->description()->text(), QStringLiteral("Theirs"));
            page->priorityList()->setCurrentText(QStringLiteral("High"));
            sheet->accept();
            QVERIFY(!sheet->isVisible());
        });
        const lindor::ComPtr<IBug> stored = storedBug(id);
        QCOMPARE(TextOf(stored.get(), &IBug::get_Description), QStringLiteral("Theirs"));
        QCOMPARE(TextOf(stored.get(), &IBug::get_Priority), QStringLiteral("High"));
    }

    void foreignRtfSurvivesAnEditOfAnotherField()
    {
        NewBug wanted;
        wanted.report = QString::fromStdString(kForeignRtf);
        const int id = database->addBug(wanted);
        logIn(QStringLiteral("ann"));
        editBug(id, [](BugSheet* sheet) {
            QVERIFY(sheet->textPage(0)->editor()->toPlainText().contains(
                QStringLiteral("Step\tResult")));
            sheet->general()->description()->setText(QStringLiteral("Reworded"));
            sheet->textPage(2)->editor()->setPlainText(QStringLiteral("Restart it"));
            sheet->accept();
        });
        lindor::ComPtr<IBug> stored = storedBug(id);
        QCOMPARE(TextOf(stored.get(), &IBug::get_Report).toStdString(), kForeignRtf);
        QCOMPARE(
            richtext::RtfToPlainText(TextOf(stored.get(), &IBug::get_Workaround).toStdString()),
            std::string("Restart it"));

        editBug(id, [](BugSheet* sheet) {
            QTextEdit* report = sheet->textPage(0)->editor();
            report->moveCursor(QTextCursor::End);
            report->insertPlainText(QStringLiteral("More."));
            sheet->accept();
        });
        stored = storedBug(id);
        const std::string report = TextOf(stored.get(), &IBug::get_Report).toStdString();
        QVERIFY(report != kForeignRtf);
        QVERIFY(richtext::RtfToPlainText(report).find("More.") != std::string::npos);
        QVERIFY(richtext::RtfToPlainText(report).find("Step\tResult") != std::string::npos);
    }

    void incompletePagesAreRefusedWithTheirMessage()
    {
        NewBug activeBug;
        activeBug.status = QStringLiteral("Active");
        const int active = database->addBug(activeBug);
        logIn(QStringLiteral("ann"), 0);  // no active version
        WhenSheetShown([this](BugSheet* sheet) {
            sheet->general()->description()->setText(QStringLiteral("No version yet"));
            QCOMPARE(sheet->general()->reportedVersionList()->currentIndex(), -1);
            sheet->tabs()->setCurrentIndex(1);
            QCOMPARE(messages->last(),
                     QStringLiteral("Please select a version in which it's reported!"));
            QCOMPARE(sheet->tabs()->currentIndex(), 0);
            sheet->general()->reportedVersionList()->setCurrentIndex(0);
            sheet->tabs()->setCurrentIndex(BugSheet::kAttachmentPage);
            QCOMPARE(sheet->tabs()->currentIndex(), BugSheet::kAttachmentPage);
            sheet->showHelp();
            QCOMPARE(messages->last(), QStringLiteral("Help File NOT Found!"));
        });
        window->reportNew(lindor::eBug);

        editBug(active, [this](BugSheet* sheet) {
            GeneralPage* page = sheet->general();
            page->pickStatus(QStringLiteral("Resolved"));
            QCOMPARE(page->resolvedVersionList()->currentIndex(), -1);
            sheet->accept();
            QCOMPARE(messages->last(),
                     QStringLiteral("Please select a version in which it's resolved!"));
            page->resolvedVersionList()->setCurrentIndex(1);
            page->description()->setText(QStringLiteral("   "));
            sheet->accept();
            QCOMPARE(messages->last(), QStringLiteral("Please enter description."));
            QVERIFY(sheet->isVisible());
        });
        QCOMPARE(TextOf(storedBug(active).get(), &IBug::get_Status), QStringLiteral("Active"));
    }

private:
    void logIn(const QString& login, int versionId = 1)
    {
        window = std::make_unique<MainWindow>();
        QVERIFY(window->openDatabase(database->path()));
        QCOMPARE(window->context()->Login(login.toStdString(), "pw"), lindor::S_OK);
        QCOMPARE(window->context()->SetActiveProject(1, versionId), lindor::S_OK);
    }

    // Selects the bug in the active list and edits it.
    void editBug(int id, std::function<void(BugSheet*)> act)
    {
        nimbra::BugListView* list = window->activeList();
        int row = 0;
        while (row < list->bugModel()->rowCount() && list->bugModel()->bugIdAt(row) != id) ++row;
        QVERIFY(row < list->bugModel()->rowCount());
        list->selectRow(row);
        QVERIFY(window->action(nimbra::Command::Edit)->isEnabled());
        WhenSheetShown(std::move(act));
        window->editCurrent();
    }

    NewBug resolvedBySomebodyElse(const QString& status)
    {
        NewBug wanted;
        wanted.status = status;
        wanted.fixedById = 1;
        wanted.fixedDate = kFixedDate;
        wanted.fixedInVersionId = kVersion2;
        return wanted;
    }

    // The bug as stored now, read by the window's own context.
    lindor::ComPtr<IBug> storedBug(int id)
    {
        for (lindor::eBugType type : {lindor::eBug, lindor::eFeature}) {
            lindor::ComPtr<lindor::IBugSet> bugs;
            lindor::ComPtr<IBug> bug;
            if (window->context()->OpenBugSet(type, nullptr, bugs.put()) == lindor::S_OK &&
                bugs->GetBugByID(id, bug.put()) == lindor::S_OK && bug)
                return bug;
        }
        return nullptr;
    }

    // Another program (the administrator's context) changes the bug.
    bool changeElsewhere(int id, const QString& description)
    {
        lindor::ComPtr<lindor::IBugSet> bugs;
        lindor::ComPtr<IBug> bug;
        return database->context()->OpenBugSet(lindor::eBug, nullptr, bugs.put()) == lindor::S_OK &&
               bugs->GetBugByID(id, bug.put()) == lindor::S_OK &&
               bug->put_Description(description.toStdString()) == lindor::S_OK &&
               bugs->Update(bug.get()) == lindor::S_OK;
    }

    bool attach(int id, const QString& path)
    {
        lindor::ComPtr<lindor::IBugSet> bugs;
        lindor::ComPtr<IBug> bug;
        lindor::ComPtr<lindor::IFileSet> files;
        lindor::ComPtr<lindor::IFile> file;
        return database->context()->OpenBugSet(lindor::eBug, nullptr, bugs.put()) == lindor::S_OK &&
               bugs->GetBugByID(id, bug.put()) == lindor::S_OK &&
               bug->get_AttachedFiles(files.put()) == lindor::S_OK &&
               files->Add(path.toStdString(), file.put()) == lindor::S_OK;
    }

    QString writeFile(const QString& name, const QByteArray& content)
    {
        const QString path = environment->path(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(content);
        return path;
    }
};

QTEST_MAIN(BugSheetTest)
#include "tst_bugsheet.moc"
