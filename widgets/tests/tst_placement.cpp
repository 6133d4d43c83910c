// Window placement, the docking layout and "FirstRun" in the settings store.
#include <QDockWidget>
#include <QMainWindow>
#include <QTest>
#include <QToolBar>

#include <memory>

#include "widgets/barstate.h"
#include "widgets/programsettings.h"
#include "widgets/testsupport/testenvironment.h"
#include "widgets/windowplacement.h"

using nimbra::BarState;
using nimbra::ProgramSettings;
using nimbra::WindowPlacement;

namespace {

const QString kApp = QStringLiteral("Placement Test");

// A main window with one toolbar and one dock, named as a program names them.
class SampleWindow : public QMainWindow {
public:
    explicit SampleWindow(bool withDock = true)
    {
        auto* bar = addToolBar(QStringLiteral("Tools"));
        bar->setObjectName(QStringLiteral("toolbar"));
        if (!withDock) return;
        dock = new QDockWidget(QStringLiteral("Pane"), this);
        dock->setObjectName(QStringLiteral("pane"));
        addDockWidget(Qt::LeftDockWidgetArea, dock);
    }
    QDockWidget* dock = nullptr;
};

}  // namespace

class PlacementTest : public QObject {
    Q_OBJECT
private slots:
    void init() { environment = std::make_unique<nimbra::test::TestEnvironment>(); }
    void cleanup() { environment.reset(); }

    void emptyStoreGivesDefaultsAndFirstRunOnce()
    {
        ProgramSettings settings(kApp);
        const WindowPlacement placement = WindowPlacement::read(settings);
        QCOMPARE(placement.flag(), 0);
        QCOMPARE(placement.showCmd(), 5);
        QCOMPARE(placement.normalRect(), QRect(QPoint(100, 100), QPoint(499, 499)));
        QVERIFY(settings.takeFirstRun());
        QVERIFY(!settings.takeFirstRun());
        QCOMPARE(settings.readInt(QStringLiteral("FirstRun"), 1), 0);
    }

    void placementRoundTripsThroughTheStore()
    {
        SampleWindow window;
        window.setGeometry(QRect(120, 140, 600, 400));
        {
            ProgramSettings settings(kApp);
            WindowPlacement::of(window).write(settings);
        }
        ProgramSettings settings(kApp);
        QCOMPARE(settings.readInt(QStringLiteral("wpLeft"), 0), 120);
        QCOMPARE(settings.readInt(QStringLiteral("wpRight"), 0), 720);
        QCOMPARE(settings.readInt(QStringLiteral("wpBottom"), 0), 540);
        QCOMPARE(settings.readInt(QStringLiteral("wpShowCmd"), 0), WindowPlacement::kShowNormal);
        SampleWindow restored;
        WindowPlacement::read(settings).applyTo(restored);
        QCOMPARE(restored.geometry(), QRect(120, 140, 600, 400));
    }

    void rectangleOffEveryScreenFallsBackToTheDefault()
    {
        ProgramSettings settings(kApp);
        settings.writeInt(QStringLiteral("wpLeft"), 50000);
        settings.writeInt(QStringLiteral("wpRight"), 50400);
        SampleWindow window;
        WindowPlacement::read(settings).applyTo(window);
        QCOMPARE(window.geometry(), QRect(100, 100, 400, 400));
    }

    void savedLayoutIsRestoredOnlyWhenEveryBarExists()
    {
        {
            SampleWindow window;
            window.show();
            window.dock->hide();
            ProgramSettings settings(kApp);
            BarState::save(window, settings);
        }
        ProgramSettings settings(kApp);
        SampleWindow same;
        same.show();
        QVERIFY(BarState::restore(same, settings));
        QVERIFY(same.dock->isHidden());

        settings.writeList(
            QStringLiteral("BarState/Bars"),
            {QStringLiteral("toolbar"), QStringLiteral("pane"), QStringLiteral("gone")});
        SampleWindow other;
        other.show();
        QVERIFY(!BarState::restore(other, settings));
        QVERIFY(!other.dock->isHidden());
    }

private:
    std::unique_ptr<nimbra::test::TestEnvironment> environment;
};

QTEST_MAIN(PlacementTest)
#include "tst_placement.moc"
