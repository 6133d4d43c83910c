// Writes the document model as Rich Text Format.
#pragma once

#include <string>

#include "richtext/document.h"

namespace richtext {

// A complete RTF text: a font table of the fonts the runs name, a colour
// table of their colours, then one \par-ended paragraph per paragraph. Every
// character beyond ASCII is written as \uN with "?" for readers without
// Unicode, so the text does not depend on a code page. ReadRtf gives the
// same document back.
std::string WriteRtf(const Document& document);

}  // namespace richtext
