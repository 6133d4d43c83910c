#include "richtext/rtfreader.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "richtext/codepage.h"
#include "richtext/utf8.h"
#include "rtftokenizer.h"

namespace richtext {
namespace {

enum class Destination { Body, Skip, FontTable, ColorTable, Numbering };

// Groups whose content is not document text.
// clang-format off
const std::set<std::string> kSkippedDestinations = {
    "annotation", "atnauthor", "atnid", "author", "bkmkend", "bkmkstart", "colorschememapping",
    "comment", "company", "datastore", "doccomm", "do", "fldinst", "footer", "footerf",
    "footerl", "footerr", "footnote", "generator", "header", "headerf", "headerl", "headerr",
    "info", "keywords", "latentstyles", "listoverridetable", "listtable", "listtext",
    "nonshppict", "object", "operator", "pict", "pntext", "pntxta", "pntxtb", "revtbl",
    "rsidtbl", "shp", "stylesheet", "subject", "template", "themedata", "title", "xmlnstbl"};
// clang-format on

// Characters named by a control word.
const std::map<std::string, char32_t> kNamedCharacters = {
    {"bullet", 0x2022},  {"endash", 0x2013},    {"emdash", 0x2014},    {"lquote", 0x2018},
    {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003},
    {"enspace", 0x2002}, {"qmspace", 0x2005},   {"zwj", 0x200D},       {"zwnj", 0x200C},
    {"tab", U'\t'},      {"cell", U'\t'},       {"line", 0x2028}};

// Control words that end a paragraph.
const std::set<std::string> kParagraphBreaks = {"par", "row", "page", "sect"};

// Deeper groups than this are read as skipped, so hostile input cannot grow
// the state without bound.
constexpr std::size_t kMaxDepth = 1000;

struct GroupState {
    Destination destination = Destination::Body;
    int font = -1;  // font number; -1: none stated
    int halfPoints = 0;
    int color = -1;  // colour table index; -1: none stated
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int unicodeSkip = 1;
};

struct FontEntry {
    std::string name;
    int codePage = 0;
};

class Interpreter {
public:
    explicit Interpreter(const std::string& rtf) : tokens_(rtf) {}

    Document Read();

private:
    GroupState& State() { return stack_.back(); }
    void Handle(const Token& token);
    void StartGroup();
    void EndGroup();
    void HandleText(const std::string& bytes);
    void HandleControlWord(const Token& token);
    void HandleControlSymbol(char symbol);
    bool TakeDestination(const std::string& word);
    void HandleFontTableWord(const Token& token);
    void HandleColorTableWord(const Token& token);
    void HandleCharacterFormat(const Token& token);
    void HandleDocumentWord(const Token& token);
    void HandleUnicode(int value);
    bool SkipsReplacement(const Token& token);

    int CurrentCodePage() const;
    CharFormat CurrentFormat() const;
    void AppendCodePoint(char32_t c);
    void DropLoneSurrogate();
    void FlushBytes();
    void EndParagraph();
    void ResetCharacterFormat();

    RtfTokenizer tokens_;
    Document document_;
    Paragraph paragraph_;
    Alignment alignment_ = Alignment::Left;
    bool bullet_ = false;

    std::vector<GroupState> stack_;
    std::size_t overflow_ = 0;    // groups opened beyond kMaxDepth
    bool groupStart_ = false;     // the next control word is the group's first
    bool starred_ = false;        // \* came right after the group start
    int replacementsToSkip_ = 0;  // left of the \ucN characters after \uN
    char16_t highSurrogate_ = 0;

    int documentCodePage_ = kDefaultCodePage;
    int defaultFont_ = -1;
    std::map<int, FontEntry> fonts_;
    int fontBeingDefined_ = -1;
    std::vector<std::optional<Color>> colors_;
    Color colorBeingDefined_;
    bool colorComponentSeen_ = false;

    std::string pendingBytes_;  // text bytes not yet decoded
    int pendingCodePage_ = kDefaultCodePage;
    CharFormat pendingFormat_;
};

Document Interpreter::Read()
{
    for (Token token = tokens_.Next(); token.kind != TokenKind::End; token = tokens_.Next()) {
        Handle(token);
        if (stack_.empty() && token.kind == TokenKind::GroupEnd) break;  // the outer group closed
    }
    FlushBytes();
    if (!paragraph_.runs.empty()) EndParagraph();
    return std::move(document_);
}

void Interpreter::Handle(const Token& token)
{
    if (token.kind == TokenKind::GroupStart) return StartGroup();
    if (token.kind == TokenKind::GroupEnd) return EndGroup();
    if (stack_.empty() || overflow_ > 0) return;  // outside the document, or too deep
    if (SkipsReplacement(token)) return;
    switch (token.kind) {
        case TokenKind::ControlWord:
            return HandleControlWord(token);
        case TokenKind::ControlSymbol:
            return HandleControlSymbol(token.symbol);
        case TokenKind::HexByte:
            groupStart_ = false;
            return HandleText(std::string(1, static_cast<char>(token.byte)));
        case TokenKind::Text:
            groupStart_ = false;
            return HandleText(token.word);
        default:
            return;
    }
}

// The characters that stand in for a \uN character in readers without
// Unicode: each byte of text, each \'hh and each control word counts as one.
bool Interpreter::SkipsReplacement(const Token& token)
{
    if (replacementsToSkip_ <= 0) return false;
    if (token.kind != TokenKind::Text) {
        --replacementsToSkip_;
        return true;
    }
    const std::size_t skipped = std::min<std::size_t>(token.word.size(), replacementsToSkip_);
    replacementsToSkip_ -= static_cast<int>(skipped);
    if (skipped == token.word.size()) return true;
    HandleText(token.word.substr(skipped));
    return true;
}

void Interpreter::StartGroup()
{
    FlushBytes();
    replacementsToSkip_ = 0;
    if (!stack_.empty() && (overflow_ > 0 || stack_.size() >= kMaxDepth)) {
        ++overflow_;
        return;
    }
    stack_.push_back(stack_.empty() ? GroupState() : stack_.back());
    groupStart_ = true;
    starred_ = false;
}

void Interpreter::EndGroup()
{
    FlushBytes();
    replacementsToSkip_ = 0;
    groupStart_ = false;
    if (overflow_ > 0) {
        --overflow_;
        return;
    }
    if (stack_.empty()) return;
    if (State().destination == Destination::FontTable) fontBeingDefined_ = -1;
    stack_.pop_back();
}

void Interpreter::HandleText(const std::string& bytes)
{
    switch (State().destination) {
        case Destination::Body:
            break;
        case Destination::FontTable:
            if (fontBeingDefined_ < 0) return;
            for (char c : bytes) {
                if (c == ';')
                    fontBeingDefined_ = -1;
                else
                    fonts_[fontBeingDefined_].name += c;
            }
            return;
        case Destination::ColorTable:
            for (char c : bytes) {
                if (c != ';') continue;
                colors_.push_back(colorComponentSeen_ ? std::optional<Color>(colorBeingDefined_)
                                                      : std::nullopt);
                colorBeingDefined_ = Color();
                colorComponentSeen_ = false;
            }
            return;
        default:
            return;
    }
    DropLoneSurrogate();
    const int codePage = CurrentCodePage();
    const CharFormat format = CurrentFormat();
    if (!pendingBytes_.empty() && (codePage != pendingCodePage_ || format != pendingFormat_))
        FlushBytes();
    pendingCodePage_ = codePage;
    pendingFormat_ = format;
    pendingBytes_ += bytes;
}

void Interpreter::HandleControlSymbol(char symbol)
{
    const bool first = groupStart_;
    groupStart_ = false;
    if (symbol == '*') {
        starred_ = first;
        groupStart_ = first;  // the destination word follows
        return;
    }
    if (symbol == '\\' || symbol == '{' || symbol == '}') return HandleText(std::string(1, symbol));
    if (State().destination != Destination::Body) return;
    if (symbol == '~') return AppendCodePoint(0x00A0);
    if (symbol == '_') return AppendCodePoint(0x2011);
    // \- (optional hyphen), \| and \: (index marks) have no text.
}

// A destination word at the start of a group decides what the group holds.
bool Interpreter::TakeDestination(const std::string& word)
{
    Destination destination;
    if (word == "fonttbl")
        destination = Destination::FontTable;
    else if (word == "colortbl")
        destination = Destination::ColorTable;
    else if (word == "pn")
        destination = Destination::Numbering;
    else if (kSkippedDestinations.count(word) > 0 || starred_)
        destination = Destination::Skip;
    else
        return false;
    if (State().destination == Destination::Body || destination == Destination::Skip)
        State().destination = destination;
    return true;
}

void Interpreter::HandleControlWord(const Token& token)
{
    const bool first = groupStart_;
    groupStart_ = false;
    if (first && TakeDestination(token.word)) return;
    starred_ = false;
    switch (State().destination) {
        case Destination::Skip:
            return;
        case Destination::FontTable:
            return HandleFontTableWord(token);
        case Destination::ColorTable:
            return HandleColorTableWord(token);
        case Destination::Numbering:
            if (token.word == "pnlvlblt") bullet_ = true;
            return;
        case Destination::Body:
            break;
    }
    const std::string& word = token.word;
    if (word != "u") DropLoneSurrogate();
    if (kParagraphBreaks.count(word) > 0) {
        FlushBytes();
        return EndParagraph();
    }
    if (const auto named = kNamedCharacters.find(word); named != kNamedCharacters.end())
        return AppendCodePoint(named->second);
    if (word == "u") return HandleUnicode(token.parameter);
    if (word == "pard") {
        alignment_ = Alignment::Left;
        bullet_ = false;
        return;
    }
    if (word == "ql") alignment_ = Alignment::Left;
    if (word == "qc") alignment_ = Alignment::Center;
    if (word == "qr") alignment_ = Alignment::Right;
    if (word == "qj") alignment_ = Alignment::Justify;
    if (word == "ls" && token.parameter > 0) bullet_ = true;
    if (word == "uc" && token.parameter >= 0) State().unicodeSkip = token.parameter;
    HandleCharacterFormat(token);
    HandleDocumentWord(token);
}

void Interpreter::HandleCharacterFormat(const Token& token)
{
    const std::string& word = token.word;
    const bool on = !token.hasParameter || token.parameter != 0;
    GroupState& state = State();
    if (word == "plain") ResetCharacterFormat();
    if (word == "b") state.bold = on;
    if (word == "i") state.italic = on;
    if (word == "ul" || word == "ulw" || word == "uld" || word == "uldb" || word == "ulth" ||
        word == "uldash" || word == "ulwave")
        state.underline = on;
    if (word == "ulnone") state.underline = false;
    if (word == "f" && token.hasParameter) state.font = token.parameter;
    if (word == "fs" && token.hasParameter && token.parameter > 0)
        state.halfPoints = token.parameter;
    if (word == "cf" && token.hasParameter && token.parameter >= 0) state.color = token.parameter;
}

void Interpreter::HandleDocumentWord(const Token& token)
{
    const std::string& word = token.word;
    if (word == "ansi") documentCodePage_ = kDefaultCodePage;
    if (word == "mac") documentCodePage_ = 10000;
    if (word == "pc") documentCodePage_ = 437;
    if (word == "pca") documentCodePage_ = 850;
    if (word == "ansicpg" && token.parameter > 0) documentCodePage_ = token.parameter;
    if (word == "deff" && token.hasParameter) defaultFont_ = token.parameter;
}

void Interpreter::HandleFontTableWord(const Token& token)
{
    if (token.word == "f" && token.hasParameter) {
        fontBeingDefined_ = token.parameter;
        fonts_[fontBeingDefined_] = FontEntry();
        return;
    }
    if (fontBeingDefined_ < 0) return;
    if (token.word == "fcharset")
        fonts_[fontBeingDefined_].codePage = CodePageOfCharset(token.parameter);
    if (token.word == "cpg" && token.parameter > 0)
        fonts_[fontBeingDefined_].codePage = token.parameter;
}

void Interpreter::HandleColorTableWord(const Token& token)
{
    const auto component = static_cast<std::uint8_t>(std::clamp(token.parameter, 0, 255));
    if (token.word == "red")
        colorBeingDefined_.red = component;
    else if (token.word == "green")
        colorBeingDefined_.green = component;
    else if (token.word == "blue")
        colorBeingDefined_.blue = component;
    else
        return;
    colorComponentSeen_ = true;
}

void Interpreter::HandleUnicode(int value)
{
    const char16_t unit = static_cast<char16_t>(value < 0 ? value + 65536 : value);
    replacementsToSkip_ = State().unicodeSkip;
    if (unit >= 0xDC00 && unit <= 0xDFFF && highSurrogate_ != 0) {
        const char32_t c = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
        highSurrogate_ = 0;
        return AppendCodePoint(c);
    }
    DropLoneSurrogate();
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        highSurrogate_ = unit;
        return;
    }
    AppendCodePoint(unit >= 0xDC00 && unit <= 0xDFFF ? kReplacementCharacter : unit);
}

int Interpreter::CurrentCodePage() const
{
    const int font = stack_.back().font >= 0 ? stack_.back().font : defaultFont_;
    if (const auto entry = fonts_.find(font); entry != fonts_.end() && entry->second.codePage > 0)
        return entry->second.codePage;
    return documentCodePage_;
}

CharFormat Interpreter::CurrentFormat() const
{
    const GroupState& state = stack_.back();
    CharFormat format;
    const int font = state.font >= 0 ? state.font : defaultFont_;
    if (const auto entry = fonts_.find(font); entry != fonts_.end())
        format.font = DecodeCodePage(entry->second.name, documentCodePage_);
    format.halfPoints = state.halfPoints;
    if (state.color >= 0 && static_cast<std::size_t>(state.color) < colors_.size())
        format.color = colors_[state.color];
    format.bold = state.bold;
    format.italic = state.italic;
    format.underline = state.underline;
    return format;
}

// A high surrogate not followed by its low half stands for nothing valid.
void Interpreter::DropLoneSurrogate()
{
    if (highSurrogate_ == 0) return;
    highSurrogate_ = 0;
    AppendCodePoint(kReplacementCharacter);
}

void Interpreter::AppendCodePoint(char32_t c)
{
    FlushBytes();
    std::string text;
    AppendUtf8(c, &text);
    paragraph_.Append(text, CurrentFormat());
}

void Interpreter::FlushBytes()
{
    if (pendingBytes_.empty()) return;
    paragraph_.Append(DecodeCodePage(pendingBytes_, pendingCodePage_), pendingFormat_);
    pendingBytes_.clear();
}

void Interpreter::EndParagraph()
{
    paragraph_.alignment = alignment_;
    paragraph_.bullet = bullet_;
    document_.paragraphs.push_back(std::move(paragraph_));
    paragraph_ = Paragraph();
}

void Interpreter::ResetCharacterFormat()
{
    GroupState& state = State();
    const int skip = state.unicodeSkip;
    const Destination destination = state.destination;
    state = GroupState();
    state.unicodeSkip = skip;
    state.destination = destination;
}

}  // namespace

Document ReadRtf(const std::string& rtf)
{
    return Interpreter(rtf).Read();
}

}  // namespace richtext
