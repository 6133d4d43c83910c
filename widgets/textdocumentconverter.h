// Rich text between the document model (paragraphs with alignment and
// bullets; runs with font, size, colour, bold, italic, underline) and Qt's
// QTextDocument, both ways, for the panes that show it and the editors that
// change it.
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

    // The model of what `source` shows: one paragraph per block (none for an
    // empty document), a block of any list counts as bulleted, and only the
    // character properties a format states are kept, so text in the
    // editor's default font stays unformatted. Embedded objects (pictures)
    // have no text and are left out.
    static richtext::Document toModel(const QTextDocument& source);
    // The RTF text of toModel(source).
    static std::string toRtf(const QTextDocument& source);
};

}  // namespace nimbra
