#include "admin/databasefiledialog.h"

#include <QFileDialog>

namespace nimbra {

namespace {

QString Ask(QFileDialog& dialog)
{
    dialog.setObjectName(QStringLiteral("databaseFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(QObject::tr("Nimbra database (*.mdb)"));
    dialog.setDefaultSuffix(QStringLiteral("mdb"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

}  // namespace

QString DatabaseFileDialog::askOpen(QWidget* parent, const QString& folder)
{
    QFileDialog dialog(parent, QObject::tr("Open Database"), folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return Ask(dialog);
}

QString DatabaseFileDialog::askNew(QWidget* parent)
{
    QFileDialog dialog(parent, QObject::tr("New Database"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return Ask(dialog);
}

}  // namespace nimbra
