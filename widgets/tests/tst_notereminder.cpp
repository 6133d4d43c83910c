// The one-time note: shown until the user ticks "Do not remind me next time.".
#include <QCheckBox>
#include <QLabel>
#include <QTest>

#include <memory>

#include "widgets/notereminder.h"
#include "widgets/programsettings.h"
#include "widgets/testsupport/modaldialogs.h"
#include "widgets/testsupport/testenvironment.h"

using nimbra::NoteReminder;
using nimbra::ProgramSettings;
using nimbra::test::ModalDialogs;

class NoteReminderTest : public QObject {
    Q_OBJECT
private slots:
    void init() { environment = std::make_unique<nimbra::test::TestEnvironment>(); }
    void cleanup() { environment.reset(); }

    void shownUntilTheUserAsksNotToBeReminded()
    {
        ProgramSettings settings(QStringLiteral("Note Test"));
        QString seen;
        auto closeWith = [&seen](bool tick) {
            ModalDialogs::whenShown<NoteReminder>([&seen, tick](NoteReminder* note) {
                seen = note->findChild<QLabel*>(QStringLiteral("noteText"))->text();
                note->findChild<QCheckBox*>(QStringLiteral("doNotRemind"))->setChecked(tick);
                note->accept();
            });
        };
        const QString text = QStringLiteral("A hint.");
        closeWith(false);
        QVERIFY(NoteReminder::remind(nullptr, settings, 61490, text));
        QCOMPARE(seen, text);
        QCOMPARE(settings.readInt(QStringLiteral("61490"), -1), 0);

        closeWith(true);
        QVERIFY(NoteReminder::remind(nullptr, settings, 61490, text));
        QCOMPARE(settings.readInt(QStringLiteral("61490"), -1), 1);

        QVERIFY(!NoteReminder::remind(nullptr, settings, 61490, text));
        QVERIFY2(ModalDialogs::missed() == 0, "a note was expected and not shown");
    }

private:
    std::unique_ptr<nimbra::test::TestEnvironment> environment;
};

QTEST_MAIN(NoteReminderTest)
#include "tst_notereminder.moc"
