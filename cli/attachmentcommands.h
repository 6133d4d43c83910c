// attach, attachments, get-attachment: the files attached to a bug.
#pragma once

#include "options.h"
#include "session.h"

namespace cli {

class AttachmentCommands {
public:
    // Opens the database, logs in and enters the project.
    explicit AttachmentCommands(const Options& options);

    int Attach();
    int List();
    int Get();

private:
    ComPtr<lindor::IFileSet> FilesOfBug();

    const Options& options_;
    Session session_;
};

}  // namespace cli
