#include "client/sysinfodialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "client/machinefacts.h"
#include "client/sysinfofields.h"

namespace nimbra {

namespace {

QStringList WithFirst(const QString& own, QStringList suggestions)
{
    if (!own.isEmpty() && !suggestions.contains(own)) suggestions.prepend(own);
    return suggestions;
}

QStringList Numbered(const QString& prefix, int from, int to, const QString& suffix)
{
    QStringList texts;
    for (int i = from; i <= to; ++i) texts << prefix + QString::number(i) + suffix;
    return texts;
}

}  // namespace

SysInfoDialog::SysInfoDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("sysInfoDialog"));
    setWindowTitle(tr("Enter your computer system infomation"));
    for (int i = 0; i < 9; ++i) choices_.append(nullptr);

    auto* hardware = new QGroupBox(tr("Hardware"), this);
    auto* hardwareForm = new QFormLayout(hardware);
    hardwareForm->addRow(
        tr("CPU"),
        addChoice(kCpu,
                  WithFirst(MachineFacts::processor(),
                            {QStringLiteral("Intel Pentium 4"), QStringLiteral("Intel Pentium 3"),
                             QStringLiteral("Intel Pentium 2"), QStringLiteral("Intel Pentium"),
                             QStringLiteral("AMD Athlon"), QStringLiteral("AMD Duron")})));
    hardwareForm->addRow(
        tr("Memory"),
        addChoice(kMemory,
                  WithFirst(MachineFacts::memory(),
                            {QStringLiteral("8M"), QStringLiteral("16M"), QStringLiteral("32M"),
                             QStringLiteral("64M"), QStringLiteral("128M"), QStringLiteral("256M"),
                             QStringLiteral("512M"), QStringLiteral("1024M")})));
    hardwareForm->addRow(
        tr("Harddisk"),
        addChoice(
            kHardDisk,
            WithFirst(MachineFacts::disk(),
                      {QStringLiteral("1G"), QStringLiteral("2G"), QStringLiteral("10G"),
                       QStringLiteral("20G"), QStringLiteral("30G"), QStringLiteral("40G"),
                       QStringLiteral("60G"), QStringLiteral("80G"), QStringLiteral("120G")})));

    auto* software = new QGroupBox(tr("Software"), this);
    auto* softwareForm = new QFormLayout(software);
    softwareForm->addRow(
        tr("OS"),
        addChoice(
            kOs,
            WithFirst(
                MachineFacts::operatingSystem(),
                {QStringLiteral("Windows 2003 Server"), QStringLiteral("Windows XP pro"),
                 QStringLiteral("Windows XP Home"), QStringLiteral("Windows 2000 Data Center"),
                 QStringLiteral("Windows 2000 Advanced Server"),
                 QStringLiteral("Windows 2000 Server"), QStringLiteral("Windows 2000 Professional"),
                 QStringLiteral("Windows NT 4.0"), QStringLiteral("Windows Me"),
                 QStringLiteral("Windows 98/95"), QStringLiteral("Windows 3.1"),
                 QStringLiteral("Dos"), QStringLiteral("Linux"), QStringLiteral("Unix")})));
    osBuild_ = new QLineEdit(this);
    osBuild_->setObjectName(QStringLiteral("OS build"));
    softwareForm->addRow(tr("OS build"), osBuild_);
    softwareForm->addRow(
        tr("Service Pack"),
        addChoice(kServicePack, Numbered(QStringLiteral("Service Pack "), 1, 4, {})));
    softwareForm->addRow(tr("IE version"),
                         addChoice(kIeVersion, Numbered(QString(), 1, 6, QStringLiteral(".0"))));

    auto* networkBox = new QGroupBox(tr("Network condition"), this);
    network_ = new QPlainTextEdit(networkBox);
    network_->setObjectName(QStringLiteral("Network condition"));
    (new QVBoxLayout(networkBox))->addWidget(network_);
    auto* noteBox = new QGroupBox(tr("Note"), this);
    note_ = new QPlainTextEdit(noteBox);
    note_->setObjectName(QStringLiteral("Note"));
    (new QVBoxLayout(noteBox))->addWidget(note_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* columns = new QHBoxLayout;
    columns->addWidget(hardware);
    columns->addWidget(software);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(networkBox);
    layout->addWidget(noteBox);
    layout->addWidget(buttons);
    resize(620, 460);
}

QComboBox* SysInfoDialog::addChoice(int index, const QStringList& suggestions)
{
    auto* choice = new QComboBox(this);
    choice->setObjectName(QString::fromLatin1(kSysInfoFields[index].label));
    choice->setEditable(true);
    choice->addItems(suggestions);
    choice->setCurrentIndex(-1);
    choice->setMinimumContentsLength(16);
    choices_[index] = choice;
    return choice;
}

QString SysInfoDialog::text(int index) const
{
    if (index == kOsBuild) return osBuild_->text();
    if (index == kNetwork) return network_->toPlainText();
    if (index == kNote) return note_->toPlainText();
    QComboBox* choice = choices_.value(index);
    return choice != nullptr ? choice->currentText() : QString();
}

void SysInfoDialog::setText(int index, const QString& text)
{
    if (index == kOsBuild) {
        osBuild_->setText(text);
    } else if (index == kNetwork) {
        network_->setPlainText(text);
    } else if (index == kNote) {
        note_->setPlainText(text);
    } else if (QComboBox* choice = choices_.value(index)) {
        choice->setEditText(text);
    }
}

void SysInfoDialog::load(lindor::IUserSysInfo* info)
{
    if (info != nullptr) {
        for (int i = 0; i < 9; ++i) setText(i, SysInfoText(info, kSysInfoFields[i]));
        return;
    }
    // Nothing stored yet: start from what this machine says about itself.
    setText(kCpu, MachineFacts::processor());
    setText(kMemory, MachineFacts::memory());
    setText(kHardDisk, MachineFacts::disk());
    setText(kOs, MachineFacts::operatingSystem());
    setText(kOsBuild, MachineFacts::osBuild());
}

void SysInfoDialog::storeInto(lindor::IUserSysInfo* info) const
{
    for (int i = 0; i < 9; ++i) (info->*kSysInfoFields[i].put)(text(i).toStdString());
}

}  // namespace nimbra
