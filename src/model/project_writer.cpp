// SPDX-License-Identifier: MIT
#include "model/project_writer.h"

#include "model/line_template.h"
#include "model/markup_sink.h"
#include "model/pump_messages.h"
#include "model/safe_file.h"
#include "model/text_codec.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cmath>
#include <limits>

namespace orin {
namespace {

// The line formats of the project file, exact to the blank.
struct Formats {
    CLineTemplate transChannel{QStringLiteral("<TransChannel>%d</TransChannel>")};
    CLineTemplate timerMode{QStringLiteral("<TimerMode>%d</TimerMode>")};
    CLineTemplate cursorSize{QStringLiteral("<CursorSize>%d</CursorSize>")};
    CLineTemplate fileIdName{QStringLiteral("<FileIDName>%s</FileIDName>")};
    CLineTemplate modeScreen{QStringLiteral("<ModeScreen>%d</ModeScreen>")};
    CLineTemplate backImagePage{QStringLiteral("<BackImagePage>%d</BackImagePage>")};
    CLineTemplate exPng{QStringLiteral("<ExPNG Vertical=\"%d\" ConvertAAC=\"%d\">%d</ExPNG>")};
    CLineTemplate numAac{QStringLiteral("<NumAAC>%d</NumAAC>")};
    CLineTemplate idConv{QStringLiteral("<IDConv homeID=\"%s\">%d</IDConv>")};
    CLineTemplate page{QStringLiteral(
        "<BMLJPEG id=\"%d\" comment = \"%s\" defitem=\"%d\" tvitem=\"%d\" clock=\"%d\" "
        "return=\"%d\" up=\"%d\" down =\"%d\" left=\"%d\" right=\"%d\" back=\"%d\" "
        "data=\"%d\" blue=\"%d\" red=\"%d\" green=\"%d\" yellow=\"%d\" timer=\"%d\" "
        "marquee=\"%d\" marquee_speed=\"%d\" timer_item=\"%d\" timer_ino=\"%d\" "
        "textid=\"%d\" backcol=\"%d\" curcol=\"%d\" cursize=\"%d\" memory=\"%d\" "
        "cursor=\"%d\" smacro=\"%d\">")};
    CLineTemplate jpeg{QStringLiteral("<JPEG>%s</JPEG>")};
    CLineTemplate items{QStringLiteral("<Items Num=\"%d\">")};
    CLineTemplate item{QStringLiteral(
        "<Item id=\"%d\" idg=\"%d\" parent=\"%d\" x=\"%d\" y=\"%d\" width=\"%d\" "
        "height=\"%d\" focus=\"%s\" outfocus=\"%s\" ret=\"%s\" up=\"%s\" down =\"%s\" "
        "left=\"%s\" right=\"%s\" pic_no=\"%d\" text_no=\"%d\">")};
    CLineTemplate itemText{QStringLiteral(
        "<ItemText margin_x=\"%d\" margin_y=\"%d\" color=\"%d\" size=\"%d\" bcolor=\"%d\" "
        "wordwrap=\"%d\">%s</ItemText>")};
    CLineTemplate bitmap{QStringLiteral(
        "<ItemBitmap id=\"%d\" item=\"%d\" label=\"%s\" type=\"%d\">%s</ItemBitmap>")};
    CLineTemplate picture{QStringLiteral(
        "<ItemJPEG id=\"%d\" item=\"%d\" label=\"%s\" type=\"%d\">%s</ItemJPEG>")};
    CLineTemplate text{QStringLiteral(
        "<ItemText id=\"%d\" item=\"%d\" label=\"%s\">%s</ItemText>")};
    CLineTemplate channel{QStringLiteral(
        "<ItemChannel id=\"%d\" item=\"%d\" screen=\"%d\" page=\"%d\" "
        "address=\"%s\">%s</ItemChannel>")};
    CLineTemplate webPage{QStringLiteral(
        "<ItemWebPage id=\"%d\" item=\"%d\" screen=\"%d\" label=\"%s\" page=\"%d\" "
        "address=\"%s\">%s</ItemWebPage>")};
    CLineTemplate macro{QStringLiteral(
        "<ItemMacro id=\"%d\" item=\"%d\" label=\"%s\">%s</ItemMacro>")};
    CLineTemplate sound{QStringLiteral(
        "<ItemSound id=\"%d\" item=\"%d\" label=\"%s\" comment=\"%s\">%s</ItemSound>")};
    CLineTemplate itemValue{QStringLiteral("<ItemValue>%s</ItemValue>")};
    CLineTemplate function{QStringLiteral("<ItemFunction id=\"%d\" item=\"%d\">%s</ItemFunction>")};
};

const Formats &TheFormats()
{
    static const Formats formats;
    return formats;
}

// A fixed line; its length is known where it is written (a view made from a bare array would
// look for the end of the text on every line).
template <typename Sink, size_t N>
void Line(Sink &out, int indent, const char16_t (&text)[N])
{
    out.Spaces(indent);
    out.Literal(QStringView(text, qsizetype(N - 1)));
    out.LineEnd();
}

// Geometry is held as floats and written as whole numbers, truncated toward zero.
int Truncate(float value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<float>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<float>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

qsizetype LastSeparator(const QString &path)
{
    return std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
}

QString WithoutTrailingSeparator(QString path)
{
    if (path.size() > 1 && (path.endsWith(u'/') || path.endsWith(u'\\')))
        path.chop(1);
    return path;
}

// Chooses the reference that a file path is written as.
class CReferenceWriter {
public:
    CReferenceWriter(SaveMode mode, const QString &contentFolder, QStringList &notCopied)
        : m_mode(mode), m_folder(WithoutTrailingSeparator(contentFolder)),
          m_notCopied(notCopied)
    {
    }

    // Starts a new table: copies are shared only inside one table.
    void NewTable() { m_copies.clear(); }

    // The reference a path is written as; a portable save copies each file once per table.
    QString Reference(const QString &path)
    {
        if (path.isEmpty())
            return QString();
        if (m_mode == SaveMode::Plain)
            return PlainReference(path);
        const auto known = m_copies.constFind(path);
        if (known != m_copies.constEnd())
            return known.value();
        const CopyResult copy = CopyIntoFolder(path, m_folder);
        // A file that cannot be copied keeps its absolute path, so the reference is not lost.
        const QString reference = copy.ok ? copy.reference : path;
        if (!copy.ok)
            m_notCopied.append(path);
        m_copies.insert(path, reference);
        return reference;
    }

    QString PlainReference(const QString &path) const
    {
        if (m_folder.isEmpty())
            return path;
        const qsizetype separator = LastSeparator(path);
        const QString directory = separator < 0 ? QString() : path.left(separator);
        // File names are case-sensitive here: "News." and "news." are different folders, and a
        // reference into the wrong one would name a folder that does not exist.
        if (directory == m_folder)
            return MakeRelativeReference(path, m_folder);
        return path;
    }

    SaveMode m_mode;
    QString m_folder;
    QStringList &m_notCopied;
    QHash<QString, QString> m_copies;
};

template <typename Sink>
void WritePageBlock(const CMyProgramInfo &page, Sink &out, CReferenceWriter &references)
{
    const Formats &f = TheFormats();
    f.page.WriteTo(out, 4,
                 {page.id, page.comment, page.defitem, page.tvitem, page.clock, page.return_,
                  page.up, page.down, page.left, page.right, page.back, page.data, page.blue,
                  page.red, page.green, page.yellow, page.timer, page.marquee,
                  page.marquee_speed, page.timer_item, page.timer_ino, page.textid,
                  page.backcol, page.curcol, page.cursize, page.memory, page.cursor,
                  page.smacro});
    const QString background = references.Reference(page.background);
    f.jpeg.WriteTo(out, 6, {background});
    const int count = std::clamp(page.itemCount, 0, kItemSlots);
    f.items.WriteTo(out, 6, {count});
    for (int i = 0; i < count; ++i) {
        const PageItem &item = page.items[static_cast<size_t>(i)];
        f.item.WriteTo(out, 8,
                     {item.id, item.idg, item.parent, Truncate(item.x), Truncate(item.y),
                      Truncate(item.width), Truncate(item.height), item.focus, item.outfocus,
                      item.ret, item.up, item.down, item.left, item.right, item.pic_no,
                      item.text_no});
        f.itemText.WriteTo(out, 10,
                         {item.margin_x, item.margin_y, item.color, item.size, item.bcolor,
                          item.wordwrap, item.text});
        Line(out, 8, u"</Item>");
    }
    Line(out, 6, u"</Items>");
    Line(out, 4, u"</BMLJPEG>");
}

template <typename Sink>
void Compose(Sink &out, const CContentModel &model, const ProgramSettings &s,
             CReferenceWriter &references)
{
    const Formats &f = TheFormats();

    Line(out, 0, u"<BMLCAST>");
    f.transChannel.WriteTo(out, 2, {s.TransChannel});
    f.timerMode.WriteTo(out, 2, {s.TimerMode});
    f.cursorSize.WriteTo(out, 2, {s.CursorSize});
    f.fileIdName.WriteTo(out, 2, {s.FileIDName});
    f.modeScreen.WriteTo(out, 2, {s.ModeScreen});
    f.backImagePage.WriteTo(out, 2, {s.BackImagePage});
    f.exPng.WriteTo(out, 2, {s.Vertical, s.ConvertAAC, s.ExPNG});
    f.numAac.WriteTo(out, 2, {s.NumAAC});
    f.idConv.WriteTo(out, 2, {s.homeID, s.IDConv});

    Line(out, 2, u"<Program>");
    for (const auto &page : model.pages)
        WritePageBlock(*page, out, references);
    Line(out, 2, u"</Program>");

    auto images = [&](QStringView section, const CMyDataArray<CMyPictureInfo> &table,
                      const CLineTemplate &format) {
        references.NewTable();
        out.Spaces(2);
        out.Literal(u"<");
        out.Literal(section);
        out.Literal(u">");
        out.LineEnd();
        for (const auto &r : table) {
            const QString reference = references.Reference(r->path);
            format.WriteTo(out, 4, {r->id, r->item, r->label, r->type, reference});
            // The copies of a portable save take the time: the window keeps painting.
            PumpMessages();
        }
        out.Spaces(2);
        out.Literal(u"</");
        out.Literal(section);
        out.Literal(u">");
        out.LineEnd();
    };
    images(u"Material", model.materials, f.bitmap);
    images(u"Picture", model.pictures, f.picture);

    Line(out, 2, u"<Text>");
    for (const auto &r : model.texts) {
        if (r->id != kDeletedId)
            f.text.WriteTo(out, 4, {r->id, r->item, r->label, r->text});
    }
    Line(out, 2, u"</Text>");
    Line(out, 2, u"<Channel>");
    for (const auto &r : model.channels) {
        if (r->id != kDeletedId)
            f.channel.WriteTo(out, 4, {r->id, r->item, r->screen, r->page, r->address, r->data});
    }
    Line(out, 2, u"</Channel>");
    Line(out, 2, u"<WebPage>");
    for (const auto &r : model.webPages) {
        if (r->id != kDeletedId)
            f.webPage.WriteTo(out, 4,
                            {r->id, r->item, r->screen, r->label, r->page, r->address, r->data});
    }
    Line(out, 2, u"</WebPage>");
    Line(out, 2, u"<Macro>");
    for (const auto &r : model.macros) {
        if (r->id != kDeletedId)
            f.macro.WriteTo(out, 4, {r->id, r->item, r->label, r->macro});
    }
    Line(out, 2, u"</Macro>");
    references.NewTable();
    Line(out, 2, u"<Sound>");
    for (const auto &r : model.sounds) {
        if (r->id == kDeletedId)
            continue;
        const QString reference = references.Reference(r->path);
        f.sound.WriteTo(out, 4, {r->id, r->item, r->label, r->comment, reference});
    }
    Line(out, 2, u"</Sound>");
    Line(out, 2, u"<Function>");
    f.itemValue.WriteTo(out, 4, {model.functionValue});
    for (const auto &r : model.functions) {
        if (r->id != kDeletedId)
            f.function.WriteTo(out, 4, {r->id, r->item, r->data});
    }
    Line(out, 2, u"</Function>");
    Line(out, 0, u"</BMLCAST>");
}

// The text form (LF line ends) of the whole project.
QString ComposeText(const CContentModel &model, SaveMode mode, const QString &contentFolder,
                    const ProgramSettings &settings, QStringList &notCopied)
{
    QString text;
    text.reserve(4096 + model.pages.Count() * 2048);
    markup::CTextSink sink(text);
    CReferenceWriter references(mode, contentFolder, notCopied);
    Compose(sink, model, settings, references);
    return text;
}

// Writes the .bjpx file to `device`: the byte-order mark, then the composition in one pass,
// chunk by chunk. False when a write failed.
bool WriteUnicodeFile(QIODevice &device, const CContentModel &model, SaveMode mode,
                      const QString &contentFolder, const ProgramSettings &settings,
                      QStringList &notCopied,
                      qsizetype chunkUnits = markup::CUtf16ChunkSink::kChunkUnits)
{
    CReferenceWriter references(mode, contentFolder, notCopied);
    markup::CUtf16ChunkSink sink(device, nullptr, chunkUnits);
    sink.Unit(0xFEFF);
    Compose(sink, model, settings, references);
    return sink.Finish();
}

// Writes the .bjp file to `device`: the composition in one pass, each chunk of text encoded
// to code page 932 as it fills. False when a write failed.
bool WriteCp932File(QIODevice &device, const CContentModel &model, SaveMode mode,
                    const QString &contentFolder, const ProgramSettings &settings,
                    QStringList &notCopied,
                    qsizetype chunkUnits = markup::CTextChunkSink::kChunkUnits)
{
    CReferenceWriter references(mode, contentFolder, notCopied);
    CCp932Encoder encoder;
    markup::CTextChunkSink sink(device, &encoder, chunkUnits);
    Compose(sink, model, settings, references);
    return sink.Finish();
}

} // namespace

QString ContentFolderOf(const QString &projectPath)
{
    return projectPath.left(std::max<qsizetype>(0, projectPath.size() - 4));
}

QString MakeRelativeReference(const QString &source, const QString &contentFolder)
{
    if (source.isEmpty())
        return QString();
    const QString folder = WithoutTrailingSeparator(contentFolder);
    const QString folderName = folder.mid(LastSeparator(folder) + 1);
    const QString fileName = source.mid(LastSeparator(source) + 1);
    return QStringLiteral("./") + folderName + u'/' + fileName;
}

CopyResult CopyIntoFolder(const QString &source, const QString &contentFolder)
{
    CopyResult result;
    if (!QFileInfo(source).isFile())
        return result;
    const QString folder = WithoutTrailingSeparator(contentFolder);
    const QString fileName = source.mid(LastSeparator(source) + 1);
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString base = dot < 0 ? fileName : fileName.left(dot);
    const QString extension = dot < 0 ? QString() : fileName.mid(dot);
    QString suffix;
    for (int attempt = 0; attempt <= 30; ++attempt, suffix.append(u'_')) {
        const QString destination = folder + u'/' + base + suffix + extension;
        if (QFileInfo::exists(destination))
            continue;
        if (QFile::copy(source, destination)) {
            result.ok = true;
            result.reference = MakeRelativeReference(destination, folder);
            return result;
        }
    }
    return result;
}

bool CreateFolderPath(const QString &path)
{
    QString folder = WithoutTrailingSeparator(path);
    if (folder.isEmpty())
        return false;
    QDir dir;
    if (QFileInfo(folder).isDir())
        return true;
    // mkpath creates the missing parents first, then the folder itself.
    return dir.mkpath(folder) && QFileInfo(folder).isDir();
}

void WritePage(const CContentModel &model, int pageIndex, QString &out, SaveMode mode,
               const QString &contentFolder)
{
    if (!model.pages.IsValidIndex(pageIndex))
        return;
    QStringList notCopied;
    CReferenceWriter references(mode, contentFolder, notCopied);
    markup::CTextSink sink(out);
    WritePageBlock(*model.pages.At(pageIndex), sink, references);
}

QString ComposeProject(const CContentModel &model, SaveMode mode, const QString &contentFolder,
                       const ProgramSettings &settings)
{
    QStringList notCopied;
    return ComposeText(model, mode, contentFolder, settings, notCopied);
}

QByteArray ComposeProjectFile(const CContentModel &model, bool unicode, SaveMode mode,
                              const QString &contentFolder, const ProgramSettings &settings)
{
    QStringList notCopied;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    constexpr qsizetype kUnits = markup::CUtf16ChunkSink::kMemoryChunkUnits;
    if (unicode)
        WriteUnicodeFile(buffer, model, mode, contentFolder, settings, notCopied, kUnits);
    else
        WriteCp932File(buffer, model, mode, contentFolder, settings, notCopied, kUnits);
    return buffer.data();
}

FileResult SaveProject(const CContentModel &model, const QString &path, SaveMode mode,
                       const QString &contentFolder, const ProgramSettings &settings)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    const bool unicode = extension == u"bjpx";
    if (!unicode && extension != u"bjp") {
        // Nothing would be written: a save that reported success here would lose the work.
        return FileResult::Failure(
            QCoreApplication::translate(
                "OrinEdit",
                "%1 に書き込めません。\nプロジェクトファイルの名前は .bjpx か .bjp で終わります。")
                .arg(QDir::toNativeSeparators(path)));
    }

    QStringList notCopied;
    FileResult result;
    if (unicode) {
        result = ReplaceFileKeepingBackup(path, [&](QIODevice &device) {
            return WriteUnicodeFile(device, model, mode, contentFolder, settings, notCopied);
        });
    } else {
        result = ReplaceFileKeepingBackup(path, [&](QIODevice &device) {
            return WriteCp932File(device, model, mode, contentFolder, settings, notCopied);
        });
    }
    if (result.ok && !notCopied.isEmpty()) {
        result.message = QCoreApplication::translate(
                             "OrinEdit", "コンテンツフォルダにコピーできなかったファイル:\n")
                         + notCopied.join(u'\n');
    }
    return result;
}

} // namespace orin
