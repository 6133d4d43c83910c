// nimbra: the client every team member runs.
#include <lindor/lindor.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

#include "client/mainwindow.h"
#include "client/optionscommand.h"
#include "widgets/messages.h"
#include "widgets/programsettings.h"

namespace {

// "--screenshot FILE": once the window has settled after start and login,
// saves a picture of it to FILE and ends; for documentation and for checking
// an installation without anybody at the screen.
QString ScreenshotFile(const QStringList& arguments)
{
    const qsizetype at = arguments.indexOf(QStringLiteral("--screenshot"));
    return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : QString();
}

void SaveScreenshotAndQuit(QWidget* window, const QString& file)
{
    QTimer::singleShot(1500, window, [window, file] {
        const bool saved = window->grab().save(file);
        if (!saved) qWarning("Cannot save the picture of the window to %s", qPrintable(file));
        QCoreApplication::exit(saved ? 0 : 1);
    });
}

}  // namespace

int main(int argc, char* argv[])
{
    const QStringList arguments = [argc, argv] {
        QStringList list;
        for (int i = 0; i < argc; ++i) list << QString::fromLocal8Bit(argv[i]);
        return list;
    }();
    if (nimbra::OptionsCommand::requested(arguments)) {
        QCoreApplication app(argc, argv);
        return nimbra::OptionsCommand::run(arguments);
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Nimbra"));
    QApplication::setApplicationName(QStringLiteral("Nimbra"));
    QApplication::setApplicationDisplayName(QStringLiteral("Nimbra"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/nimbra.svg")));

    // A probe context proves the engine can be loaded before any window opens.
    lindor::ComPtr<lindor::IExeContext> probe;
    if (lindor::CreateObject<lindor::IExeContext>("Lindor.ExeContext.1", probe.put()) !=
        lindor::S_OK) {
        nimbra::Messages::error(
            nullptr, QStringLiteral("Cannot create object!\nPlease reinstall this software."));
        return 1;
    }
    nimbra::ProgramSettings(QStringLiteral("Nimbra")).takeFirstRun();

    nimbra::MainWindow window;
    if (!window.isUsable()) return 1;
    window.showPlaced();
    probe.reset();
    if (const QString screenshot = ScreenshotFile(arguments); !screenshot.isEmpty())
        SaveScreenshotAndQuit(&window, screenshot);
    return app.exec();
}
