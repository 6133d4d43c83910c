#include "widgets/testsupport/modaldialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include <memory>

namespace nimbra::test {

namespace {

constexpr int kPollMilliseconds = 10;
constexpr int kPatienceMilliseconds = 5000;

int& MissedCount()
{
    static int count = 0;
    return count;
}

}  // namespace

void ModalDialogs::answerFileDialog(const QString& path)
{
    whenShown<QFileDialog>([path](QFileDialog* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        static_cast<QDialog*>(dialog)->accept();
    });
}

int ModalDialogs::missed()
{
    return MissedCount();
}

void ModalDialogs::watch(std::function<bool(QWidget*)> handleIfMatching)
{
    auto* timer = new QTimer(qApp);
    auto waited = std::make_shared<QElapsedTimer>();
    waited->start();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, waited, handleIfMatching] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible() && handleIfMatching(modal)) {
            timer->stop();
            timer->deleteLater();
            // A handler that stopped early (a failed check) must not leave
            // the test waiting on its dialog.
            if (modal->isVisible()) modal->close();
            return;
        }
        if (waited->elapsed() < kPatienceMilliseconds) return;
        ++MissedCount();
        timer->stop();
        timer->deleteLater();
        if (modal != nullptr) modal->close();
    });
    timer->start(kPollMilliseconds);
}

}  // namespace nimbra::test
