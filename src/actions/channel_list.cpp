// SPDX-License-Identifier: MIT
#include "actions/channel_list.h"

#include "model/xml_doc.h"

namespace orin {

QList<ChannelListRow> ParseChannelList(const QByteArray &file)
{
    // The buffer holds 1024 wide characters; the file fills at most its first half.
    const QByteArray bytes = file.left(kChannelListBytes);
    QString text;
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        const auto low = static_cast<uchar>(bytes.at(i));
        const auto high = i + 1 < bytes.size() ? static_cast<uchar>(bytes.at(i + 1)) : 0;
        const char16_t c = static_cast<char16_t>(low | (high << 8));
        if (c == 0)
            break;
        text.append(QChar(c));
    }
    QList<ChannelListRow> rows;
    CXmlDoc doc;
    doc.LoadText(text);
    doc.Rewind();
    if (!doc.NextElement() || !doc.Descend())
        return rows;
    while (rows.size() < kChannelListRows && doc.NextElement()) {
        if (doc.ElementName() != u"Channel")
            break;
        const QString type = doc.Attribute(QStringLiteral("type"));
        rows.append({doc.ElementText(),
                     type == u"0" ? QStringLiteral("D")
                                  : type == u"1" ? QStringLiteral("H") : QString()});
    }
    return rows;
}

} // namespace orin
