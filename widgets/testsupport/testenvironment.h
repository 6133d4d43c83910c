// A private place for one test: a temporary folder that receives the engine's
// and the program's per-user files (NIMBRA_HOME, the settings store, the
// configuration and data folders), removed when the object goes.
#pragma once

#include <QString>
#include <QTemporaryDir>

namespace nimbra::test {

class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();

    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    bool isValid() const { return folder_.isValid(); }
    // A path inside the temporary folder.
    QString path(const QString& name) const;
    // The folder NIMBRA_HOME names.
    QString home() const;

private:
    QTemporaryDir folder_;
};

}  // namespace nimbra::test
