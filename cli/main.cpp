// nimbra-cli: a tracker database from the shell.
#include "commandline.h"
#include "dispatcher.h"

int main(int argc, char** argv)
{
    cli::CommandLine commandLine;
    if (const std::optional<int> stop = commandLine.Parse(argc, argv)) return *stop;
    return cli::RunCommand(commandLine.options());
}
