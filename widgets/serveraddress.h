// Databases on a server, for the programs' open and new commands: the
// address a user types ("postgresql://user@host:port/dbname"), checked before
// the engine sees it, and the dialog that asks for it.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace nimbra {

// Whether a database path names a database on a server.
bool isServerAddress(const QString& database);
// Why an address cannot be used, or empty when it can. A password in the
// address is refused: the address is kept in the settings files, and the
// server's password comes from ~/.pgpass or PGPASSWORD.
QString serverAddressProblem(const QString& address);
// The short name of a database for titles and the status bar: the file's
// name, or the server address without its options.
QString databaseDisplayName(const QString& database);

class ServerAddressDialog : public QDialog {
    Q_OBJECT
public:
    ServerAddressDialog(QWidget* parent, const QString& title, const QString& address);
    QString address() const;

    // The address the user gave; empty when cancelled.
    static QString ask(QWidget* parent, const QString& title, const QString& address = {});

private:
    void check();

    QLineEdit* address_ = nullptr;
    QLabel* problem_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace nimbra
