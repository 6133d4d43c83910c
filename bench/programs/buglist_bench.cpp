// Times the client's bug list over a large database: opening the list and
// painting its first screen, scrolling one screen at the top and at the
// bottom (beside the engine reading the same rows without any window), and
// the memory used before and after scrolling through every row.
//   buglist_bench [--bugs N] [--screens N] [--keep PATH]
// Defaults: 100000 bugs, 100 screens timed at each end. --keep writes the
// database to PATH and leaves it there. A smoke run takes seconds:
//   buglist_bench --bugs 3000 --screens 20
#include <sqlite3.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "client/buglistmodel.h"
#include "client/buglistview.h"
#include "widgets/testsupport/testdatabase.h"
#include "widgets/testsupport/testenvironment.h"

namespace {

struct Options {
    int bugs = 100000;
    int screens = 100;
    QString keep;
};

[[noreturn]] void Die(const std::string& why)
{
    std::fprintf(stderr, "buglist_bench: %s\n", why.c_str());
    std::exit(1);
}

Options ParseOptions(const QStringList& args)
{
    Options options;
    for (int i = 1; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == QLatin1String("--bugs") && hasValue)
            options.bugs = args[++i].toInt();
        else if (args[i] == QLatin1String("--screens") && hasValue)
            options.screens = args[++i].toInt();
        else if (args[i] == QLatin1String("--keep") && hasValue)
            options.keep = args[++i];
        else
            Die("usage: buglist_bench [--bugs N] [--screens N] [--keep PATH]");
    }
    if (options.bugs < 1 || options.screens < 1) Die("--bugs and --screens must be positive");
    return options;
}

void Check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        Die(std::string("sqlite: ") + sqlite3_errmsg(db));
}

// Adds the bugs in one transaction, bypassing the engine: filling is not
// what is measured. Values vary as in a team's real list.
void Fill(const QString& path, int bugs)
{
    sqlite3* db = nullptr;
    Check(sqlite3_open(path.toUtf8().constData(), &db), db);
    Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* insert = nullptr;
    Check(sqlite3_prepare_v2(
              db,
              "INSERT INTO tBugReport (BugID, SeverityName, StatusName, PriorityName, "
              "ReproductiveName, Description, ReportedBy, ReportedByID, ReportedDate, "
              "ReportedInPrjID, ReportedInPrj, ReportedInVersionID, ReportedInVersion, "
              "EstimatedTime, DateDue, BugType) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
              -1, &insert, nullptr),
          db);
    const char* statuses[] = {"Active",       "By Design", "Cannot Reproduce", "Resolved",
                              "In Process",   "New",       "Postponed",        "Verified",
                              "Will Not Fix", "Waiting"};
    const char* severities[] = {"Crash", "Critical", "Moderate", "Normal", "Trivial"};
    const char* priorities[] = {"High", "Low", "Normal"};
    const char* reproducible[] = {"Always", "Sometimes", "Scarcely", "Never"};
    const char* subjects[] = {"Saving a report",   "The bug list", "Printing",        "Login",
                              "The filter dialog", "Attachments",  "The project tree"};
    const char* faults[] = {"loses the last change", "stops redrawing", "shows the wrong date",
                            "is slow on a large database", "crashes on an empty name"};
    std::mt19937 random(7);
    for (int id = 1; id <= bugs; ++id) {
        const std::string description =
            std::string(subjects[random() % 7]) + " " + faults[random() % 5];
        const int version = 1 + static_cast<int>(random() % 2);
        sqlite3_bind_int(insert, 1, id);
        sqlite3_bind_text(insert, 2, severities[random() % 5], -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, statuses[random() % 10], -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 4, priorities[random() % 3], -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 5, reproducible[random() % 4], -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 6, description.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 7, "Admin", -1, SQLITE_STATIC);
        sqlite3_bind_int(insert, 8, 1);
        sqlite3_bind_double(insert, 9, 45000.0 + id / 50.0);
        sqlite3_bind_int(insert, 10, 1);
        sqlite3_bind_text(insert, 11, "Project 1", -1, SQLITE_STATIC);
        sqlite3_bind_int(insert, 12, version);
        sqlite3_bind_text(insert, 13, version == 1 ? "Version 1.0" : "Version 2.0", -1,
                          SQLITE_STATIC);
        sqlite3_bind_int(insert, 14, static_cast<int>(random() % 5000));
        sqlite3_bind_double(insert, 15, id % 3 == 0 ? 0.0 : 45100.0 + id / 40.0);
        sqlite3_bind_int(insert, 16, 0);
        Check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    const std::string next = "UPDATE tNextID SET NextBugID = " + std::to_string(bugs + 1);
    Check(sqlite3_exec(db, next.c_str(), nullptr, nullptr, nullptr), db);
    Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

long ResidentKilobytes()
{
    long pages = 0;
    long resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Shows rows [first, first + count) and paints them; milliseconds taken.
double PaintScreenAt(nimbra::BugListView& view, int first)
{
    QElapsedTimer timer;
    timer.start();
    view.verticalScrollBar()->setValue(first);
    view.viewport()->repaint();
    return timer.nsecsElapsed() / 1e6;
}

// The engine alone reading the same rows and texts a screen shows.
double ReadScreenAt(lindor::IBugSet* bugs, int first, int rows)
{
    QElapsedTimer timer;
    timer.start();
    std::size_t bytes = 0;
    for (int row = first; row < first + rows; ++row) {
        lindor::ComPtr<lindor::IBug> bug;
        if (bugs->put_Position(row) != lindor::S_OK || bugs->get_CurItem(bug.put()) != lindor::S_OK)
            continue;
        std::string text;
        for (auto get : {&lindor::IBug::get_Description, &lindor::IBug::get_Status,
                         &lindor::IBug::get_Severity, &lindor::IBug::get_Priority,
                         &lindor::IBug::get_Reproductive, &lindor::IBug::get_ReportedBy,
                         &lindor::IBug::get_ReportedInVersion}) {
            (bug.get()->*get)(&text);
            bytes += text.size();
        }
    }
    if (bytes == 0) Die("the engine read no text");
    return timer.nsecsElapsed() / 1e6;
}

template <class Step>
double Average(int count, Step step)
{
    double total = 0;
    for (int i = 0; i < count; ++i) total += step(i);
    return total / count;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const Options options = ParseOptions(app.arguments());
    nimbra::test::TestEnvironment environment;
    const QString path =
        options.keep.isEmpty() ? environment.path(QStringLiteral("bench.mdb")) : options.keep;
    if (!options.keep.isEmpty()) QFile::remove(path);

    QElapsedTimer timer;
    timer.start();
    nimbra::test::TestDatabase database(path);
    if (!database.isValid()) Die(database.error().toStdString());
    Fill(path, options.bugs);
    std::printf("database: %d bugs written in %.1f s (%s)\n", options.bugs,
                timer.elapsed() / 1000.0, qPrintable(path));

    lindor::ComPtr<lindor::IExeContext> context;
    lindor::CreateObject<lindor::IExeContext>("Lindor.ExeContext.1", context.put());
    if (!context || context->OpenAccessDB(path.toStdString()) != lindor::S_OK ||
        context->Login("Admin", "") != lindor::S_OK ||
        context->SetActiveProject(1, 0) != lindor::S_OK)
        Die("cannot open the database as the administrator");
    const long residentBefore = ResidentKilobytes();

    nimbra::BugListView view(lindor::eBug);
    view.resize(1100, 700);
    timer.restart();
    lindor::ComPtr<lindor::IBugSet> bugs;
    if (context->OpenBugSet(lindor::eBug, nullptr, bugs.put()) != lindor::S_OK) Die("OpenBugSet");
    const double openMs = timer.nsecsElapsed() / 1e6;
    view.setBugSet(bugs);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view)) Die("the list was never shown");
    view.viewport()->repaint();
    const double firstScreenMs = timer.nsecsElapsed() / 1e6;
    const int rows = view.bugModel()->rowCount();
    const int perScreen = view.viewport()->height() / view.verticalHeader()->defaultSectionSize();
    const int screens = std::min(options.screens, rows / perScreen / 2);
    if (screens < 1) Die("too few bugs for a screen at each end");
    std::printf("list: %d rows, %d rows a screen\n", rows, perScreen);
    std::printf("open: OpenBugSet %.1f ms, first screen painted %.1f ms after the call\n", openMs,
                firstScreenMs);

    const int last = rows - perScreen;
    const double top = Average(screens, [&](int i) { return PaintScreenAt(view, i * perScreen); });
    const double bottom =
        Average(screens, [&](int i) { return PaintScreenAt(view, last - i * perScreen); });
    // The same screen painted again: its rows are in the model's pages already.
    const double paintOnly = Average(screens, [&](int) { return PaintScreenAt(view, last); });
    const double engineTop =
        Average(screens, [&](int i) { return ReadScreenAt(bugs.get(), i * perScreen, perScreen); });
    const double engineBottom = Average(
        screens, [&](int i) { return ReadScreenAt(bugs.get(), last - i * perScreen, perScreen); });
    std::printf("scroll one screen, %d screens at each end:\n", screens);
    std::printf("  list:   top %.2f ms, bottom %.2f ms, bottom/top %.2f\n", top, bottom,
                bottom / top);
    std::printf("  engine: top %.2f ms, bottom %.2f ms (the rows alone, no window)\n", engineTop,
                engineBottom);
    std::printf("  painting a screen whose rows are read already: %.2f ms\n", paintOnly);
    std::printf("  list/engine at the top %.2f, at the bottom %.2f\n", top / engineTop,
                bottom / engineBottom);

    const long residentShown = ResidentKilobytes();
    timer.restart();
    const int pagesBefore = view.bugModel()->pagesRead();
    for (int first = 0; first <= last; first += perScreen) PaintScreenAt(view, first);
    const long residentScrolled = ResidentKilobytes();
    std::printf("scrolled through all %d rows in %.1f s, %d pages read\n", rows,
                timer.elapsed() / 1000.0, view.bugModel()->pagesRead() - pagesBefore);
    std::printf(
        "memory (resident): %ld kB with the database open, %ld kB with the list shown, "
        "%ld kB after scrolling through every row (%+ld kB)\n",
        residentBefore, residentShown, residentScrolled, residentScrolled - residentShown);
    return 0;
}
