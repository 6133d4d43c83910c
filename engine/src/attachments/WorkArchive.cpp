#include "attachments/WorkArchive.h"

#include "attachments/ZipArchive.h"

namespace lindor {

std::string WorkArchivePath(const std::string& folder, const std::string& namedAfter,
                            const std::string& otherFile)
{
    std::string name = BaseNameWithoutExtension(namedAfter) + ".zip";
    if (name == FileNameWithExtension(otherFile)) name += ".zip";
    return folder + name;
}

}  // namespace lindor
