// The filter store and "filter.ser" on a real database: the quick views of
// the logged-in user, the exact bytes of the file, files of another version
// or damaged, saving that never cuts the old file, and a quick view applied
// to a bug list.
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/resource.h>

#include <csignal>
#include <memory>

#include "archivebytes.h"
#include "client/clientfiles.h"
#include "client/filterfile.h"
#include "client/filtersets.h"
#include "client/filterstore.h"
#include "clienttestcase.h"
#include "widgets/enginedate.h"
#include "widgets/testsupport/testdatabase.h"
#include "widgets/testsupport/testenvironment.h"

using nimbra::FilterSets;
using nimbra::FilterStore;
using nimbra::test::Float64;
using nimbra::test::Int32;
using nimbra::test::ShortString;
using nimbra::test::UInt16;

namespace {

QStringList Names(const FilterStore& store)
{
    QStringList names;
    for (int i = 0; i < store.count(); ++i) names.append(FilterSets::name(store.at(i)));
    return names;
}

const QStringList kQuickViews = {"My Bugs/Feature", "Today's Bug/Feature", "Resolved", "Verified"};

lindor::ComPtr<lindor::IBugFilterSet> SetWith(const QString& name,
                                              const QList<FilterSets::Condition>& conditions)
{
    lindor::ComPtr<lindor::IBugFilterSet> set = FilterSets::make(name);
    for (const FilterSets::Condition& condition : conditions) {
        const auto filter = FilterSets::makeCondition(condition);
        if (!filter || set->Add(filter.get()) != lindor::S_OK) return nullptr;
    }
    return set;
}

QByteArray FileBytes()
{
    QFile file(FilterStore::filePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QByteArray& bytes)
{
    QFile file(FilterStore::filePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Writes beyond `bytes` in any file fail while it lives, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

}  // namespace

class FilterStoreTest : public nimbra::test::ClientTestCase {
    Q_OBJECT
private slots:
    void init()
    {
        QString error;
        QVERIFY2(makeDatabaseWithAnn(&error), qPrintable(error));
        QCOMPARE(lindor::CreateObject("Lindor.ExeContext.1", context.put()), lindor::S_OK);
        QCOMPARE(context->OpenAccessDB(database->path().toStdString()), lindor::S_OK);
        QCOMPARE(context->Login("ann", "pw"), lindor::S_OK);
        QCOMPARE(context->SetActiveProject(1, 0), lindor::S_OK);
    }

    void cleanup()
    {
        context->Close();
        context.reset();
        releaseAll();
    }

    void quickViewsOfTheLoggedInUser()
    {
        FilterStore store;
        QString error;
        QVERIFY2(store.rebuild(context.get(), &error), qPrintable(error));
        QCOMPARE(Names(store), kQuickViews);
        QCOMPARE(store.builtInCount(), 4);
        QVERIFY(store.isBuiltIn(QStringLiteral("Resolved")));
        // Ann has no classification in the project: her view has no condition.
        QCOMPARE(FilterSets::count(store.at(0)), 0);
        FilterSets::Condition resolved;
        QVERIFY(FilterSets::read(FilterSets::item(store.at(2), 0).get(), &resolved));
        QCOMPARE(resolved.field, QStringLiteral("StatusName"));
        QCOMPARE(resolved.value.text(), std::string("Resolved"));
        QCOMPARE(resolved.andOr, lindor::LogOr);
        QCOMPARE(resolved.condition, lindor::Equal);

        // Nobody logged in: no quick views.
        QCOMPARE(context->OpenAccessDB(database->path().toStdString()), lindor::S_OK);
        QVERIFY(store.rebuild(context.get(), &error));
        QCOMPARE(store.count(), 0);
    }

    void todaysViewListsABugReportedTodayAt14()
    {
        const QDate today = QDate::currentDate();
        nimbra::test::NewBug early;
        early.description = QStringLiteral("Reported today");
        early.reportedDate = nimbra::EngineDate::fromDateTime(QDateTime(today, QTime(14, 0)));
        nimbra::test::NewBug before;
        before.description = QStringLiteral("Reported yesterday");
        before.reportedDate =
            nimbra::EngineDate::fromDateTime(QDateTime(today.addDays(-1), QTime(14, 0)));
        QVERIFY(database->addBug(early) > 0 && database->addBug(before) > 0);

        FilterStore store;
        QString error;
        QVERIFY2(store.rebuild(context.get(), &error), qPrintable(error));
        lindor::ComPtr<lindor::IBugSet> bugs;
        QCOMPARE(context->OpenBugSet(lindor::eBug, nullptr, bugs.put()), lindor::S_OK);
        QCOMPARE(bugs->put_FilterSet(store.find(QStringLiteral("Today's Bug/Feature"))),
                 lindor::S_OK);
        std::int32_t count = 0;
        bugs->get_Count(&count);
        QCOMPARE(count, 1);
        QCOMPARE(bugs->put_Position(0), lindor::S_OK);
        lindor::ComPtr<lindor::IBug> bug;
        std::string description;
        QVERIFY(bugs->get_CurItem(bug.put()) == lindor::S_OK && bug);
        bug->get_Description(&description);
        QCOMPARE(description, std::string("Reported today"));
    }

    void savesUserFiltersOnlyAndReloadsThemOnce()
    {
        FilterStore store;
        QString error;
        QVERIFY(store.rebuild(context.get(), &error));
        QVERIFY(store.add(SetWith(QStringLiteral("Mine"), {})));
        QVERIFY(!store.add(SetWith(QStringLiteral("Resolved"), {})));
        QVERIFY2(store.save(&error), qPrintable(error));
        QCOMPARE(FileBytes(), Int32(1) + Int32(1) + ShortString("Mine") + Int32(0));

        QVERIFY(store.rebuild(context.get(), &error));
        QVERIFY(store.rebuild(context.get(), &error));
        QCOMPARE(Names(store), kQuickViews + QStringList{"Mine"});
        QVERIFY(!store.isBuiltIn(QStringLiteral("Mine")));
        QVERIFY(store.remove(QStringLiteral("Resolved")));
        QCOMPARE(store.builtInCount(), 3);
    }

    void conditionsAreWrittenWithTheirValueTypes()
    {
        const double day = 38007.0;  // 21 January 2004
        FilterStore store;
        QVERIFY(store.add(SetWith(QStringLiteral("Open since"),
                                  {{QStringLiteral("ReportedDate"), lindor::LargerEqual,
                                    lindor::Variant::Date(day), lindor::LogAnd},
                                   {QStringLiteral("StatusName"), lindor::NotEqual,
                                    lindor::Variant::Text("Resolved"), lindor::LogOr}})));
        QString error;
        QVERIFY2(store.save(&error), qPrintable(error));
        const QByteArray expected = Int32(1) + Int32(1) + ShortString("Open since") + Int32(2) +
                                    ShortString("ReportedDate") + Int32(4) + UInt16(7) +
                                    Float64(day) + Int32(1) + ShortString("StatusName") + Int32(2) +
                                    UInt16(8) + ShortString("Resolved") + Int32(2);
        QCOMPARE(FileBytes(), expected);

        FilterStore reread;
        QCOMPARE(reread.load(&error), FilterStore::LoadResult::Loaded);
        FilterSets::Condition date;
        QVERIFY(FilterSets::read(FilterSets::item(reread.at(0), 0).get(), &date));
        QCOMPARE(date.value.vt(), lindor::VT_DATE);
        QCOMPARE(date.value.date(), day);
        QCOMPARE(date.condition, lindor::LargerEqual);
    }

    void longNamesTakeTheWideLengthPrefixes()
    {
        const QString name300(300, QLatin1Char('n'));
        const QString name70k(70000, QLatin1Char('w'));
        FilterStore store;
        QVERIFY(store.add(SetWith(name300, {})));
        QString error;
        QVERIFY(store.save(&error));
        QCOMPARE(FileBytes().mid(8, 3), QByteArray("\xFF") + UInt16(300));

        QVERIFY(store.add(SetWith(name70k, {})));
        QVERIFY(store.save(&error));
        const QByteArray bytes = FileBytes();
        const int second = 8 + 3 + 300 + 4;
        QCOMPARE(bytes.mid(second, 7), QByteArray("\xFF") + UInt16(0xFFFF) + Int32(70000));

        FilterStore reread;
        QCOMPARE(reread.load(&error), FilterStore::LoadResult::Loaded);
        QCOMPARE(Names(reread), (QStringList{name300, name70k}));
    }

    void filesOfAnotherVersionOrDamaged()
    {
        const QByteArray filter = ShortString("Mine") + Int32(1) + ShortString("StatusName") +
                                  Int32(1) + UInt16(8) + ShortString("New") + Int32(1);
        WriteFile(Int32(2) + Int32(1) + filter);
        FilterStore store;
        QString error;
        QVERIFY(store.rebuild(context.get(), &error));
        QCOMPARE(Names(store), kQuickViews);
        QCOMPARE(store.load(&error), FilterStore::LoadResult::Skipped);
        QVERIFY(error.isEmpty());

        // The second filter ends early: the first stays, the damage is named.
        WriteFile(Int32(1) + Int32(2) + filter + filter.left(filter.size() - 3));
        QVERIFY(!store.rebuild(context.get(), &error));
        QCOMPARE(error, nimbra::ClientFiles::damagedText(QStringLiteral("filter.ser")));
        QCOMPARE(Names(store), kQuickViews + QStringList{"Mine"});

        // A name already taken ends the load without a message.
        WriteFile(Int32(1) + Int32(2) + filter + filter);
        QVERIFY(store.rebuild(context.get(), &error));
        QCOMPARE(store.count(), 5);

        // A value the engine refuses for its field (text on a date column).
        WriteFile(Int32(1) + Int32(1) + ShortString("Odd") + Int32(1) +
                  ShortString("ReportedDate") + Int32(1) + UInt16(8) + ShortString("x") + Int32(1));
        error.clear();
        QVERIFY(!store.rebuild(context.get(), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(store.count(), 4);
    }

    void aSaveCutShortLeavesTheOldFileWhole()
    {
        FilterStore store;
        QVERIFY(store.add(SetWith(QStringLiteral("Kept"), {})));
        QString error;
        QVERIFY(store.save(&error));
        const QByteArray before = FileBytes();

        QVERIFY(store.add(SetWith(QString(4000, QLatin1Char('x')), {})));
        {
            const FileSizeLimit diskFull(1024);
            QVERIFY(!store.save(&error));
        }
        QVERIFY(error.contains(FilterStore::filePath()));
        QCOMPARE(FileBytes(), before);
        QCOMPARE(QDir(nimbra::ClientFiles::folder()).entryList(QDir::Files),
                 QStringList{"filter.ser"});

        // A folder standing where the file goes cannot be replaced either.
        QVERIFY(QFile::remove(FilterStore::filePath()));
        QVERIFY(QDir().mkdir(FilterStore::filePath()));
        QVERIFY(!store.save(&error));
    }

private:
    lindor::ComPtr<lindor::IExeContext> context;
};

QTEST_MAIN(FilterStoreTest)
#include "tst_filterstore.moc"
