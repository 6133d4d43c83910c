// Rich text between the document model (paragraphs with alignment and
// bullets; runs with font, size, colour, bold, italic, underline) and Qt's
// QTextDocument, for the panes and editors that show it.
#pragma once

#include <string>

#include "richtext/document.h"

class QTextDocument;

namespace nimbra {

class TextDocumentConverter {
public:
    // Replaces the content of `target`; consecutive bulleted paragraphs form
    // one list.
    static void fill(const richtext::Document& source, QTextDocument* target);
    // A stored text field: RTF is read into the model; any other text was
    // stored as plain text and is shown as such.
    static void fillFromStoredText(const std::string& stored, QTextDocument* target);
};

}  // namespace nimbra
