// SPDX-License-Identifier: MIT
#include "settings/password_scramble.h"

#include "model/ui_text.h"

#include <QRandomGenerator>

namespace orin {

namespace {

void AppendPair(QString &out, unsigned value)
{
    static const char16_t kDigits[] = u"0123456789ABCDEF";
    out.append(QChar(kDigits[(value >> 4) & 0xF]));
    out.append(QChar(kDigits[value & 0xF]));
}

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

// The pair at the character position; the caller has checked that both are digits.
unsigned PairAt(const QString &text, qsizetype at)
{
    return static_cast<unsigned>(HexDigit(text.at(at)) * 16 + HexDigit(text.at(at + 1)));
}

} // namespace

QString ScramblePassword(const QString &text)
{
    // One generator for the process, seeded by the system: reseeding from the clock on every
    // call would give the same text for two scrambles within one second.
    return ScramblePassword(text, [] { return QRandomGenerator::global()->generate(); });
}

QString ScramblePassword(const QString &text, const RandomSource &nextRandom)
{
    const unsigned r = nextRandom() & 0xFFu;
    std::uint32_t h = 4856;
    for (const QChar c : text)
        h *= c.unicode() & 0xFFu;
    h %= 5000;
    const unsigned n = r % 10;
    const std::uint32_t check = h * 331 + r;

    QString out;
    out.reserve(static_cast<qsizetype>(2 * (n + text.size()) + 6));
    for (unsigned i = 0; i < n; ++i)
        AppendPair(out, nextRandom() & 0xFFu);
    unsigned k = r;
    for (const QChar c : text) {
        k = (c.unicode() & 0xFFu) ^ k;
        AppendPair(out, k);
    }
    AppendPair(out, check & 0xFF);
    AppendPair(out, (check >> 8) & 0xFF);
    AppendPair(out, (check >> 16) & 0xFF);
    return out;
}

QString UnscramblePassword(const QString &scrambled, bool *ok)
{
    if (ok)
        *ok = true;
    const qsizetype length = scrambled.size();
    if (length <= 5)
        return QString();
    auto fail = [ok] {
        if (ok)
            *ok = false;
        return QString();
    };
    if (length % 2 != 0)
        return fail();
    for (const QChar c : scrambled) {
        if (HexDigit(c) < 0)
            return fail();
    }
    const std::uint32_t check = PairAt(scrambled, length - 2) << 16
                                | PairAt(scrambled, length - 4) << 8
                                | PairAt(scrambled, length - 6);
    const unsigned r = (check % 331) & 0xFF;
    const qsizetype pairs = (length - 6) / 2;
    const qsizetype skip = r % 10;
    if (skip > pairs)
        return fail();

    QString out;
    out.reserve(pairs - skip);
    unsigned k = r;
    for (qsizetype i = skip; i < pairs; ++i) {
        const unsigned f = PairAt(scrambled, 2 * i);
        const unsigned c = (f ^ k) & 0xFF;
        if (c == 0) // the password ended there, as a C string would
            break;
        out.append(QChar(static_cast<char16_t>(c)));
        k = f;
    }
    return out;
}

bool CanScramblePassword(const QString &text)
{
    return PasswordRefusalMessage(text).isEmpty();
}

QString PasswordRefusalMessage(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return UiText(kPasswordCharsMessage);
    }
    if (text.size() > kPasswordMaxLength)
        return UiText(kPasswordLengthMessage);
    return QString();
}

} // namespace orin
