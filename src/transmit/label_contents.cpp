// SPDX-License-Identifier: MIT
// The label contents that come with server content, and how they reach the model.

#include "transmit/server_content.h"

#include "model/content_model.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QXmlStreamReader>

namespace orin {

namespace {

void AddLabel(QStringList &labels, const QString &label)
{
    if (!label.isEmpty() && !labels.contains(label))
        labels.append(label);
}

} // namespace

bool ParseLabelContents(const QByteArray &xml, CLabelContents *out, QString *error)
{
    CLabelContents result;
    auto fail = [&](const QString &why) {
        if (out)
            *out = {};
        if (error)
            *error = QCoreApplication::translate("OrinEdit", "ラベル情報を読めません。\n") + why;
        return false;
    };
    // The text is UTF-8 whatever its declaration says; a byte-order mark is dropped.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(xml);
    if (utf8.hasError())
        return fail(QCoreApplication::translate("OrinEdit", "UTF-8 ではありません"));

    QXmlStreamReader reader(text);
    bool root = false;
    while (!reader.atEnd()) {
        if (!reader.readNextStartElement())
            break;
        if (!root) {
            if (reader.name() != u"LabelContents")
                return fail(
                    QCoreApplication::translate("OrinEdit", "LabelContents 要素がありません"));
            root = true;
            continue;
        }
        const QStringView name = reader.name();
        if (name == u"Text")
            AddLabel(result.texts, reader.attributes().value(QLatin1String("label")).toString());
        else if (name == u"Picture")
            AddLabel(result.pictures, reader.attributes().value(QLatin1String("label")).toString());
        else if (name == u"Background")
            result.background = true;
        // What the element holds means nothing here; the next start element is a sibling.
        reader.skipCurrentElement();
    }
    // The rest must be well formed too (comments only, no second root).
    while (!reader.atEnd() && !reader.hasError())
        reader.readNext();
    if (reader.hasError()) {
        return fail(QCoreApplication::translate("OrinEdit", "%1 行 %2 桁: %3")
                        .arg(reader.lineNumber())
                        .arg(reader.columnNumber())
                        .arg(reader.errorString()));
    }
    if (!root)
        return fail(QCoreApplication::translate("OrinEdit", "LabelContents 要素がありません"));
    if (out)
        *out = result;
    if (error)
        error->clear();
    return true;
}

void ApplyLabelContents(CContentModel &model, const CLabelContents &contents)
{
    ServerLabels labels;
    labels.texts = contents.texts;
    labels.pictures = contents.pictures;
    if (contents.background)
        labels.current = QString::fromUtf16(kBackgroundLabel);
    model.serverLabels = labels;
}

} // namespace orin
