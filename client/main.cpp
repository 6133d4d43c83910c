// nimbra: the client every team member runs.
#include <lindor/lindor.h>

#include <QApplication>
#include <QCoreApplication>

#include "client/mainwindow.h"
#include "client/optionscommand.h"
#include "widgets/messages.h"
#include "widgets/programsettings.h"

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
    return app.exec();
}
