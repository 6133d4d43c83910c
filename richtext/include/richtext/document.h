// The document model of a rich text: paragraphs of formatted runs. The RTF
// reader builds it, the RTF writer and the plain-text helpers read it, and
// the client's editor converts it to and from its own text document.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace richtext {

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};
bool operator==(const Color& a, const Color& b);
bool operator!=(const Color& a, const Color& b);

// Character attributes of a run. An empty font, a size of 0 and no colour
// mean "whatever the reader shows by default".
struct CharFormat {
    std::string font;
    int halfPoints = 0;  // RTF measures font sizes in half points
    std::optional<Color> color;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};
bool operator==(const CharFormat& a, const CharFormat& b);
bool operator!=(const CharFormat& a, const CharFormat& b);

// A run of UTF-8 text in one format. A tab is "\t"; a line break inside the
// paragraph is U+2028 (LINE SEPARATOR).
struct Run {
    std::string text;
    CharFormat format;
};
bool operator==(const Run& a, const Run& b);

enum class Alignment { Left, Center, Right, Justify };

struct Paragraph {
    Alignment alignment = Alignment::Left;
    bool bullet = false;
    std::vector<Run> runs;

    // The text of every run, without formatting.
    std::string Text() const;
    // Appends text in a format, merging it into the last run when the
    // formats are equal, so that equal documents have equal runs.
    void Append(const std::string& text, const CharFormat& format);
};
bool operator==(const Paragraph& a, const Paragraph& b);

struct Document {
    std::vector<Paragraph> paragraphs;
};
bool operator==(const Document& a, const Document& b);

// The line separator that stands for a line break inside a paragraph.
extern const char* const kLineSeparator;

}  // namespace richtext
