// Dates and failures as the programs receive them from the engine.
#include <QTest>

#include <lindor/lindor.h>

#include <memory>

#include "widgets/enginedate.h"
#include "widgets/engineerror.h"
#include "widgets/testsupport/testdatabase.h"
#include "widgets/testsupport/testenvironment.h"

using nimbra::EngineDate;

class EngineTest : public QObject {
    Q_OBJECT
private slots:
    void init() { environment = std::make_unique<nimbra::test::TestEnvironment>(); }
    void cleanup() { environment.reset(); }

    void datesConvertBothWays()
    {
        QVERIFY(!EngineDate::toDateTime(0.0).isValid());
        QCOMPARE(EngineDate::fromDateTime(QDateTime()), 0.0);
        QCOMPARE(EngineDate::toDateTime(38007.5), QDateTime(QDate(2004, 1, 21), QTime(12, 0)));
        QCOMPARE(EngineDate::toDateTime(45000.75), QDateTime(QDate(2023, 3, 15), QTime(18, 0)));
        QCOMPARE(EngineDate::toDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
        QCOMPARE(EngineDate::fromDateTime(QDateTime(QDate(2004, 1, 21), QTime(12, 0))), 38007.5);
    }

    void failureTextIsTheEngineDescription()
    {
        lindor::ComPtr<lindor::IExeContext> context;
        QCOMPARE(lindor::CreateObject<lindor::IExeContext>("Lindor.ExeContext.1", context.put()),
                 lindor::S_OK);
        const QString missing = environment->path(QStringLiteral("missing.mdb"));
        QCOMPARE(context->OpenAccessDB(missing.toStdString()), lindor::E_FAIL);
        QCOMPARE(nimbra::EngineError::text(),
                 QStringLiteral("Open database %1 failed").arg(missing));
    }

    void testDatabaseHoldsUsersRightsAndBugs()
    {
        nimbra::test::TestDatabase database(environment->path(QStringLiteral("team.mdb")));
        QVERIFY2(database.isValid(), qPrintable(database.error()));
        const int user =
            database.addUser(QStringLiteral("ann"), QStringLiteral("pw"), QStringLiteral("Ann"));
        QVERIFY2(user > 1, qPrintable(database.error()));
        QVERIFY2(database.grant(user, {nimbra::test::ProjectGrant{}}),
                 qPrintable(database.error()));
        QVERIFY2(database.addBug({}) > 0, qPrintable(database.error()));

        lindor::ComPtr<lindor::IExeContext> context;
        lindor::CreateObject<lindor::IExeContext>("Lindor.ExeContext.1", context.put());
        QCOMPARE(context->OpenAccessDB(database.path().toStdString()), lindor::S_OK);
        QCOMPARE(context->Login("ann", "pw"), lindor::S_OK);
        QCOMPARE(context->SetActiveProject(1, 0), lindor::S_OK);
        lindor::ComPtr<lindor::IBugSet> bugs;
        QCOMPARE(context->OpenBugSet(lindor::eBug, nullptr, bugs.put()), lindor::S_OK);
        std::int32_t count = 0;
        bugs->get_Count(&count);
        QCOMPARE(count, 1);
    }

private:
    std::unique_ptr<nimbra::test::TestEnvironment> environment;
};

QTEST_MAIN(EngineTest)
#include "tst_engine.moc"
