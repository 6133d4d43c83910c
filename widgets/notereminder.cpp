#include "widgets/notereminder.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "widgets/programsettings.h"

namespace nimbra {

NoteReminder::NoteReminder(const QString& text, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("noteReminder"));
    setWindowTitle(tr("Note"));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    auto* message = new QLabel(text, this);
    message->setObjectName(QStringLiteral("noteText"));
    message->setWordWrap(true);
    message->setMinimumWidth(320);
    doNotRemind_ = new QCheckBox(tr("Do not remind me next time."), this);
    doNotRemind_->setObjectName(QStringLiteral("doNotRemind"));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(tr("Close"), QDialogButtonBox::AcceptRole);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(message, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(doNotRemind_);
    layout->addWidget(buttons);
}

bool NoteReminder::doNotRemind() const
{
    return doNotRemind_->isChecked();
}

bool NoteReminder::remind(QWidget* parent, ProgramSettings& settings, int messageId,
                          const QString& text)
{
    const QString name = QString::number(messageId);
    if (settings.readInt(name, 0) != 0) return false;
    NoteReminder note(text, parent);
    note.exec();
    settings.writeInt(name, note.doNotRemind() ? 1 : 0);
    return true;
}

}  // namespace nimbra
