// SPDX-License-Identifier: MIT
#include "model/xml_scanner.h"

#include <QStringView>

#include <array>

namespace orin::xml {
namespace {

constexpr std::array<bool, 128> MakeNameStops()
{
    std::array<bool, 128> stops{};
    for (char c : {' ', '\t', '\n', '\r', '<', '>', '=', '\\', '/', '?', '!', '"', '\'', ';'})
        stops[size_t(c)] = true;
    return stops;
}
constexpr std::array<bool, 128> kNameStops = MakeNameStops();

// Inline forms of IsNameStop and NameEnd for the scanner's own loops.
inline bool NameStop(char16_t c)
{
    return c < 128 && kNameStops[c];
}

inline int NameEndAt(const char16_t *text, int from, int end)
{
    int p = from;
    while (p < end && !NameStop(text[p]))
        ++p;
    return p;
}

bool StartsStartTag(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || c > 0x60 || c == u'_' || c == u':';
}

XmlToken Unterminated(int lt, int end, const char *type)
{
    XmlToken tok;
    tok.kind = TokenKind::Error;
    tok.start = lt;
    tok.length = end - lt;
    tok.errorOffset = lt;
    tok.error = "unterminated_tag_syntax";
    tok.errorType = type;
    return tok;
}

// A syntax error at `offset`: the scanner skips to the next '>' at or after `from`.
XmlToken SyntaxError(const char16_t *text, int end, int lt, int offset, int from,
                     const char *error)
{
    const int gt = FindChar(text, from, end, u'>');
    XmlToken tok;
    tok.kind = TokenKind::Error;
    tok.start = lt;
    tok.length = (gt < 0 ? end : gt + 1) - lt;
    tok.errorOffset = offset;
    tok.error = error;
    return tok;
}

XmlToken Markup(TokenKind kind, int lt, int tokenEnd)
{
    XmlToken tok;
    tok.kind = kind;
    tok.start = lt;
    tok.length = tokenEnd - lt;
    return tok;
}

// Offset just past the first "abc" at or after `from`, or -1.
int FindAfter(const char16_t *text, int from, int end, char16_t a, char16_t b, char16_t c)
{
    for (int p = from; p + 2 < end; ++p) {
        if (text[p] == a && text[p + 1] == b && text[p + 2] == c)
            return p + 3;
    }
    return -1;
}

// Offset just past the first "?>" at or after `from`, or -1.
int FindPiEnd(const char16_t *text, int from, int end)
{
    for (int p = from; p + 1 < end; ++p) {
        if (text[p] == u'?' && text[p + 1] == u'>')
            return p + 2;
    }
    return -1;
}

XmlToken ScanStartTag(const char16_t *text, int end, int lt)
{
    XmlToken tok;
    tok.kind = TokenKind::StartTag;
    tok.start = lt;
    tok.nameStart = lt + 1;
    int p = NameEndAt(text, lt + 1, end);
    tok.nameLength = p - tok.nameStart;
    for (;;) {
        while (p < end && text[p] != u'>' && text[p] != u'=')
            ++p;
        if (p >= end)
            return Unterminated(lt, end, "start_tag");
        if (text[p] == u'>') {
            // The name is never empty, so text[p - 1] lies inside the tag.
            tok.empty = text[p - 1] == u'/';
            ++p;
            break;
        }
        ++p; // '=': the place of a value
        while (p < end && IsXmlSpace(text[p]))
            ++p;
        if (p >= end)
            return Unterminated(lt, end, "start_tag");
        const char16_t quote = text[p];
        if (quote == u'"' || quote == u'\'') {
            ++p;
            while (p < end && text[p] != quote)
                ++p;
            if (p >= end)
                return Unterminated(lt, end, "start_tag");
            ++p;
            continue;
        }
        // An unquoted value runs to whitespace or '>'; a '/' in it is part of the value.
        while (p < end && text[p] != u'>' && !IsXmlSpace(text[p]))
            ++p;
        if (p >= end)
            return Unterminated(lt, end, "start_tag");
        if (text[p] == u'>') {
            ++p;
            break;
        }
    }
    tok.length = p - lt;
    return tok;
}

XmlToken ScanEndTag(const char16_t *text, int end, int lt)
{
    const int gt = FindChar(text, lt + 2, end, u'>');
    if (gt < 0)
        return Unterminated(lt, end, "end_tag");
    XmlToken tok = Markup(TokenKind::EndTag, lt, gt + 1);
    int p = lt + 2;
    while (p < gt && IsXmlSpace(text[p]))
        ++p;
    tok.nameStart = p;
    tok.nameLength = NameEndAt(text, p, gt) - p;
    return tok;
}

// A nested declaration in a document type declaration ends at the first '>' outside quotes.
int NestedDeclarationEnd(const char16_t *text, int from, int end)
{
    char16_t quote = 0;
    for (int p = from; p < end; ++p) {
        const char16_t c = text[p];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'>') {
            return p + 1;
        }
    }
    return -1;
}

XmlToken ScanDocType(const char16_t *text, int end, int lt)
{
    int p = lt + 3;
    while (p < end) {
        const char16_t c = text[p];
        if (c == u'>')
            return Markup(TokenKind::DocType, lt, p + 1);
        if (c != u'<' || p + 1 >= end || text[p + 1] != u'!') {
            ++p;
            continue;
        }
        // A nested "<!" at p.
        if (p + 2 >= end)
            break;
        const char16_t kind = text[p + 2];
        int next = -1;
        if (kind == u'-') {
            if (p + 3 >= end)
                break;
            if (text[p + 3] != u'-')
                return SyntaxError(text, end, lt, p, p + 3, "comment_tag_syntax");
            next = FindAfter(text, p + 4, end, u'-', u'-', u'>');
        } else if (kind == u'E' || kind == u'A' || kind == u'N') {
            next = NestedDeclarationEnd(text, p + 3, end);
        } else {
            return SyntaxError(text, end, lt, p, p + 2, "doctype_tag_syntax");
        }
        if (next < 0)
            break;
        p = next;
    }
    return Unterminated(lt, end, "document_type");
}

XmlToken ScanDeclaration(const char16_t *text, int end, int lt)
{
    if (lt + 2 >= end)
        return Unterminated(lt, end, "tag");
    switch (text[lt + 2]) {
    case u'-': {
        if (lt + 3 >= end)
            return Unterminated(lt, end, "comment");
        if (text[lt + 3] != u'-')
            return SyntaxError(text, end, lt, lt, lt + 3, "comment_tag_syntax");
        const int after = FindAfter(text, lt + 4, end, u'-', u'-', u'>');
        return after < 0 ? Unterminated(lt, end, "comment") : Markup(TokenKind::Comment, lt, after);
    }
    case u'[': {
        if (lt + 3 >= end)
            return Unterminated(lt, end, "cdata_section");
        if (text[lt + 3] != u'C')
            return SyntaxError(text, end, lt, lt, lt + 3, "cdata_section_syntax");
        const int after = FindAfter(text, lt + 4, end, u']', u']', u'>');
        return after < 0 ? Unterminated(lt, end, "cdata_section")
                         : Markup(TokenKind::CData, lt, after);
    }
    case u'D':
        return ScanDocType(text, end, lt);
    default:
        return SyntaxError(text, end, lt, lt, lt + 2, "exclamation_tag_syntax");
    }
}

} // namespace

bool IsNameStop(char16_t c)
{
    return NameStop(c);
}

int NameEnd(const char16_t *text, int from, int end)
{
    return NameEndAt(text, from, end);
}

int FindChar(const char16_t *text, int from, int end, char16_t c)
{
    if (from >= end)
        return -1;
    // The library's vectorised search, called directly: going through indexOf costs a
    // substring search's setup for every call.
    const char16_t *found = QtPrivate::qustrchr(QStringView(text + from, end - from), c);
    return found == text + end ? -1 : int(found - text);
}

XmlToken ScanMarkup(const char16_t *text, int end, int lt)
{
    if (lt + 1 >= end)
        return Unterminated(lt, end, "tag");
    const char16_t c = text[lt + 1];
    if (StartsStartTag(c))
        return ScanStartTag(text, end, lt);
    switch (c) {
    case u'/':
        return ScanEndTag(text, end, lt);
    case u'?': {
        const int after = FindPiEnd(text, lt + 2, end);
        return after < 0 ? Unterminated(lt, end, "processing_instruction")
                         : Markup(TokenKind::ProcessingInstruction, lt, after);
    }
    case u'!':
        return ScanDeclaration(text, end, lt);
    default:
        return SyntaxError(text, end, lt, lt, lt + 1, "first_tag_syntax");
    }
}

XmlToken NextToken(const char16_t *text, int end, int pos)
{
    if (pos >= end)
        return XmlToken{};
    if (text[pos] == u'<')
        return ScanMarkup(text, end, pos);
    int lt = FindChar(text, pos, end, u'<');
    if (lt < 0)
        lt = end;
    bool blank = true;
    for (int p = pos; p < lt && blank; ++p)
        blank = IsXmlSpace(text[p]);
    return Markup(blank ? TokenKind::Whitespace : TokenKind::Text, pos, lt);
}

} // namespace orin::xml
