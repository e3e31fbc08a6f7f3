// SPDX-License-Identifier: MIT
// The label contents on any bytes: a failure leaves the result empty and tells why; a success
// keeps no empty or repeated label, and the same labels written out again read back the same.

#include "fuzz_check.h"

#include "transmit/server_content.h"

#include <QByteArray>
#include <QSet>

using namespace orin;

namespace {

// Markup escaping, with the blanks that attribute values would turn into spaces written as
// character references.
QString Escaped(const QString &text)
{
    QString escaped = text.toHtmlEscaped();
    escaped.replace(u'\t', QStringLiteral("&#9;"));
    escaped.replace(u'\n', QStringLiteral("&#10;"));
    escaped.replace(u'\r', QStringLiteral("&#13;"));
    return escaped;
}

bool Sound(const QStringList &labels)
{
    QSet<QString> seen;
    for (const QString &label : labels) {
        if (label.isEmpty() || seen.contains(label))
            return false;
        seen.insert(label);
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray xml(reinterpret_cast<const char *>(data), qsizetype(size));
    CLabelContents contents;
    QString error;
    if (!ParseLabelContents(xml, &contents, &error)) {
        ORIN_FUZZ_CHECK(!error.isEmpty());
        ORIN_FUZZ_CHECK(contents.texts.isEmpty() && contents.pictures.isEmpty()
                        && !contents.background);
        return 0;
    }
    ORIN_FUZZ_CHECK(error.isEmpty());
    ORIN_FUZZ_CHECK(Sound(contents.texts));
    ORIN_FUZZ_CHECK(Sound(contents.pictures));

    QString again = QStringLiteral("<LabelContents>");
    for (const QString &label : contents.texts)
        again += QStringLiteral("<Text label=\"%1\"/>").arg(Escaped(label));
    for (const QString &label : contents.pictures)
        again += QStringLiteral("<Picture label=\"%1\"/>").arg(Escaped(label));
    if (contents.background)
        again += QStringLiteral("<Background/>");
    again += QStringLiteral("</LabelContents>");
    CLabelContents reread;
    // Labels came from well-formed markup, so they hold only characters markup can carry.
    ORIN_FUZZ_CHECK(ParseLabelContents(again.toUtf8(), &reread, &error));
    ORIN_FUZZ_CHECK(reread.texts == contents.texts);
    ORIN_FUZZ_CHECK(reread.pictures == contents.pictures);
    ORIN_FUZZ_CHECK(reread.background == contents.background);
    return 0;
}
