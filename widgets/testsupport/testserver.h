// A database on the throw-away server that scripts/with-test-server.sh
// starts (its address in LINDOR_TEST_SERVER), for the programs' server tests.
#pragma once

#include <QString>

namespace nimbra::test {

// The address of a new, empty schema of its own on the test server; empty,
// with the reason in `error`, when there is no server or it refused.
QString newServerDatabase(QString* error);

}  // namespace nimbra::test
