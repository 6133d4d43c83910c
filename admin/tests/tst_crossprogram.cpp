// A user made by nimbra-admin with the template "Developer" in one project
// works with nimbra-cli: the command line lets him do what the template
// grants and refuses, with the engine's rights message, what it withholds.
#include <QComboBox>
#include <QProcess>
#include <QTest>

#include "admin/rightpage.h"
#include "admin/tests/adminfixture.h"
#include "roles/roletemplates.h"

using namespace nimbra;
using namespace nimbra::test;
using roles::RightFlag;

namespace {

// The fields nimbra-cli guards with a right, each with a value it accepts
// on a new database.
struct GuardedField {
    const char* name;
    RightFlag right;
    const char* value;
};

const GuardedField kFields[] = {
    {"BugType", RightFlag::EditType, "Feature"},
    {"Description", RightFlag::EditDescription, "Rewritten"},
    {"Classification", RightFlag::EditClass, "Parser"},
    {"Priority", RightFlag::EditPriority, "High"},
    {"Severity", RightFlag::EditSeverity, "Crash"},
    {"Reproductive", RightFlag::EditReproductive, "Never"},
    {"ReportedInVersion", RightFlag::EditReportedInVersion, "Version 2.0"},
    {"ReportedDate", RightFlag::EditReportedDate, "2024-01-02"},
    {"FixedInVersion", RightFlag::EditFixedInVersion, "Version 2.0"},
    {"FixedDate", RightFlag::EditFixedDate, "2024-01-03"},
    {"VerifiedDate", RightFlag::EditVerifiedDate, "2024-01-04"},
    {"DateDue", RightFlag::EditDateDue, "2024-02-01"},
    {"EstimatedTime", RightFlag::EditEstimatedTime, "90"},
    {"Report", RightFlag::EditReport, "Steps seen"},
    {"RecreateStep", RightFlag::EditRecreateStep, "Open, save"},
    {"Workaround", RightFlag::EditWorkAround, "Save twice"},
    {"Resolution", RightFlag::EditResolution, "Fixed the parser"},
};

struct Outcome {
    int exitCode = -1;
    QString output;
};

}  // namespace

class CrossProgramTest : public AdminTestCase {
    Q_OBJECT
private slots:
    void init() { startWithTeamDatabase(); }

    void developerMadeHereIsHeldToHisTemplateByTheCommandLine()
    {
        const int bug = database->addBug({});
        QVERIFY(bug > 0);
        QVERIFY(fixture->openAs(database->path()));
        fixture->addUser("dev", [](RightPage* page) {
            const int developer = page->templateList()->findText("Developer");
            page->templateList()->setCurrentIndex(developer);
            emit page->templateList()->activated(developer);
        });
        const roles::RoleTemplate& developer = *roles::RoleTemplates::find("Developer");
        const QString id = QString::number(bug);

        QCOMPARE(cli({"list", "--project", "Project 1"}).exitCode, 0);
        QVERIFY(cli({"list", "--project", "Project 2"}).exitCode != 0);
        for (const GuardedField& field : kFields) {
            const Outcome outcome = cli({"update", id, "--project", "Project 1", "--set",
                                         QString("%1=%2").arg(field.name, field.value)});
            const bool granted = developer.grants(field.right);
            QVERIFY2(outcome.exitCode == (granted ? 0 : 1),
                     qPrintable(field.name + (": " + outcome.output)));
            if (!granted)
                QVERIFY2(outcome.output.contains(
                             QString("You have no right to edit %1,").arg(field.name)),
                         qPrintable(outcome.output));
        }
        QCOMPARE(cli({"update", id, "--project", "Project 1", "--set", "Status=Resolved"}).exitCode,
                 0);
        expectRefusal({"update", id, "--project", "Project 1", "--set", "Status=Verified"},
                      "You have no right to set the status Verified");
        expectRefusal({"add", "--project", "Project 1", "--version", "Version 1.0", "--set",
                       "Description=Mine"},
                      "You have no right to Add bug");
        expectRefusal({"attach", id, "--project", "Project 1", database->path()},
                      "You have no right to add attachment");
        expectRefusal({"delete", id, "--project", "Project 1"}, "You have no right to delete bug");
    }

private:
    Outcome cli(const QStringList& arguments) const
    {
        QProcess process;
        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        variables.insert("NIMBRA_DB", database->path());
        variables.insert("NIMBRA_USER", "dev");
        variables.insert("NIMBRA_PASSWORD", "pw");
        process.setProcessEnvironment(variables);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(NIMBRA_CLI, arguments);
        if (!process.waitForFinished(20000)) return {};
        return {process.exitCode(), QString::fromUtf8(process.readAll())};
    }

    void expectRefusal(const QStringList& arguments, const QString& message) const
    {
        const Outcome outcome = cli(arguments);
        QCOMPARE(outcome.exitCode, 1);
        QVERIFY2(outcome.output.contains(message), qPrintable(outcome.output));
    }
};

QTEST_MAIN(CrossProgramTest)
#include "tst_crossprogram.moc"
