#include "client/updatingbox.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace nimbra {

UpdatingBox::UpdatingBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("updatingBox"));
    setWindowTitle(tr("Updating, please wait...."));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(new QLabel(tr("Updating database, please wait......."), this));
    setModal(false);
    show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

UpdatingBox::~UpdatingBox()
{
    QApplication::restoreOverrideCursor();
}

}  // namespace nimbra
