// The date control (0 is no date) and the duration control (days, hours,
// minutes) as the editor uses them.
#include <QCheckBox>
#include <QDateEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include "widgets/dateedit.h"
#include "widgets/durationedit.h"
#include "widgets/enginedate.h"

using nimbra::DateEdit;
using nimbra::DurationEdit;

class ControlsTest : public QObject {
    Q_OBJECT
private slots:
    void zeroIsNoDateAndTheTimeOfDaySurvivesADateChange()
    {
        DateEdit date;
        QSignalSpy changes(&date, &DateEdit::valueChanged);
        date.setValue(0.0);
        QVERIFY(!date.hasDate());
        QVERIFY(!date.checkBox()->isChecked());
        QVERIFY(!date.dateEdit()->isEnabled());

        const double noonOf21January2004 = 38007.5;
        date.setValue(noonOf21January2004);
        QCOMPARE(date.value(), noonOf21January2004);  // as set, not as shown
        QVERIFY(date.checkBox()->isChecked());
        QCOMPARE(date.dateEdit()->date(), QDate(2004, 1, 21));
        QCOMPARE(changes.count(), 0);

        date.dateEdit()->setDate(QDate(2004, 1, 22));
        QCOMPARE(date.value(), noonOf21January2004 + 1.0);
        QCOMPARE(changes.count(), 1);

        date.checkBox()->setChecked(false);
        QCOMPARE(date.value(), 0.0);
        QVERIFY(!date.dateEdit()->isEnabled());
        const double before = nimbra::EngineDate::now();
        date.checkBox()->setChecked(true);
        QVERIFY(date.value() >= before && date.value() <= nimbra::EngineDate::now());
        QCOMPARE(changes.count(), 3);
    }

    void durationsAreShownInDaysHoursAndMinutes()
    {
        DurationEdit duration;
        duration.setSeconds(3600);
        QCOMPARE(duration.days()->value(), 0);
        QCOMPARE(duration.hours()->value(), 1);
        QCOMPARE(duration.minutes()->value(), 0);
        duration.setSeconds(1500 * 60 + 59);  // whole minutes only
        QCOMPARE(duration.days()->value(), 1);
        QCOMPARE(duration.hours()->value(), 1);
        QCOMPARE(duration.seconds(), 1500 * 60);
        duration.minutes()->setValue(59);
        QCOMPARE(duration.seconds(), (1500 + 59) * 60);
        duration.setSeconds(-60);
        QCOMPARE(duration.seconds(), 0);
    }
};

QTEST_MAIN(ControlsTest)
#include "tst_controls.moc"
