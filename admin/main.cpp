// nimbra-admin: the administration program. With a database path as its
// argument it opens that database at once and asks for the password.
#include <lindor/lindor.h>

#include <QApplication>
#include <QTimer>

#include "admin/adminmainwindow.h"
#include "widgets/messages.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Nimbra"));
    QApplication::setApplicationName(nimbra::AdminMainWindow::kTitle);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/admin/icons/nimbra-admin.svg")));

    // A probe context proves the engine can be loaded before any window opens.
    lindor::ComPtr<lindor::IExeContext> probe;
    if (lindor::CreateObject<lindor::IExeContext>("Lindor.ExeContext.1", probe.put()) !=
        lindor::S_OK) {
        nimbra::Messages::error(
            nullptr, QStringLiteral("Cannot create object!\nPlease reinstall this software."));
        return 1;
    }
    probe.reset();

    nimbra::AdminMainWindow window;
    if (!window.isUsable()) return 1;
    window.showPlaced();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        const QString path = arguments.at(1);
        QTimer::singleShot(0, &window, [&window, path] { window.openDatabase(path); });
    }
    return app.exec();
}
