// SPDX-License-Identifier: MIT
#include "model/text_codec.h"

#include <QStringDecoder>

#include <QtGlobal>

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace orin {

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the UTF-16 LE file forms are copied as host words");
namespace {

// Owns one iconv descriptor for the duration of a conversion.
class IconvHandle {
public:
    IconvHandle(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~IconvHandle()
    {
        if (valid())
            iconv_close(m_cd);
    }
    IconvHandle(const IconvHandle &) = delete;
    IconvHandle &operator=(const IconvHandle &) = delete;
    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return m_cd; }

private:
    iconv_t m_cd;
};

} // namespace

QString DecodeCp932(const QByteArray &bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    const qsizetype length = nul < 0 ? bytes.size() : nul;
    QString result;
    if (length == 0)
        return result;

    IconvHandle cd("UTF-16LE", "CP932");
    if (!cd.valid())
        return QString::fromLatin1(bytes.constData(), length);

    result.resize(length); // never more UTF-16 units than bytes
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = static_cast<size_t>(length);
    char *outStart = reinterpret_cast<char *>(result.data());
    char *out = outStart;
    size_t outLeft = static_cast<size_t>(result.size()) * 2;
    while (inLeft > 0) {
        const size_t rc = iconv(cd.get(), &in, &inLeft, &out, &outLeft);
        if (rc != static_cast<size_t>(-1))
            break;
        if ((errno == EILSEQ || errno == EINVAL) && outLeft >= 2) {
            // An invalid or truncated sequence: one replacement character per bad byte.
            const char16_t replacement = 0xFFFD;
            memcpy(out, &replacement, 2);
            out += 2;
            outLeft -= 2;
            ++in;
            --inLeft;
            continue;
        }
        break;
    }
    result.resize((out - outStart) / 2);
    return result;
}

QByteArray EncodeCp932(const QString &text)
{
    QByteArray result;
    if (text.isEmpty())
        return result;
    IconvHandle cd("CP932", "UTF-16LE");
    if (!cd.valid())
        return text.toLatin1();

    result.resize(text.size() * 2 + 2); // at most two bytes per UTF-16 unit
    char *in = reinterpret_cast<char *>(const_cast<QChar *>(text.constData()));
    size_t inLeft = static_cast<size_t>(text.size()) * 2;
    char *out = result.data();
    size_t outLeft = static_cast<size_t>(result.size());
    while (inLeft > 0) {
        const size_t rc = iconv(cd.get(), &in, &inLeft, &out, &outLeft);
        if (rc != static_cast<size_t>(-1))
            break;
        if ((errno == EILSEQ || errno == EINVAL) && outLeft >= 1) {
            // A character the code page cannot hold: the code page's replacement character.
            // A surrogate pair stands for one character.
            const char16_t unit = *reinterpret_cast<const char16_t *>(in);
            const size_t skip = (QChar::isHighSurrogate(unit) && inLeft >= 4) ? 4 : 2;
            *out++ = '?';
            --outLeft;
            in += skip;
            inLeft -= skip;
            continue;
        }
        break;
    }
    result.resize(out - result.data());
    return result;
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

    // CR LF -> LF, in place.
    QChar *data = raw.data();
    const qsizetype n = raw.size();
    qsizetype w = 0;
    for (qsizetype r = 0; r < n; ++r) {
        if (data[r] == u'\r' && r + 1 < n && data[r + 1] == u'\n')
            continue;
        data[w++] = data[r];
    }
    raw.truncate(w);
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
