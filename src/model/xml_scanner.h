// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The tokenizer of the markup engine. It works on a UTF-16 buffer with an end offset and never
// reads at or past that end; every token it returns consumes at least one character, so a
// caller that advances by the token length always terminates.

namespace orin::xml {

enum class TokenKind : uint8_t {
    EndOfText,
    Whitespace,            // a run of whitespace only, up to the next '<'
    Text,                  // any other run up to the next '<'
    StartTag,              // `empty` tells "<a/>" from "<a>"
    EndTag,
    ProcessingInstruction,
    Comment,
    CData,
    DocType,
    Error,                 // `error`, `errorType` and `errorOffset` describe it
};

struct XmlToken {
    TokenKind kind = TokenKind::EndOfText;
    bool empty = false;
    int start = 0;
    int length = 0;                  // characters consumed, through the closing '>'
    int nameStart = 0;               // start and end tags: the tag name
    int nameLength = 0;
    int errorOffset = 0;             // where the offending tag begins
    const char *error = nullptr;     // the diagnostic's name
    const char *errorType = nullptr; // for an unterminated tag: what was open

    int End() const { return start + length; }
};

inline bool IsXmlSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// True for the characters that end a name token.
bool IsNameStop(char16_t c);

// Offset of the first name-stop character at or after `from`, or `end`.
int NameEnd(const char16_t *text, int from, int end);

// Offset of the first `c` at or after `from`, or -1.
int FindChar(const char16_t *text, int from, int end, char16_t c);

// Reads the markup that begins with the '<' at text[lt]; lt < end.
XmlToken ScanMarkup(const char16_t *text, int end, int lt);

// Reads the token at `pos` (< end): a whitespace or text run, or markup.
XmlToken NextToken(const char16_t *text, int end, int pos);

} // namespace orin::xml
