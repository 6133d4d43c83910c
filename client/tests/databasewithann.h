// The database most client tests start from: a new file in the test's own
// folder where "ann" (password "pw", shown as "Ann") may work in project 1.
#pragma once

#include <QString>

#include <memory>

#include "widgets/testsupport/testdatabase.h"
#include "widgets/testsupport/testenvironment.h"

namespace nimbra::test {

// Null, with the reason in `error`, when the file could not be made.
inline std::unique_ptr<TestDatabase> DatabaseWithAnn(const TestEnvironment& environment,
                                                     QString* error)
{
    auto database = std::make_unique<TestDatabase>(environment.path(QStringLiteral("team.mdb")));
    const int ann = database->isValid() ? database->addUser(QStringLiteral("ann"),
                                                            QStringLiteral("pw"),
                                                            QStringLiteral("Ann"))
                                        : 0;
    if (ann > 0 && database->grant(ann, {ProjectGrant{}})) return database;
    *error = database->error();
    return nullptr;
}

}  // namespace nimbra::test
