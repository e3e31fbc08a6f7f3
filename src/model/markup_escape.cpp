// SPDX-License-Identifier: MIT
#include "model/xml_doc.h"

#include "model/html_entities.h"
#include "model/markup_append.h"

#include <algorithm>

namespace orin {
namespace {

// A reference name is collected from at most this many characters before its ';'.
constexpr int kMaxReferenceChars = 9;

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

int HexValue(char16_t c)
{
    if (IsDigit(c))
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

// Decodes "#ddd" or "#xhh" (already folded to lower case); 0 when it is not a number.
char32_t NumericReference(const char16_t *folded, int n)
{
    if (n < 2 || folded[0] != u'#')
        return 0;
    const bool hex = folded[1] == u'x';
    const int first = hex ? 2 : 1;
    if (first >= n)
        return 0;
    // At most eight digits fit in the collected characters, so this cannot overflow.
    uint64_t value = 0;
    for (int k = first; k < n; ++k) {
        const int digit = hex ? HexValue(folded[k]) : (IsDigit(folded[k]) ? folded[k] - u'0' : -1);
        if (digit < 0)
            return 0;
        value = value * (hex ? 16 : 10) + uint64_t(digit);
    }
    return value > 0x10FFFF ? 0 : char32_t(value);
}

// The code point of the reference that starts at text[amp] == '&', or 0 when there is none;
// `length` receives the characters from '&' through ';'.
char32_t DecodeReference(const char16_t *text, qsizetype size, qsizetype amp, int &length)
{
    char16_t raw[kMaxReferenceChars];
    char16_t folded[kMaxReferenceChars];
    int n = 0;
    qsizetype p = amp + 1;
    while (p < size && n < kMaxReferenceChars) {
        const char16_t c = text[p];
        if (c == u';' || c >= 0x80)
            break;
        raw[n] = c;
        folded[n] = (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
        ++n;
        ++p;
    }
    if (p >= size || text[p] != u';' || n == 0)
        return 0;
    length = n + 2;
    if (folded[0] == u'#')
        return NumericReference(folded, n);
    return LookupHtmlEntity(QStringView(raw, n));
}

void AppendCodePoint(QString &out, char32_t cp)
{
    if (cp > 0xFFFF) {
        out.append(QChar(QChar::highSurrogate(cp)));
        out.append(QChar(QChar::lowSurrogate(cp)));
    } else {
        out.append(QChar(char16_t(cp)));
    }
}

} // namespace

QString EscapeMarkup(const QString &text, bool forAttribute)
{
    const auto needsEscape = [forAttribute](QChar c) {
        return c == u'<' || c == u'&' || c == u'>' || c == u'\0'
               || (forAttribute && (c == u'\'' || c == u'"'));
    };
    if (std::none_of(text.cbegin(), text.cend(), needsEscape))
        return text;
    QString out;
    out.reserve(text.size() + text.size() / 8 + 16);
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'<': out.append(u"&lt;"); break;
        case u'&': out.append(u"&amp;"); break;
        case u'>': out.append(u"&gt;"); break;
        case u'\0': out.append(kNulReplacement); break;
        case u'\'':
            if (forAttribute)
                out.append(u"&apos;");
            else
                out.append(c);
            break;
        case u'"':
            if (forAttribute)
                out.append(u"&quot;");
            else
                out.append(c);
            break;
        default: out.append(c);
        }
    }
    return out;
}

QString UnescapeMarkup(QStringView text)
{
    const char16_t *s = text.utf16();
    const qsizetype size = text.size();
    qsizetype amp = text.indexOf(u'&');
    if (amp < 0)
        return text.toString();
    QString out;
    out.reserve(size);
    qsizetype copied = 0;
    while (amp >= 0) {
        int length = 0;
        const char32_t cp = DecodeReference(s, size, amp, length);
        if (cp != 0) {
            out.append(QStringView(s + copied, amp - copied));
            AppendCodePoint(out, cp);
            copied = amp + length;
            amp = text.indexOf(u'&', copied);
        } else {
            // Not a reference: the '&' stays as an ordinary character.
            amp = text.indexOf(u'&', amp + 1);
        }
    }
    out.append(QStringView(s + copied, size - copied));
    return out;
}

QString UnescapeMarkup(const QString &text, int length)
{
    if (length < 0 || length >= text.size()) {
        if (!text.contains(u'&'))
            return text;
        return UnescapeMarkup(QStringView(text));
    }
    return UnescapeMarkup(QStringView(text).left(length));
}

} // namespace orin
