// SPDX-License-Identifier: MIT
// The project that arrives from a server may refer to files only inside its own folder.

#include "transmit/server_content.h"
#include "transmit/project_references.h"

#include "model/project_reader.h"
#include "model/safe_file.h"
#include "model/text_codec.h"
#include "model/xml_doc.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace orin {
namespace {

// The elements whose text the reader takes as the path of a file it opens, and how the
// operator is told which one was dropped.
struct ReferenceKind {
    QStringView element;
    const char *label; // "%1" is the record's id (the page's for a background)
};
constexpr ReferenceKind kReferenceKinds[] = {
    {u"JPEG", QT_TRANSLATE_NOOP("OrinEdit", "ページ %1 の背景")},
    {u"ItemBitmap", QT_TRANSLATE_NOOP("OrinEdit", "素材 %1")},
    {u"ItemJPEG", QT_TRANSLATE_NOOP("OrinEdit", "画像 %1")},
    {u"ItemSound", QT_TRANSLATE_NOOP("OrinEdit", "音声 %1")},
};

QStringView TagName(const QString &text, const ElementRecord &record)
{
    const qsizetype first = record.start + 1;
    qsizetype end = first;
    while (end < text.size()) {
        const QChar c = text.at(end);
        if (c.isSpace() || c == u'>' || c == u'/')
            break;
        ++end;
    }
    return QStringView(text).mid(first, end - first);
}

// The text and the id of one element, read by the same engine as the project reader reads
// them: the start tag and the content of the element, alone in a document of their own.
struct ElementReading {
    QString text;
    QString id;
};
ElementReading ReadAlone(const CXmlDoc &doc, int index, qsizetype contentStart,
                         qsizetype contentEnd, QStringView name)
{
    const QString &text = doc.Text();
    const ElementRecord &record = doc.Record(index);
    QString alone = text.mid(record.start, doc.StartTagLength(index));
    // A start tag that closes itself has no content.
    if (alone.endsWith(QStringLiteral("/>"))) {
        alone.chop(2);
        alone += u'>';
    }
    alone += QStringView(text).mid(contentStart, contentEnd - contentStart);
    alone += QStringLiteral("</");
    alone += name;
    alone += u'>';
    CXmlDoc single;
    single.LoadText(alone);
    single.Rewind();
    ElementReading reading;
    if (single.NextElement()) {
        reading.text = single.ElementText();
        reading.id = single.Attribute(u"id");
    }
    return reading;
}

QString PageIdOf(const CXmlDoc &doc, int index)
{
    const ElementRecord &record = doc.Record(index);
    const int parent = record.parent;
    if (parent <= 0)
        return QStringLiteral("?");
    const QString &text = doc.Text();
    const ElementRecord &page = doc.Record(parent);
    const QStringView name = TagName(text, page);
    QString alone = text.mid(page.start, doc.StartTagLength(parent));
    if (alone.endsWith(QStringLiteral("/>"))) {
        alone.chop(2);
        alone += u'>';
    }
    alone += QStringLiteral("</");
    alone += name;
    alone += u'>';
    CXmlDoc single;
    single.LoadText(alone);
    single.Rewind();
    return single.NextElement() ? single.Attribute(u"id") : QStringLiteral("?");
}

} // namespace

bool ReferenceStaysInside(const QString &reference, const QString &projectFolder)
{
    if (reference.isEmpty())
        return true;
    const QString resolved = ResolveReference(reference, projectFolder);
    // A relative name that is not "./…" would be taken from the current folder, a Windows
    // path from nowhere this program knows: neither is part of the content.
    if (!QDir::isAbsolutePath(resolved) || resolved.contains(u'\\'))
        return false;
    const QString folder = QDir::cleanPath(QFileInfo(projectFolder).absoluteFilePath());
    const QString path = QDir::cleanPath(resolved);
    if (!path.startsWith(folder + u'/'))
        return false;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true; // a missing file inside the folder reads nothing
    // What exists must be a regular file whose real place is inside the real folder.
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    const QString canonical = info.canonicalFilePath();
    return info.isFile() && !canonicalFolder.isEmpty() && !canonical.isEmpty()
           && canonical.startsWith(canonicalFolder + u'/');
}

bool RewriteProjectReferences(const QString &projectPath, const ReferenceChange &change,
                              QStringList *changed, QString *error)
{
    if (changed)
        changed->clear();
    QFile file(projectPath);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = projectPath + QStringLiteral(": ") + file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    const QString text = DecodeUnicodeTextFile(bytes);

    CXmlDoc doc;
    doc.LoadText(text);
    // Every element of a referencing name, wherever it stands: more than the reader visits, so
    // that nothing it does visit is left out.
    struct Cut {
        qsizetype start;
        qsizetype end;
        QString replacement;
    };
    QList<Cut> cuts;
    QStringList told;
    for (int index = 1; index <= doc.ElementCount(); ++index) {
        const ElementRecord &record = doc.Record(index);
        const QStringView name = TagName(text, record);
        const auto kind = std::find_if(std::begin(kReferenceKinds), std::end(kReferenceKinds),
                                       [&](const ReferenceKind &k) { return k.element == name; });
        if (kind == std::end(kReferenceKinds))
            continue;
        // An element with elements inside reads as no reference at all.
        if (record.firstChild != 0)
            continue;
        const qsizetype contentStart = record.start + doc.StartTagLength(index);
        const qsizetype contentEnd = std::min<qsizetype>(
            text.size(), qsizetype(record.start) + record.length - doc.EndTagLength(index));
        if (contentEnd <= contentStart)
            continue;
        const QStringView raw = QStringView(text).mid(contentStart, contentEnd - contentStart);
        const ElementReading reading = ReadAlone(doc, index, contentStart, contentEnd, name);
        // Content that reads as nothing here but is not blank is not trusted either.
        const bool unreadable = reading.text.isEmpty() && !raw.trimmed().isEmpty();
        const std::optional<QString> replacement =
            change(unreadable ? raw.toString() : reading.text, !unreadable);
        if (!replacement)
            continue;
        cuts.append({contentStart, contentEnd, EscapeMarkup(*replacement, false)});
        const QString id = kind->element == u"JPEG" ? PageIdOf(doc, index) : reading.id;
        told.append(QCoreApplication::translate("OrinEdit", kind->label).arg(id)
                    + QStringLiteral(": ") + (unreadable ? raw.toString() : reading.text));
    }
    if (cuts.isEmpty())
        return true;
    QString rewritten = text;
    // From the end, so that the offsets of the earlier cuts still hold.
    std::sort(cuts.begin(), cuts.end(), [](const Cut &a, const Cut &b) { return a.start > b.start; });
    for (const Cut &cut : cuts)
        rewritten.replace(cut.start, cut.end - cut.start, cut.replacement);
    const FileResult written = WriteFileAtomically(projectPath, EncodeUnicodeTextFile(rewritten));
    if (!written.ok) {
        if (error)
            *error = written.message;
        return false;
    }
    if (changed)
        *changed = told;
    return true;
}

bool ConfineServerProject(const QString &projectPath, QStringList *dropped, QString *error)
{
    const QString projectFolder = FolderOf(projectPath);
    return RewriteProjectReferences(
        projectPath,
        [&projectFolder](const QString &reference, bool readable) -> std::optional<QString> {
            if (readable && ReferenceStaysInside(reference, projectFolder))
                return std::nullopt;
            return QString();
        },
        dropped, error);
}

} // namespace orin
