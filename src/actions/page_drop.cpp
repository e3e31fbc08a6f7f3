// SPDX-License-Identifier: MIT
#include "actions/page_drop.h"

#include "model/text_codec.h"

#include <QMimeData>
#include <QStringDecoder>

namespace orin {

namespace {

bool IsCp932Format(const QString &format)
{
    const QString f = format.toLower();
    return f.startsWith(u"text/plain;")
           && (f.contains(u"charset=shift_jis") || f.contains(u"charset=shift-jis")
               || f.contains(u"charset=windows-31j") || f.contains(u"charset=cp932")
               || f.contains(u"charset=ms932") || f.contains(u"charset=x-sjis"));
}

std::optional<QString> DecodeUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

PageDrop DecidePageDrop(int modeAction, const std::optional<QString> &text, bool contentLoaded)
{
    if (modeAction == 0 || !text || !text->contains(u"<BMLJPEG"))
        return PageDrop::Refuse;
    return contentLoaded ? PageDrop::Merge : PageDrop::ContentFirst;
}

std::optional<QString> DroppedText(const QMimeData &data)
{
    const QStringList formats = data.formats();
    for (const QString &format : formats) {
        if (format.compare(u"text/plain;charset=utf-16", Qt::CaseInsensitive) == 0) {
            QStringDecoder decoder(QStringDecoder::Utf16, QStringDecoder::Flag::Stateless);
            return decoder.decode(data.data(format));
        }
    }
    for (const QString &format : formats) {
        if (format.compare(u"text/plain;charset=utf-8", Qt::CaseInsensitive) == 0) {
            if (auto text = DecodeUtf8(data.data(format)))
                return text;
        }
    }
    // Plain text is Unicode when it reads as UTF-8; what does not is taken as code page 932,
    // the form in which programs of the other platform hand over text without a label.
    if (data.hasFormat(QStringLiteral("text/plain"))) {
        const QByteArray bytes = data.data(QStringLiteral("text/plain"));
        if (auto text = DecodeUtf8(bytes))
            return text;
        return DecodeCp932(bytes);
    }
    for (const QString &format : formats) {
        if (IsCp932Format(format))
            return DecodeCp932(data.data(format));
    }
    return std::nullopt;
}

} // namespace orin
