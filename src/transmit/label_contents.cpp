// SPDX-License-Identifier: MIT
// The label contents that come with server content, and how they reach the model.

#include "transmit/server_content.h"

#include "model/content_model.h"

#include <QCoreApplication>
#include <QSet>
#include <QStringDecoder>
#include <QXmlStreamReader>

namespace orin {

namespace {

// One list of labels as it is read: each label once, in the order of its first mention, found
// again through a hash so that a long list costs its length, not its square.
class CLabelList {
public:
    explicit CLabelList(QStringList &labels) : m_labels(labels) {}

    // False when the label would be one more than kMaxLabels.
    bool Add(const QString &label)
    {
        if (label.isEmpty() || m_seen.contains(label))
            return true;
        if (m_labels.size() >= kMaxLabels)
            return false;
        m_seen.insert(label);
        m_labels.append(label);
        return true;
    }

private:
    QStringList &m_labels;
    QSet<QString> m_seen;
};

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
    CLabelList texts(result.texts);
    CLabelList pictures(result.pictures);
    const QString tooMany =
        QCoreApplication::translate("OrinEdit", "ラベルが多すぎます（上限 %1 個）").arg(kMaxLabels);
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
        if (name == u"Text") {
            if (!texts.Add(reader.attributes().value(QLatin1String("label")).toString()))
                return fail(tooMany);
        } else if (name == u"Picture") {
            if (!pictures.Add(reader.attributes().value(QLatin1String("label")).toString()))
                return fail(tooMany);
        } else if (name == u"Background")
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
