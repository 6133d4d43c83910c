// Reads a Rich Text Format text into the document model.
#pragma once

#include <string>

#include "richtext/document.h"

namespace richtext {

// Reads paragraphs (alignment, bullets) and runs (font, size, colour, bold,
// italic, underline). Text is decoded from the document's code page
// (\ansicpg, 1252 when none is given) or a font's character set, and from
// \uN with its \ucN replacement characters skipped. Destinations that hold no
// document text (font and colour tables, style sheet, document information,
// pictures, headers, footers and every unknown \* group) add no text.
// Malformed input never fails: what can be read is read.
Document ReadRtf(const std::string& rtf);

}  // namespace richtext
