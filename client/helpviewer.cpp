#include "client/helpviewer.h"

#include <QCoreApplication>
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

QDialog* HelpWindow(QWidget* parent)
{
    static QPointer<QDialog> window;
    if (window) return window;
    window = new QDialog(parent, Qt::Window);
    window->setObjectName(QStringLiteral("helpWindow"));
    window->setWindowTitle(QObject::tr("Nimbra Help"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto* browser = new QTextBrowser(window);
    browser->setObjectName(QStringLiteral("helpBrowser"));
    browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser);
    window->resize(640, 560);
    return window;
}

}  // namespace

QString HelpViewer::folder()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {programFolder + QStringLiteral("/help"),
                                     programFolder + QStringLiteral("/../share/nimbra/help")}) {
        if (QFileInfo::exists(candidate + QLatin1Char('/') + kStartPage))
            return QDir(candidate).absolutePath();
    }
    return QString();
}

bool HelpViewer::open(QWidget* parent, const QString& page)
{
    const QString where = folder();
    const QString file = where + QLatin1Char('/') + (page.isEmpty() ? kStartPage : page);
    if (where.isEmpty() || !QFileInfo::exists(file)) {
        Messages::error(parent, QStringLiteral("Help File NOT Found!"));
        return false;
    }
    QDialog* window = HelpWindow(parent);
    window->findChild<QTextBrowser*>()->setSource(QUrl::fromLocalFile(file));
    window->show();
    window->raise();
    return true;
}

}  // namespace nimbra
