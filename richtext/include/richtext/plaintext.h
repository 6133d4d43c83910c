// Plain text to and from the document model and RTF.
#pragma once

#include <string>

#include "richtext/document.h"

namespace richtext {

// The format plain text is given when it becomes rich text.
CharFormat PlainTextFormat();

// One paragraph per line ("\n" or "\r\n") in PlainTextFormat(); tabs stay.
Document DocumentFromPlainText(const std::string& text);

// The paragraphs' text joined by "\n"; a line break inside a paragraph
// becomes "\n" and a bulleted paragraph starts with "• ".
std::string PlainTextOf(const Document& document);

// Whether a text is an RTF document (it starts with "{\rtf").
bool IsRtf(const std::string& text);

// The plain text of an RTF document; a text that is not RTF is returned as
// it is, since such a field was stored as plain text.
std::string RtfToPlainText(const std::string& rtf);

// The RTF document of a plain text.
std::string PlainTextToRtf(const std::string& text);

}  // namespace richtext
