// The base of the client's Qt tests: a folder and home of the test's own, a
// team database in it, the messages the program shows and its main window.
// Each test makes what it needs in init(); releaseAll() lets them go newest
// first, so no window outlives the file it reads.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

#include "client/mainwindow.h"
#include "widgets/testsupport/messagerecorder.h"
#include "widgets/testsupport/testdatabase.h"
#include "widgets/testsupport/testenvironment.h"

namespace nimbra::test {

class ClientTestCase : public QObject {
protected:
    // A new folder with an empty team database "team.mdb"; false, with the
    // reason in `error`, when the file could not be made.
    bool makeDatabase(QString* error)
    {
        environment = std::make_unique<TestEnvironment>();
        database = std::make_unique<TestDatabase>(environment->path(QStringLiteral("team.mdb")));
        if (database->isValid()) return true;
        *error = database->error();
        return false;
    }
    // The same, where "ann" (password "pw", shown as "Ann") may work in
    // project 1.
    bool makeDatabaseWithAnn(QString* error)
    {
        if (!makeDatabase(error)) return false;
        const int ann =
            database->addUser(QStringLiteral("ann"), QStringLiteral("pw"), QStringLiteral("Ann"));
        if (ann > 0 && database->grant(ann, {ProjectGrant{}})) return true;
        *error = database->error();
        return false;
    }
    void releaseAll()
    {
        window.reset();
        messages.reset();
        database.reset();
        environment.reset();
    }

    std::unique_ptr<TestEnvironment> environment;
    std::unique_ptr<TestDatabase> database;
    std::unique_ptr<MessageRecorder> messages;
    std::unique_ptr<nimbra::MainWindow> window;
};

}  // namespace nimbra::test
