#include "client/optionscommand.h"

#include <QCommandLineParser>

#include <cstdio>

#include "client/clientoptions.h"

namespace nimbra {

namespace {

const QString kSave = QStringLiteral("save-options");

bool ReadId(const QCommandLineParser& parser, const QString& name, int* id, QString* error)
{
    if (!parser.isSet(name)) return true;
    bool ok = false;
    *id = parser.value(name).toInt(&ok);
    if (ok && *id >= 0) return true;
    *error = QStringLiteral("--%1 needs a number, not \"%2\"").arg(name, parser.value(name));
    return false;
}

}  // namespace

bool OptionsCommand::requested(const QStringList& arguments)
{
    return arguments.contains(QStringLiteral("--") + kSave);
}

bool OptionsCommand::parse(const QStringList& arguments, ClientOptions* options, QString* error)
{
    QCommandLineParser parser;
    parser.addOptions(
        {{kSave, QStringLiteral("Write Bug.cfg and end.")},
         {QStringLiteral("database"), QStringLiteral("Database to open."), QStringLiteral("path")},
         {QStringLiteral("login"), QStringLiteral("Login name."), QStringLiteral("name")},
         {QStringLiteral("password"), QStringLiteral("Password."), QStringLiteral("text")},
         {QStringLiteral("project"), QStringLiteral("Project id."), QStringLiteral("id")},
         {QStringLiteral("version"), QStringLiteral("Version id."), QStringLiteral("id")},
         {QStringLiteral("large-icons"), QStringLiteral("Large toolbar images.")}});
    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return false;
    }
    int project = 0;
    int version = 0;
    if (!ReadId(parser, QStringLiteral("project"), &project, error) ||
        !ReadId(parser, QStringLiteral("version"), &version, error))
        return false;
    const bool database = parser.isSet(QStringLiteral("database"));
    const bool login = database && parser.isSet(QStringLiteral("login"));
    options->setDefaultDatabase(database);
    options->setDatabasePath(parser.value(QStringLiteral("database")));
    options->setUseDefaultLogin(login);
    options->setLoginName(parser.value(QStringLiteral("login")));
    options->setPassword(parser.value(QStringLiteral("password")));
    options->setSavePassword(parser.isSet(QStringLiteral("password")));
    options->setDefaultProject(login && parser.isSet(QStringLiteral("project")));
    options->setProjectId(project);
    options->setVersionId(version);
    options->setLargeToolbarIcons(parser.isSet(QStringLiteral("large-icons")));
    return true;
}

int OptionsCommand::run(const QStringList& arguments)
{
    ClientOptions options;
    QString error;
    if (!parse(arguments, &options, &error) || !options.save(&error)) {
        std::fprintf(stderr, "nimbra: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("nimbra: options written to %s\n", qPrintable(ClientOptions::filePath()));
    return 0;
}

}  // namespace nimbra
