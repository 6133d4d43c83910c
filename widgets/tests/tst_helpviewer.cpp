// The help window: pages from the help folder beside the program, moving
// back, forward and to the contents, and a missing page said as such.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextBrowser>
#include <QWidget>

#include "widgets/helpviewer.h"
#include "widgets/testsupport/messagerecorder.h"

using nimbra::HelpViewer;
using nimbra::test::MessageRecorder;

namespace {

QString HelpFolder()
{
    return QApplication::applicationDirPath() + QStringLiteral("/help");
}

void WritePage(const QString& name, const QString& body)
{
    QFile file(HelpFolder() + QLatin1Char('/') + name);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(("<html><body>" + body + "</body></html>").toUtf8());
}

}  // namespace

class HelpViewerTest : public QObject {
    Q_OBJECT
private slots:
    void missingPagesAreSaid()
    {
        MessageRecorder messages;
        QWidget parent;
        QVERIFY(!HelpViewer::open(&parent));
        QCOMPARE(messages.last(), QStringLiteral("Help File NOT Found!"));
        QVERIFY(QDir().mkpath(HelpFolder() + QStringLiteral("/html")));
        WritePage(QStringLiteral("index.html"), QStringLiteral("Contents"));
        QVERIFY(!HelpViewer::open(&parent, QStringLiteral("html/none.htm")));
        QCOMPARE(messages.texts().size(), 2);
        QCOMPARE(messages.last(), QStringLiteral("Help File NOT Found!"));
        QVERIFY(QDir(HelpFolder()).removeRecursively());
    }

    void backForwardAndContentsMoveBetweenPages()
    {
        QVERIFY(QDir().mkpath(HelpFolder() + QStringLiteral("/html")));
        WritePage(QStringLiteral("index.html"), QStringLiteral("Contents"));
        WritePage(QStringLiteral("html/Topic.htm"), QStringLiteral("Topic"));
        QWidget parent;
        QVERIFY(HelpViewer::open(&parent, QStringLiteral("html/Topic.htm")));
        auto* browser = parent.findChild<QTextBrowser*>(QStringLiteral("helpBrowser"));
        QVERIFY(browser);
        QCOMPARE(browser->toPlainText(), QStringLiteral("Topic"));
        auto* back = parent.findChild<QAction*>(QStringLiteral("helpBack"));
        auto* forward = parent.findChild<QAction*>(QStringLiteral("helpForward"));
        QVERIFY(back && forward);
        QVERIFY(!back->isEnabled());

        parent.findChild<QAction*>(QStringLiteral("helpContents"))->trigger();
        QCOMPARE(browser->toPlainText(), QStringLiteral("Contents"));
        QVERIFY(back->isEnabled());
        QVERIFY(!forward->isEnabled());
        back->trigger();
        QCOMPARE(browser->toPlainText(), QStringLiteral("Topic"));
        QVERIFY(forward->isEnabled());
        forward->trigger();
        QCOMPARE(browser->toPlainText(), QStringLiteral("Contents"));

        // Help asked for again reuses the open window.
        QVERIFY(HelpViewer::open(&parent));
        QCOMPARE(parent.findChildren<QTextBrowser*>().size(), 1);
        QVERIFY(QDir(HelpFolder()).removeRecursively());
    }
};

QTEST_MAIN(HelpViewerTest)
#include "tst_helpviewer.moc"
