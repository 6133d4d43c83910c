// The per-user settings of one program: an INI store of organisation "Nimbra"
// and the program's application name, every value in the group "Settings".
#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>

namespace nimbra {

class ProgramSettings {
public:
    explicit ProgramSettings(const QString& applicationName);
    ~ProgramSettings();

    ProgramSettings(const ProgramSettings&) = delete;
    ProgramSettings& operator=(const ProgramSettings&) = delete;

    int readInt(const QString& name, int defaultValue) const;
    void writeInt(const QString& name, int value);
    QByteArray readBytes(const QString& name) const;
    void writeBytes(const QString& name, const QByteArray& value);
    QStringList readList(const QString& name) const;
    void writeList(const QString& name, const QStringList& value);
    bool contains(const QString& name) const;

    // Reads "FirstRun" (1 when absent) and writes 0: true on the first run.
    bool takeFirstRun();

    // Writes pending values to disk and reports a store that cannot be written.
    bool sync();

private:
    QSettings store_;
};

}  // namespace nimbra
