#include "widgets/helpviewer.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "widgets/messages.h"

namespace nimbra {

namespace {

const QString kStartPage = QStringLiteral("index.html");

// One help window, made on first use and reused while it is open.
QTextBrowser* HelpBrowser(QWidget* parent)
{
    static QPointer<QDialog> window;
    if (!window) {
        window = new QDialog(parent, Qt::Window);
        window->setObjectName(QStringLiteral("helpWindow"));
        window->setWindowTitle(QApplication::applicationDisplayName() + QObject::tr(" Help"));
        window->setAttribute(Qt::WA_DeleteOnClose);
        auto* browser = new QTextBrowser(window);
        browser->setObjectName(QStringLiteral("helpBrowser"));
        browser->setOpenExternalLinks(true);
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(browser);
        window->resize(640, 560);
    }
    window->show();
    window->raise();
    return window->findChild<QTextBrowser*>();
}

}  // namespace

QString HelpViewer::folder()
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    for (const QString& place : {QStringLiteral("help"), QStringLiteral("../share/nimbra/help")}) {
        const QString candidate = programFolder.absoluteFilePath(place);
        if (QFileInfo::exists(candidate + QLatin1Char('/') + kStartPage))
            return QDir::cleanPath(candidate);
    }
    return QString();
}

bool HelpViewer::open(QWidget* parent, const QString& topic)
{
    const QString where = folder();
    const QString file = where + QLatin1Char('/') + (topic.isEmpty() ? kStartPage : topic);
    if (where.isEmpty() || !QFileInfo::exists(file)) {
        Messages::error(parent, QStringLiteral("Help File NOT Found!"));
        return false;
    }
    HelpBrowser(parent)->setSource(QUrl::fromLocalFile(file));
    return true;
}

}  // namespace nimbra
