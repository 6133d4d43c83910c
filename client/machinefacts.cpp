#include "client/machinefacts.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QSysInfo>

namespace nimbra {

namespace {

// The value after "key:" on the first line of `file` that starts with `key`.
QString ProcValue(const QString& file, const QString& key)
{
    // Files under /proc report a size of 0, so read until readLine gives nothing.
    QFile proc(file);
    if (!proc.open(QIODevice::ReadOnly | QIODevice::Text)) return QString();
    for (QByteArray raw = proc.readLine(); !raw.isEmpty(); raw = proc.readLine()) {
        const QString line = QString::fromUtf8(raw);
        if (!line.startsWith(key)) continue;
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon >= 0) return line.mid(colon + 1).simplified();
    }
    return QString();
}

}  // namespace

QString MachineFacts::processor()
{
    return ProcValue(QStringLiteral("/proc/cpuinfo"), QStringLiteral("model name"));
}

QString MachineFacts::memory()
{
    static const QRegularExpression kilobytes(QStringLiteral("^(\\d+)"));
    const QString total = ProcValue(QStringLiteral("/proc/meminfo"), QStringLiteral("MemTotal"));
    const QRegularExpressionMatch match = kilobytes.match(total);
    if (!match.hasMatch()) return QString();
    return QStringLiteral("%1M").arg(match.captured(1).toLongLong() / 1024);
}

QString MachineFacts::disk()
{
    const QStorageInfo storage(QDir::homePath());
    if (!storage.isValid()) return QString();
    return QStringLiteral("%1G").arg(storage.bytesTotal() / (1024LL * 1024 * 1024));
}

QString MachineFacts::operatingSystem()
{
    return QSysInfo::prettyProductName();
}

QString MachineFacts::osBuild()
{
    return QSysInfo::kernelVersion();
}

}  // namespace nimbra
