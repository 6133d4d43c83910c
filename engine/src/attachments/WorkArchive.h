// The name of the archive an attachment passes through in the private
// temporary folder, kept apart from the files it is made from or unpacks to.
#pragma once

#include <string>

namespace lindor {

// `folder` + the base name of `namedAfter` + ".zip"; when that is the very
// name of `otherFile` (an "x.zip" attached, fetched or opened as "x.zip"), a
// second ".zip" is added so the archive never replaces that file.
std::string WorkArchivePath(const std::string& folder, const std::string& namedAfter,
                            const std::string& otherFile);

}  // namespace lindor
