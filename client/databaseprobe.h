// A second engine context of its own, for the options sheet: it opens a
// database and logs in to list the user's projects and versions, or to try
// the options out, without touching the main window's context. It is closed
// and released when the probe goes.
#pragma once

#include <lindor/lindor.h>

#include <QList>
#include <QString>

namespace nimbra {

class DatabaseProbe {
public:
    struct Version {
        int id = 0;
        QString name;
    };
    struct Project {
        int id = 0;
        QString name;
        QList<Version> versions;
    };

    DatabaseProbe() = default;
    ~DatabaseProbe();
    DatabaseProbe(const DatabaseProbe&) = delete;
    DatabaseProbe& operator=(const DatabaseProbe&) = delete;

    // Each returns false with the engine's description in `error`.
    bool logIn(const QString& path, const QString& login, const QString& password, QString* error);
    bool readProjects(QList<Project>* projects, QString* error);
    bool activate(int projectId, int versionId, QString* error);

private:
    bool fail(QString* error);

    lindor::ComPtr<lindor::IExeContext> context_;
};

}  // namespace nimbra
