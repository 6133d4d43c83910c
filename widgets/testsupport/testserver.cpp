#include "widgets/testsupport/testserver.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QUrl>
#include <QUrlQuery>

namespace nimbra::test {

QString newServerDatabase(QString* error)
{
    const QString server = qEnvironmentVariable("LINDOR_TEST_SERVER");
    if (server.isEmpty()) {
        *error = QStringLiteral("No test server: run under scripts/with-test-server.sh");
        return QString();
    }
    const QUrl url(server);
    const QString schema = QStringLiteral("qt_%1").arg(QRandomGenerator::global()->generate64(), 16,
                                                       16, QLatin1Char('0'));
    QProcess psql;
    psql.start(QStringLiteral("psql"),
               {QStringLiteral("-h"), QUrlQuery(url).queryItemValue(QStringLiteral("host")),
                QStringLiteral("-U"), url.userName(), QStringLiteral("-d"), url.path().mid(1),
                QStringLiteral("-qc"), QStringLiteral("CREATE SCHEMA %1").arg(schema)});
    if (!psql.waitForFinished(30000) || psql.exitCode() != 0) {
        *error = QStringLiteral("The test server refused a schema: ") +
                 QString::fromLocal8Bit(psql.readAllStandardError());
        return QString();
    }
    return server +
           (server.contains(QLatin1Char('?')) ? QStringLiteral("&") : QStringLiteral("?")) +
           QStringLiteral("options=-csearch_path%3D") + schema + QStringLiteral("%2Cpublic");
}

}  // namespace nimbra::test
