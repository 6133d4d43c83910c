#include "widgets/testsupport/testenvironment.h"

#include <QDir>
#include <QSettings>

#include <cstdlib>

namespace nimbra::test {

TestEnvironment::TestEnvironment()
{
    // The engine found beside the test program would be a stale copy; tests
    // run against the engine of this build unless the caller chose another.
    setenv("LINDOR_LIBRARY", NIMBRA_BUILT_ENGINE, 0);
    QDir(folder_.path()).mkpath(QStringLiteral("home"));
    QDir(folder_.path()).mkpath(QStringLiteral("config"));
    QDir(folder_.path()).mkpath(QStringLiteral("data"));
    setenv("NIMBRA_HOME", qPrintable(home()), 1);
    setenv("XDG_CONFIG_HOME", qPrintable(path(QStringLiteral("config"))), 1);
    setenv("XDG_DATA_HOME", qPrintable(path(QStringLiteral("data"))), 1);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path(QStringLiteral("config")));
}

TestEnvironment::~TestEnvironment()
{
    unsetenv("NIMBRA_HOME");
}

QString TestEnvironment::path(const QString& name) const
{
    return folder_.filePath(name);
}

QString TestEnvironment::home() const
{
    return path(QStringLiteral("home"));
}

}  // namespace nimbra::test
