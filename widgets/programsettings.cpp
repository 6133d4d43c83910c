#include "widgets/programsettings.h"

namespace nimbra {

ProgramSettings::ProgramSettings(const QString& applicationName)
    : store_(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Nimbra"), applicationName)
{
    store_.beginGroup(QStringLiteral("Settings"));
}

ProgramSettings::~ProgramSettings()
{
    store_.endGroup();
}

int ProgramSettings::readInt(const QString& name, int defaultValue) const
{
    bool ok = false;
    const int value = store_.value(name, defaultValue).toInt(&ok);
    return ok ? value : defaultValue;
}

void ProgramSettings::writeInt(const QString& name, int value)
{
    store_.setValue(name, value);
}

QByteArray ProgramSettings::readBytes(const QString& name) const
{
    return store_.value(name).toByteArray();
}

void ProgramSettings::writeBytes(const QString& name, const QByteArray& value)
{
    store_.setValue(name, value);
}

QStringList ProgramSettings::readList(const QString& name) const
{
    return store_.value(name).toStringList();
}

void ProgramSettings::writeList(const QString& name, const QStringList& value)
{
    store_.setValue(name, value);
}

bool ProgramSettings::contains(const QString& name) const
{
    return store_.contains(name);
}

bool ProgramSettings::takeFirstRun()
{
    const bool first = readInt(QStringLiteral("FirstRun"), 1) != 0;
    writeInt(QStringLiteral("FirstRun"), 0);
    return first;
}

bool ProgramSettings::sync()
{
    store_.sync();
    return store_.status() == QSettings::NoError;
}

}  // namespace nimbra
