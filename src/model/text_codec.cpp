// SPDX-License-Identifier: MIT
#include "model/text_codec.h"

#include "model/large_pages.h"

#include <QtGlobal>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <vector>

namespace orin {

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the UTF-16 LE file forms are copied as host words");

namespace {

// Opening an iconv converter costs far more than converting a settings line or a label, and
// the settings file is decoded line by line: each thread keeps the converters it has finished
// with and hands them out again, reset to their initial state.
class CConverterPool {
public:
    ~CConverterPool()
    {
        for (const Entry &entry : m_free)
            iconv_close(entry.cd);
    }

    iconv_t Take(const char *to, const char *from)
    {
        for (auto it = m_free.begin(); it != m_free.end(); ++it) {
            if (std::strcmp(it->to, to) == 0 && std::strcmp(it->from, from) == 0) {
                const iconv_t cd = it->cd;
                m_free.erase(it);
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                return cd;
            }
        }
        return iconv_open(to, from);
    }

    void Give(const char *to, const char *from, iconv_t cd)
    {
        // Only a few kinds are in use at a time; more than that is a nesting that ended.
        if (m_free.size() >= kKept) {
            iconv_close(cd);
            return;
        }
        m_free.push_back({to, from, cd});
    }

    static CConverterPool &ForThisThread()
    {
        thread_local CConverterPool pool;
        return pool;
    }

private:
    struct Entry {
        const char *to;
        const char *from;
        iconv_t cd;
    };
    static constexpr size_t kKept = 4;
    std::vector<Entry> m_free;
};

// Converts between code page 932 and UTF-16 LE with glibc iconv. What cannot be converted is
// replaced and skipped, so bad input never stops a read or a write.
class CCp932Converter {
public:
    CCp932Converter(const char *to, const char *from)
        : m_to(to), m_from(from), m_cd(CConverterPool::ForThisThread().Take(to, from))
    {
    }
    ~CCp932Converter()
    {
        if (Ok())
            CConverterPool::ForThisThread().Give(m_to, m_from, m_cd);
    }
    CCp932Converter(const CCp932Converter &) = delete;
    CCp932Converter &operator=(const CCp932Converter &) = delete;

    bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Runs the conversion; `skip` tells how many input bytes an unconvertible sequence at the
    // given position spans; `replacement` is what stands in for it in the output.
    template <typename SkipFn>
    QByteArray Convert(const QByteArray &input, const QByteArray &replacement, SkipFn skip)
    {
        QByteArray out;
        if (input.isEmpty())
            return out;
        QByteArray buffer(input.size() * 2 + 16, '\0');
        char *in = const_cast<char *>(input.constData());
        size_t inLeft = static_cast<size_t>(input.size());
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        while (inLeft > 0) {
            char *outPtr = buffer.data();
            size_t outLeft = static_cast<size_t>(buffer.size());
            const size_t rc = iconv(m_cd, &in, &inLeft, &outPtr, &outLeft);
            const int error = errno;
            out.append(buffer.constData(), buffer.size() - static_cast<qsizetype>(outLeft));
            if (rc != static_cast<size_t>(-1))
                break;
            if (error == E2BIG)
                continue;
            out.append(replacement);
            if (error != EILSEQ) // an incomplete sequence at the end, or anything unexpected
                break;
            const size_t step =
                std::min(inLeft, skip(reinterpret_cast<const unsigned char *>(in), inLeft));
            in += step;
            inLeft -= step;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

    iconv_t Handle() const { return m_cd; }

private:
    const char *m_to;
    const char *m_from;
    iconv_t m_cd;
};

bool IsLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsTrailByte(unsigned char b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// CR LF -> LF, in place. The lines between are found with the library's vectorised search and
// moved as whole runs.
void JoinLineEnds(QString &text)
{
    const qsizetype n = text.size();
    qsizetype r = QStringView(text).indexOf(u'\r');
    if (r < 0)
        return;
    char16_t *data = reinterpret_cast<char16_t *>(text.data());
    qsizetype w = r;
    while (r < n) {
        // data[r] is a CR: it goes when a LF follows.
        const qsizetype from = (r + 1 < n && data[r + 1] == u'\n') ? r + 1 : r;
        qsizetype next = QStringView(data + r + 1, n - r - 1).indexOf(u'\r');
        next = next < 0 ? n : r + 1 + next;
        std::memmove(data + w, data + from, size_t(next - from) * sizeof(char16_t));
        w += next - from;
        r = next;
    }
    text.truncate(w);
}

// Decodes code page 932 piece by piece straight into the text, which is sized once from the
// number of bytes (no character takes more than one UTF-16 unit per byte), so that neither a
// second copy of the text nor the whole file's bytes are ever held next to it. Each stray byte
// and each unassigned double-byte code becomes the replacement.
class CCp932Decoder {
public:
    CCp932Decoder(qsizetype expectedBytes, QChar replacement)
        : m_conv("UTF-16LE", "CP932"), m_replacement(replacement.unicode()),
          m_text(std::max<qsizetype>(expectedBytes, 16), Qt::Uninitialized)
    {
        if (m_conv.Ok())
            iconv(m_conv.Handle(), nullptr, nullptr, nullptr, nullptr);
    }

    bool Ok() const { return m_conv.Ok(); }

    // Decodes `size` bytes and returns how many at the end belong to a character that the end
    // of this piece cut (they start the next piece); the last piece has none: a character cut
    // there becomes one replacement, as does anything unexpected, and decoding stops.
    qsizetype Feed(const char *data, qsizetype size, bool last)
    {
        char *in = const_cast<char *>(data);
        size_t inLeft = size_t(size);
        while (inLeft > 0 && !m_stopped) {
            Room(qsizetype(inLeft) + 1);
            char *out = reinterpret_cast<char *>(m_text.data() + m_used);
            size_t outLeft = size_t(m_text.size() - m_used) * 2;
            const size_t rc = iconv(m_conv.Handle(), &in, &inLeft, &out, &outLeft);
            const int error = errno;
            m_used = (out - reinterpret_cast<char *>(m_text.data())) / 2;
            if (rc != size_t(-1) || error == E2BIG)
                continue;
            if (error == EINVAL && !last)
                return qsizetype(inLeft);
            m_text[m_used++] = QChar(m_replacement);
            if (error != EILSEQ) {
                m_stopped = true;
                break;
            }
            const auto *p = reinterpret_cast<const unsigned char *>(in);
            // An unassigned double-byte code counts as one character; a stray byte as one.
            const size_t step = (inLeft >= 2 && IsLeadByte(p[0]) && IsTrailByte(p[1])) ? 2 : 1;
            in += step;
            inLeft -= step;
            iconv(m_conv.Handle(), nullptr, nullptr, nullptr, nullptr);
        }
        return 0;
    }

    QString Take()
    {
        m_text.truncate(m_used);
        // A text of many double-byte characters leaves room unused: given back.
        if (m_text.capacity() - m_used > m_used / 4)
            m_text.squeeze();
        return std::move(m_text);
    }

private:
    void Room(qsizetype units)
    {
        if (m_text.size() - m_used < units)
            m_text.resize(std::max(m_text.size() * 2, m_used + units));
    }

    CCp932Converter m_conv;
    char16_t m_replacement;
    QString m_text;
    qsizetype m_used = 0;
    bool m_stopped = false;
};

} // namespace

QString DecodeCp932Text(const QByteArray &bytes, QChar replacement)
{
    CCp932Decoder decoder(bytes.size(), replacement);
    if (!decoder.Ok())
        return QString::fromLatin1(bytes);
    decoder.Feed(bytes.constData(), bytes.size(), true);
    return decoder.Take();
}

QString DecodeCp932(const QByteArray &bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    return DecodeCp932Text(nul < 0 ? bytes : bytes.left(nul), QChar(0xFFFD));
}

QString ReadCp932File(QFile &file)
{
    constexpr qsizetype kPiece = qsizetype(1) << 20;
    CCp932Decoder decoder(std::max<qint64>(0, file.size() - file.pos()), QChar(0xFFFD));
    if (!decoder.Ok())
        return DecodeCp932(file.readAll());
    QByteArray piece(kPiece + 8, Qt::Uninitialized);
    qsizetype kept = 0; // the start of a character that the previous piece cut
    for (;;) {
        const qint64 n = file.read(piece.data() + kept, kPiece);
        if (n <= 0)
            break;
        const qsizetype size = kept + qsizetype(n);
        // The text ends at the first NUL byte.
        const void *nul = std::memchr(piece.constData() + kept, 0, size_t(n));
        if (nul) {
            decoder.Feed(piece.constData(), static_cast<const char *>(nul) - piece.constData(),
                         true);
            return decoder.Take();
        }
        kept = decoder.Feed(piece.constData(), size, false);
        std::memmove(piece.data(), piece.constData() + size - kept, size_t(kept));
    }
    decoder.Feed(piece.constData(), kept, true);
    return decoder.Take();
}

QByteArray EncodeCp932(const QString &text, bool *lossy)
{
    if (lossy)
        *lossy = false;
    CCp932Converter conv("CP932", "UTF-16LE");
    if (!conv.Ok()) {
        QByteArray out = text.toLatin1();
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i).unicode() >= 0x80) {
                out[i] = '?';
                if (lossy)
                    *lossy = true;
            }
        }
        return out;
    }
    const QByteArray utf16(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    // A character outside the code page is one UTF-16 unit, or two for a surrogate pair.
    return conv.Convert(utf16, QByteArray("?"),
                        [lossy](const unsigned char *p, size_t left) -> size_t {
                            if (lossy)
                                *lossy = true;
                            const unsigned unit = p[0] | (left >= 2 ? p[1] << 8 : 0);
                            if (unit >= 0xD800 && unit <= 0xDBFF && left >= 4) {
                                const unsigned next = p[2] | (p[3] << 8);
                                if (next >= 0xDC00 && next <= 0xDFFF)
                                    return 4;
                            }
                            return 2;
                        });
}

bool CCp932Encoder::Write(QIODevice &device, const char16_t *units, qsizetype count)
{
    if (count <= 0)
        return true;
    if (m_waiting) {
        // The waiting half goes with the first unit of this piece.
        const char16_t pair[2] = {m_waiting, units[0]};
        m_waiting = 0;
        const bool joined = QChar::isLowSurrogate(units[0]);
        if (!Encode(device, pair, joined ? 2 : 1))
            return false;
        if (joined) {
            ++units;
            --count;
        }
    }
    if (count > 0 && QChar::isHighSurrogate(units[count - 1])) {
        m_waiting = units[count - 1];
        --count;
    }
    return Encode(device, units, count);
}

bool CCp932Encoder::Finish(QIODevice &device)
{
    const char16_t waiting = m_waiting;
    m_waiting = 0;
    return waiting == 0 || Encode(device, &waiting, 1);
}

bool CCp932Encoder::Encode(QIODevice &device, const char16_t *units, qsizetype count)
{
    if (count <= 0)
        return true;
    const QByteArray bytes =
        EncodeCp932(QString::fromRawData(reinterpret_cast<const QChar *>(units), count));
    return device.write(bytes) == bytes.size();
}

QString DecodeUnicodeTextFile(const QByteArray &bytes)
{
    QString raw;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        raw = QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    } else {
        qsizetype offset = 0;
        if (bytes.size() >= 2 && static_cast<uchar>(bytes[0]) == 0xFF
            && static_cast<uchar>(bytes[1]) == 0xFE)
            offset = 2;
        const qsizetype units = (bytes.size() - offset) / 2;
        raw.resize(units);
        memcpy(raw.data(), bytes.constData() + offset, static_cast<size_t>(units) * 2);
    }

    JoinLineEnds(raw);
    return raw;
}

QString ReadUnicodeTextFile(QFile &file)
{
    const QByteArray head = file.peek(3);
    if (head.startsWith("\xEF\xBB\xBF"))
        return DecodeUnicodeTextFile(file.readAll());
    if (head.startsWith("\xFF\xFE"))
        file.skip(2);
    const qint64 units = std::max<qint64>(0, file.size() - file.pos()) / 2;
    QString raw(units, Qt::Uninitialized);
    char *data = reinterpret_cast<char *>(raw.data());
    AdviseLargePages(data, units * 2);
    qint64 got = 0;
    while (got < units * 2) {
        const qint64 n = file.read(data + got, units * 2 - got);
        if (n <= 0)
            break;
        got += n;
    }
    raw.truncate(got / 2); // a trailing odd byte is dropped
    JoinLineEnds(raw);
    return raw;
}

QByteArray EncodeUnicodeTextFile(const QString &text)
{
    const qsizetype lineFeeds = text.count(u'\n');
    QByteArray bytes;
    bytes.resize(2 + (text.size() + lineFeeds) * 2);
    char16_t *out = reinterpret_cast<char16_t *>(bytes.data());
    *out++ = 0xFEFF;
    for (const QChar c : text) {
        if (c == u'\n')
            *out++ = u'\r';
        *out++ = c.unicode();
    }
    return bytes;
}

} // namespace orin
