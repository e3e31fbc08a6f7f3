// SPDX-License-Identifier: MIT
#pragma once

#include "model/markup_append.h"
#include "model/text_codec.h"

#include <QIODevice>
#include <QString>
#include <QtGlobal>
#include <QStringView>

#include <algorithm>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Where the writers put composed markup. The same composing code runs over a sink that writes
// the UTF-16 text-mode file form to a device chunk by chunk, and a sink that appends to a
// string (the text form with LF line ends).
// Every sink takes: literal pieces without line feeds (`Padded` ones from storage that may be
// read kPaddedUnits from their start), spaces, escaped values, decimals and line ends.

namespace orin::markup {

// The characters that may change on the way into markup (see MarkupEntity; U+0000 and the
// line feed too): all lie below 64, so one bit mask tells the rest to be copied as they are.
constexpr quint64 kSpecialMask = (quint64(1) << 0) | (quint64(1) << '\n') | (quint64(1) << '"')
                                 | (quint64(1) << '&') | (quint64(1) << '\'')
                                 | (quint64(1) << '<') | (quint64(1) << '>');

inline bool MayChange(char16_t c)
{
    return c < 64 && ((kSpecialMask >> c) & 1) != 0;
}

// Literal pieces handed to `Padded` may be read this many units from their start (the line
// templates keep their pieces in storage padded this far and split longer ones): each piece is
// then copied as one block of fixed size, which costs a few instructions and no branch on its
// length. Nearly all pieces of a project line are shorter.
constexpr qsizetype kPaddedUnits = 16;

// Units that escaping scans at once.
constexpr qsizetype kScanUnits = 8;

// The most units of a decimal number ("-9223372036854775808").
constexpr qsizetype kDecimalUnits = 20;

// Values are mostly plain text without a single character to change: eight units are tested
// with a few vector compares where the processor has them, instead of a compare and branch per
// unit.
#if defined(__SSE2__)
// The 16-bit lanes of `v` that hold a character that may change, all ones.
inline __m128i SpecialLanes(__m128i v)
{
    __m128i hit = _mm_cmpeq_epi16(v, _mm_setzero_si128());
    hit = _mm_or_si128(hit, _mm_cmpeq_epi16(v, _mm_set1_epi16('\n')));
    hit = _mm_or_si128(hit, _mm_cmpeq_epi16(v, _mm_set1_epi16('"')));
    hit = _mm_or_si128(hit, _mm_cmpeq_epi16(v, _mm_set1_epi16('&')));
    hit = _mm_or_si128(hit, _mm_cmpeq_epi16(v, _mm_set1_epi16('\'')));
    hit = _mm_or_si128(hit, _mm_cmpeq_epi16(v, _mm_set1_epi16('<')));
    return _mm_or_si128(hit, _mm_cmpeq_epi16(v, _mm_set1_epi16('>')));
}
#endif

// Two bits for each of the kScanUnits units at `p` that may change (bits 2i and 2i+1 for unit
// i), so that the first such unit is at LowestBit / 2.
inline unsigned SpecialBits(const char16_t *p)
{
#if defined(__SSE2__)
    return unsigned(
        _mm_movemask_epi8(SpecialLanes(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p)))));
#else
    unsigned bits = 0;
    for (int i = 0; i < kScanUnits; ++i) {
        if (MayChange(p[i]))
            bits |= 3u << (2 * i);
    }
    return bits;
#endif
}

// Whether any of the 1 to kScanUnits - 1 units at `p` may change. Two overlapping loads of
// fixed size cover them all (some twice); nothing past them is read.
inline bool AnySpecial(const char16_t *p, qsizetype n)
{
#if defined(__SSE2__)
    __m128i v;
    if (n >= 4) {
        v = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(p)),
                               _mm_loadl_epi64(reinterpret_cast<const __m128i *>(p + n - 4)));
    } else if (n >= 2) {
        int head, tail;
        std::memcpy(&head, p, sizeof head);
        std::memcpy(&tail, p + n - 2, sizeof tail);
        v = _mm_set_epi32(head, tail, head, tail);
    } else {
        v = _mm_set1_epi16(short(*p));
    }
    return _mm_movemask_epi8(SpecialLanes(v)) != 0;
#else
    for (qsizetype i = 0; i < n; ++i) {
        if (MayChange(p[i]))
            return true;
    }
    return false;
#endif
}

// Index of the lowest set bit of a non-zero value.
inline int LowestBit(unsigned bits)
{
#if defined(__GNUC__)
    return __builtin_ctz(bits);
#else
    int i = 0;
    while (!(bits & 1u)) {
        bits >>= 1;
        ++i;
    }
    return i;
#endif
}

// "00" "01" … "99" as UTF-16: numbers are written two digits at a time, each pair with one
// store.
struct DigitPairs {
    char16_t units[200];
    constexpr DigitPairs() : units()
    {
        for (int i = 0; i < 100; ++i) {
            units[2 * i] = char16_t(u'0' + i / 10);
            units[2 * i + 1] = char16_t(u'0' + i % 10);
        }
    }
};
inline constexpr DigitPairs kDigitPairs;

inline void WritePair(char16_t *out, unsigned pair)
{
    std::memcpy(out, kDigitPairs.units + 2 * pair, 2 * sizeof(char16_t));
}

// Writes the decimal form of `value` at `out` (at most 20 units) and returns the end.
inline char16_t *WriteDecimal(char16_t *out, qint64 value)
{
    // The numbers of a project are mostly ids, flags, colours and coordinates: below 10000.
    if (value >= 0 && value < 10000) {
        const unsigned v = unsigned(value);
        if (v < 10) {
            *out = char16_t(u'0' + v);
            return out + 1;
        }
        if (v < 100) {
            WritePair(out, v);
            return out + 2;
        }
        if (v < 1000) {
            *out = char16_t(u'0' + v / 100);
            WritePair(out + 1, v % 100);
            return out + 3;
        }
        WritePair(out, v / 100);
        WritePair(out + 2, v % 100);
        return out + 4;
    }
    // Work in unsigned so that the most negative value has a magnitude too.
    quint64 magnitude = value < 0 ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
    if (value < 0)
        *out++ = u'-';
    int length = 1;
    for (quint64 m = magnitude; m >= 10; m /= 10)
        ++length;
    char16_t *digit = out + length;
    for (; magnitude >= 100; magnitude /= 100) {
        digit -= 2;
        WritePair(digit, unsigned(magnitude % 100));
    }
    if (magnitude >= 10)
        WritePair(digit - 2, unsigned(magnitude));
    else
        digit[-1] = char16_t(u'0' + magnitude);
    return out + length;
}

// Copies 1 to kScanUnits - 1 units in at most two overlapping moves of fixed size each: the
// short values of a project (numbers in text, short action strings) without a library call.
inline void CopyFew(char16_t *out, const char16_t *in, qsizetype n)
{
    if (n >= 4) {
        quint64 head, tail;
        std::memcpy(&head, in, sizeof head);
        std::memcpy(&tail, in + n - 4, sizeof tail);
        std::memcpy(out, &head, sizeof head);
        std::memcpy(out + n - 4, &tail, sizeof tail);
    } else if (n >= 2) {
        quint32 head, tail;
        std::memcpy(&head, in, sizeof head);
        std::memcpy(&tail, in + n - 2, sizeof tail);
        std::memcpy(out, &head, sizeof head);
        std::memcpy(out + n - 2, &tail, sizeof tail);
    } else {
        *out = *in;
    }
}

// Writes composed text to a device in chunks of a fixed size, each written as it fills: the
// file is composed in one pass and never held whole. With `kCrLf` it is the UTF-16 text-mode
// form (each LF as CR LF); without, the text form with LF line ends, which an encoder (the
// code page 932 one) turns into the file's bytes chunk by chunk.
//
// The chunk is followed by kSlackUnits of scratch space: a padded piece is copied as a block
// of fixed size and may write past what it keeps, up to that far beyond the chunk's end; what
// lies past `m_out` is never written out.
template <bool kCrLf>
class CChunkSink {
public:
    // 1 MiB: large enough that the writes of a file cost little more than one write of the
    // whole file.
    static constexpr qsizetype kChunkUnits = 512 * 1024;
    // 64 KiB, for composing into memory: a small project (a copy document, a round trip) does
    // not pay for mapping and clearing a whole megabyte each time.
    static constexpr qsizetype kMemoryChunkUnits = 32 * 1024;

    // The smallest chunk: room for the longest line a line template makes at once (a page's
    // line, about a thousand units).
    static constexpr qsizetype kMinChunkUnits = 16 * 1024;

    explicit CChunkSink(QIODevice &device, CCp932Encoder *encoder = nullptr,
                        qsizetype chunkUnits = kChunkUnits)
        : m_device(device), m_encoder(encoder),
          m_chunkUnits(std::max<qsizetype>(chunkUnits, kMinChunkUnits)),
          m_chunk(new char16_t[size_t(m_chunkUnits + kSlackUnits)]), m_out(m_chunk.get()),
          m_end(m_chunk.get() + m_chunkUnits)
    {
    }
    CChunkSink(const CChunkSink &) = delete;
    CChunkSink &operator=(const CChunkSink &) = delete;

    void Unit(char16_t c)
    {
        Reserve(1);
        *m_out++ = c;
    }
    void Literal(QStringView text)
    {
        const char16_t *in = text.utf16();
        const qsizetype n = text.size();
        if (n > m_end - m_out) {
            WriteOut();
            if (n > m_chunkUnits) { // a value longer than a chunk goes out as it is
                WriteUnits(in, n);
                return;
            }
        }
        if (n > 0)
            std::memcpy(m_out, in, size_t(n) * sizeof(char16_t));
        m_out += n;
    }
    // Makes room for `units` more units: what Padded and Decimal write must fit in room made
    // before (a line template makes room for the fixed part of its line once).
    void Reserve(qsizetype units)
    {
        Q_ASSERT(units <= m_chunkUnits);
        if (units > m_end - m_out)
            WriteOut();
    }
    // A literal piece of at most kPaddedUnits whose storage may be read kPaddedUnits units
    // from `in`, copied as one block of that size; it must fit in the room made.
    void Padded(const char16_t *in, qsizetype n)
    {
        Q_ASSERT(n <= kPaddedUnits && n <= m_end - m_out);
        std::memcpy(m_out, in, kPaddedUnits * sizeof(char16_t));
        m_out += n;
    }
    void Spaces(int count)
    {
        static constexpr char16_t kSpaces[] = u"                ";
        static_assert(sizeof kSpaces / sizeof kSpaces[0] > kPaddedUnits);
        for (; count > 0; count -= int(kPaddedUnits)) {
            Reserve(kPaddedUnits);
            Padded(kSpaces, std::min(count, int(kPaddedUnits)));
        }
    }
    void LineEnd()
    {
        Reserve(2);
        if (kCrLf)
            *m_out++ = u'\r';
        *m_out++ = u'\n';
    }
    // A number; at most kDecimalUnits, which must fit in the room made.
    void Decimal(qint64 value)
    {
        Q_ASSERT(kDecimalUnits <= m_end - m_out);
        m_out = WriteDecimal(m_out, value);
    }
    // A value. Most values are short and have nothing to change: those are copied here into
    // the room made for the line (kScanUnits of it); the rest by EscapedRun, which makes room
    // of its own and then `room` again for the rest of the line.
    void Escaped(QStringView text, bool forAttribute, qsizetype room)
    {
        const qsizetype n = text.size();
        if (n > 0 && n < kScanUnits && !AnySpecial(text.utf16(), n)) {
            Q_ASSERT(kScanUnits <= m_end - m_out);
            CopyFew(m_out, text.utf16(), n);
            m_out += n;
            return;
        }
        if (n > 0) {
            EscapedRun(text.utf16(), n, forAttribute);
            Reserve(room);
        }
    }

    // Writes what is left; false when any write failed (the device tells why).
    bool Finish()
    {
        WriteOut();
        if (m_encoder && !m_failed)
            m_failed = !m_encoder->Finish(m_device);
        return !m_failed;
    }

private:
    static constexpr qsizetype kSlackUnits = kPaddedUnits;

    // Copies a value kScanUnits units at a time and stops only where a unit may change.
    Q_NEVER_INLINE void EscapedRun(const char16_t *s, qsizetype n, bool forAttribute)
    {
        while (n > 0) {
            Reserve(kScanUnits);
            unsigned bits;
            qsizetype taken;
            if (n >= kScanUnits) {
                // Copied before it is looked at: a block without a character to change is done.
                std::memcpy(m_out, s, kScanUnits * sizeof(char16_t));
                bits = SpecialBits(s);
                taken = kScanUnits;
            } else if (AnySpecial(s, n)) {
                // The last units, fewer than a block: one by one, nothing past them is read.
                bits = 0;
                for (qsizetype i = n; i-- > 0;)
                    bits = (bits << 2) | (MayChange(s[i]) ? 3u : 0u);
                CopyFew(m_out, s, n);
                taken = n;
            } else {
                CopyFew(m_out, s, n);
                m_out += n;
                return;
            }
            if (bits == 0) {
                m_out += taken;
                s += taken;
                n -= taken;
                continue;
            }
            const int plain = LowestBit(bits) / 2;
            m_out += plain;
            Replace(s[plain], forAttribute);
            s += plain + 1;
            n -= plain + 1;
        }
    }
    // Writes `c` of a value as markup: its entity, CR LF for a line feed of the text-mode
    // file, or the character itself.
    void Replace(char16_t c, bool forAttribute)
    {
        if (c == u'\n') {
            if (kCrLf)
                Unit(u'\r');
            Unit(u'\n');
            return;
        }
        const QStringView entity = MarkupEntity(c, forAttribute);
        if (entity.isEmpty())
            Unit(c);
        else
            Literal(entity);
    }
    Q_NEVER_INLINE void WriteOut()
    {
        WriteUnits(m_chunk.get(), m_out - m_chunk.get());
        m_out = m_chunk.get();
    }
    void WriteUnits(const char16_t *units, qsizetype count)
    {
        // After a failure the rest is composed but not written: the save fails as a whole.
        if (m_failed || count == 0)
            return;
        if (m_encoder) {
            m_failed = !m_encoder->Write(m_device, units, count);
            return;
        }
        const qint64 bytes = count * qint64(sizeof(char16_t));
        m_failed = m_device.write(reinterpret_cast<const char *>(units), bytes) != bytes;
    }

    QIODevice &m_device;
    CCp932Encoder *m_encoder;
    qsizetype m_chunkUnits;
    std::unique_ptr<char16_t[]> m_chunk;
    char16_t *m_out;
    char16_t *m_end;
    bool m_failed = false;
};

using CUtf16ChunkSink = CChunkSink<true>;
// The text form with LF line ends, for an encoder.
using CTextChunkSink = CChunkSink<false>;

// Appends the text form with LF line ends to a string.
class CTextSink {
public:
    explicit CTextSink(QString &out) : m_out(out) {}

    void Literal(QStringView text) { m_out.append(text); }
    void Reserve(qsizetype) {}
    void Padded(const char16_t *in, qsizetype n) { m_out.append(QStringView(in, n)); }
    void Spaces(int count)
    {
        for (int i = 0; i < count; ++i)
            m_out.append(u' ');
    }
    void LineEnd() { m_out.append(u'\n'); }
    void Decimal(qint64 value) { AppendDecimal(m_out, value); }
    void Escaped(QStringView text, bool forAttribute, qsizetype /*room*/ = 0)
    {
        AppendEscapedMarkup(m_out, text, forAttribute);
    }

private:
    QString &m_out;
};

} // namespace orin::markup
