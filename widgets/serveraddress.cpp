#include "widgets/serveraddress.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QUrlQuery>
#include <QVBoxLayout>

namespace nimbra {

bool isServerAddress(const QString& database)
{
    return database.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           database.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

QString serverAddressProblem(const QString& address)
{
    const QString text = address.trimmed();
    if (text.isEmpty()) return QObject::tr("Type the address of the database.");
    if (!isServerAddress(text)) return QObject::tr("The address begins with postgresql://");
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid()) return QObject::tr("This is not a valid address.");
    if (!url.password().isEmpty() || QUrlQuery(url).hasQueryItem(QStringLiteral("password")))
        return QObject::tr("Leave the password out of the address.");
    return QString();
}

QString databaseDisplayName(const QString& database)
{
    if (!isServerAddress(database)) return QFileInfo(database).fileName();
    return database.section(QLatin1Char('?'), 0, 0);
}

ServerAddressDialog::ServerAddressDialog(QWidget* parent, const QString& title,
                                         const QString& address)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("serverAddressDialog"));
    setWindowTitle(title);
    address_ = new QLineEdit(address, this);
    address_->setObjectName(QStringLiteral("serverAddress"));
    address_->setPlaceholderText(QStringLiteral("postgresql://user@host:5432/dbname"));
    address_->setMinimumWidth(380);
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("serverAddressProblem"));
    problem_->setStyleSheet(QStringLiteral("color: #a40000"));
    auto* note = new QLabel(tr("For example postgresql://ann@db.example:5432/team. The password "
                               "is never stored: the server takes it from ~/.pgpass or from "
                               "PGPASSWORD."),
                            this);
    note->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    auto* form = new QFormLayout;
    form->addRow(tr("Server &address:"), address_);
    form->addRow(QString(), problem_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);
    connect(address_, &QLineEdit::textChanged, this, &ServerAddressDialog::check);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    check();
}

QString ServerAddressDialog::address() const
{
    return address_->text().trimmed();
}

void ServerAddressDialog::check()
{
    const QString problem = serverAddressProblem(address_->text());
    problem_->setText(problem);
    ok_->setEnabled(problem.isEmpty());
}

QString ServerAddressDialog::ask(QWidget* parent, const QString& title, const QString& address)
{
    ServerAddressDialog dialog(parent, title, address);
    return dialog.exec() == QDialog::Accepted ? dialog.address() : QString();
}

}  // namespace nimbra
