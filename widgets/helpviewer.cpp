#include "widgets/helpviewer.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "widgets/messages.h"

namespace nimbra {

namespace {

const QString kStartPage = QStringLiteral("index.html");

QAction* AddButton(QToolBar* bar, QStyle::StandardPixmap icon, const QString& text,
                   const QString& objectName)
{
    QAction* action = bar->addAction(bar->style()->standardIcon(icon), text);
    action->setObjectName(objectName);
    return action;
}

// Back, forward and the contents page above the page, as in every help
// viewer; back and forward are enabled only while there is somewhere to go.
void AddNavigation(QToolBar* bar, QTextBrowser* browser)
{
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* back =
        AddButton(bar, QStyle::SP_ArrowBack, QObject::tr("&Back"), QStringLiteral("helpBack"));
    QAction* forward = AddButton(bar, QStyle::SP_ArrowForward, QObject::tr("&Forward"),
                                 QStringLiteral("helpForward"));
    QAction* contents = AddButton(bar, QStyle::SP_DirHomeIcon, QObject::tr("&Contents"),
                                  QStringLiteral("helpContents"));
    back->setEnabled(false);
    forward->setEnabled(false);
    QObject::connect(back, &QAction::triggered, browser, &QTextBrowser::backward);
    QObject::connect(forward, &QAction::triggered, browser, &QTextBrowser::forward);
    QObject::connect(contents, &QAction::triggered, browser, [browser] {
        browser->setSource(
            QUrl::fromLocalFile(HelpViewer::folder() + QLatin1Char('/') + kStartPage));
    });
    QObject::connect(browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    QObject::connect(browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
}

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
        auto* navigation = new QToolBar(window);
        navigation->setObjectName(QStringLiteral("helpNavigation"));
        AddNavigation(navigation, browser);
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(navigation);
        layout->addWidget(browser);
        window->resize(680, 600);
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
