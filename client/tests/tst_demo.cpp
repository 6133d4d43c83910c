// The demo database made by nimbra-cli, opened as its manager: a filled
// window without questions, the project tree, formatted texts in the
// detail pane and the reporter's computer.
#include <QProcess>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include <memory>

#include "client/buglistmodel.h"
#include "client/buglistview.h"
#include "client/bugtabview.h"
#include "client/detailpane.h"
#include "client/infobar.h"
#include "client/mainwindow.h"
#include "client/projectpane.h"
#include "client/reportform.h"
#include "client/sysinfofields.h"
#include "client/sysinfoform.h"
#include "richtext/plaintext.h"
#include "widgets/testsupport/messagerecorder.h"
#include "widgets/testsupport/testenvironment.h"

class DemoTest : public QObject {
    Q_OBJECT
private slots:
    void managerSeesAFilledWindowWithoutQuestions()
    {
        nimbra::test::TestEnvironment environment;
        const QString path = environment.path(QStringLiteral("demo.mdb"));
        QProcess cli;
        cli.start(QStringLiteral(NIMBRA_CLI),
                  {"demo", path, "--bugs", "40", "--today", "2024-06-30"});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);

        nimbra::test::MessageRecorder messages;
        nimbra::MainWindow window;
        QVERIFY(window.openDatabase(path));
        QCOMPARE(window.context()->Login("maria", "maria-demo"), lindor::S_OK);
        QCOMPARE(messages.texts(), QStringList());
        QCOMPARE(window.infoBar()->userText(), QStringLiteral("Maria Lindqvist"));
        QTreeWidgetItem* root = window.projectPane()->root();
        QCOMPARE(root->childCount(), 2);
        QCOMPARE(root->child(0)->text(0), QStringLiteral("Ledgerly Desktop"));

        QCOMPARE(window.context()->SetActiveProject(1, 0), lindor::S_OK);
        QCOMPARE(window.infoBar()->projectText(), QStringLiteral("Ledgerly Desktop (All)"));
        nimbra::BugListView* list = window.views()->bugs();
        QVERIFY(list->bugModel()->rowCount() > 0);

        int reported = -1;
        std::string report;
        for (int row = 0; row < list->bugModel()->rowCount() && reported < 0; ++row) {
            list->bugModel()->bugAt(row)->get_Report(&report);
            if (richtext::IsRtf(report)) reported = row;
        }
        QVERIFY2(reported >= 0, "the demo has a report with rich text");
        list->selectRow(reported);
        const QString shown = window.detailPane()->textForm(1)->browser()->toPlainText();
        const QString firstLine = QString::fromStdString(richtext::RtfToPlainText(report))
                                      .section(QLatin1Char('\n'), 0, 0);
        QVERIFY(!firstLine.isEmpty());
        QVERIFY2(shown.startsWith(firstLine), qPrintable(shown));
        QVERIFY(!shown.contains(QStringLiteral("\\rtf")));
        QVERIFY(!window.detailPane()->sysInfo()->fieldText(nimbra::kCpu).isEmpty());
    }
};

QTEST_MAIN(DemoTest)
#include "tst_demo.moc"
