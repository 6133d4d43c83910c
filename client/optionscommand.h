// "nimbra --save-options ...": writes "Bug.cfg" from the command line and
// ends, so a script can prepare automatic login (the run command does this
// for its demo database). Without a database nothing opens at start.
//   --database PATH   open PATH at start
//   --login NAME      log in as NAME (with --password TEXT)
//   --project ID      then activate project ID (and --version ID)
//   --large-icons     show the 24 pixel toolbar
#pragma once

#include <QStringList>

namespace nimbra {

class ClientOptions;

class OptionsCommand {
public:
    // True when the arguments ask for it.
    static bool requested(const QStringList& arguments);
    // Fills `options` from the arguments; false with `error` for a bad one.
    static bool parse(const QStringList& arguments, ClientOptions* options, QString* error);
    // Parses and saves; the exit code of the program.
    static int run(const QStringList& arguments);
};

}  // namespace nimbra
