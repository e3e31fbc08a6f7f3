// SPDX-License-Identifier: MIT
#include "model/project_reader.h"

#include "model/markup_append.h"
#include "model/project_writer.h"
#include "model/pump_messages.h"
#include "model/string_pool.h"
#include "model/text_codec.h"
#include "model/xml_doc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>

namespace orin {
namespace {

// Element and attribute names are views of literals: looking one up makes no string.
QStringView Name(const char16_t *text)
{
    return QStringView(text);
}

// The number of an attribute; `fallback` when it is missing or empty. Read in place from the
// document text unless the value holds a reference to decode.
int IntAttribute(const CXmlDoc &doc, QStringView name, int fallback = 0)
{
    QStringView raw;
    if (!doc.RawAttribute(name, raw) || raw.isEmpty())
        return fallback;
    if (!HasMarkupReference(raw))
        return ParseLeadingInt(raw);
    const QString value = UnescapeMarkup(raw);
    return value.isEmpty() ? fallback : ParseLeadingInt(value);
}

int IntText(const CXmlDoc &doc)
{
    return ParseLeadingInt(doc.ElementText());
}

QString OrZero(const QString &value)
{
    return value.isEmpty() ? QStringLiteral("0") : value;
}

bool IsMeasuredType(int type)
{
    return type == kImageJpeg || type == kImageColourMapPng || type == kImageGeneralPng
           || type == kImageGif;
}

// Keeps the used size current while image and sound records are appended: the size of the
// files already in the model, recomputed once and then grown record by record, which is what
// summing everything again before each record would give.
class CUsedSizeCounter {
public:
    CUsedSizeCounter(const CContentModel &model, qint64 &usedSize, const LoadServices &services)
        : m_model(model), m_usedSize(usedSize), m_services(services)
    {
    }

    // Called before a record with a counted path is appended.
    void BeforeRecord()
    {
        if (!m_started) {
            m_total = m_services.totalDataSize ? m_services.totalDataSize(m_model) : 0;
            m_started = true;
        }
        m_usedSize = m_total;
    }
    void Appended(const QString &path)
    {
        if (!path.isEmpty() && m_services.fileSize)
            m_total += std::max<qint64>(0, m_services.fileSize(path));
    }
    // The same when the record's file size is known already (-1: cannot be opened). A file that
    // cannot be opened adds nothing.
    void AppendedSize(const QString &path, qint64 bytes)
    {
        if (!path.isEmpty())
            m_total += std::max<qint64>(0, bytes);
    }

private:
    const CContentModel &m_model;
    qint64 &m_usedSize;
    const LoadServices &m_services;
    bool m_started = false;
    qint64 m_total = 0;
};

// "width×height", made with one allocation.
QString SizeText(int width, int height)
{
    QString text;
    text.reserve(24);
    AppendDecimal(text, width);
    text.append(u'×');
    AppendDecimal(text, height);
    return text;
}

using MeasureAndSize = std::function<qint64(const QString &, int, int &, int &)>;

void ReadImages(CXmlDoc &doc, QStringView element, CMyDataArray<CMyPictureInfo> &table,
                const QString &projectFolder, const LoadServices &services,
                const MeasureAndSize &measureAndSize, CUsedSizeCounter &counter)
{
    while (doc.NextElement(element)) {
        auto record = std::make_unique<CMyPictureInfo>();
        record->path = ResolveReference(doc.ElementText(), projectFolder);
        record->id = IntAttribute(doc, Name(u"id"));
        record->item = IntAttribute(doc, Name(u"item"));
        record->type = IntAttribute(doc, Name(u"type"));
        qint64 bytes = 0;
        if (measureAndSize && !record->path.isEmpty()) {
            // One open of the file serves the pixel size and the byte count.
            int width = 0;
            int height = 0;
            bytes = measureAndSize(record->path, record->type, width, height);
            if (IsMeasuredType(record->type)) {
                record->width = width;
                record->height = height;
            }
        } else if (IsMeasuredType(record->type) && services.measure) {
            services.measure(record->path, record->type, record->width, record->height);
        }
        record->sizeText = IsMeasuredType(record->type)
                               ? SizeText(record->width, record->height)
                               : QStringLiteral(" --- ");
        record->label = doc.Attribute(Name(u"label"));
        counter.BeforeRecord();
        const QString path = record->path;
        table.Add(std::move(record));
        if (measureAndSize)
            counter.AppendedSize(path, bytes);
        else
            counter.Appended(path);
        PumpMessages();
    }
}

// Walks the children of the section the document stands on with `read`, then moves on.
template <typename ReadChildren>
void ReadSection(CXmlDoc &doc, QStringView section, ReadChildren read)
{
    if (doc.ElementNameView() != section)
        return;
    if (doc.Descend()) {
        read();
        doc.Ascend();
    }
    doc.NextElement();
}

// Reads each `element` child of the section into a new record appended to `table`: id and
// item for every kind, the rest by `fill`.
template <typename T, typename Fill>
void ReadRecords(CXmlDoc &doc, QStringView element, CMyDataArray<T> &table, Fill fill)
{
    while (doc.NextElement(element)) {
        auto record = std::make_unique<T>();
        record->id = IntAttribute(doc, Name(u"id"));
        record->item = IntAttribute(doc, Name(u"item"));
        fill(*record);
        table.Add(std::move(record));
    }
}

bool IsSettingElement(const QString &name)
{
    static const QStringList names = {
        QStringLiteral("TransChannel"), QStringLiteral("TimerMode"), QStringLiteral("CursorSize"),
        QStringLiteral("ModeScreen"), QStringLiteral("BackImagePage"), QStringLiteral("NumAAC"),
        QStringLiteral("FileIDName"), QStringLiteral("ExPNG"), QStringLiteral("IDConv")};
    return names.contains(name);
}

void ReadSetting(const CXmlDoc &doc, ProgramSettings &s)
{
    const QString name = doc.ElementName();
    if (name == u"TransChannel")
        s.TransChannel = IntText(doc);
    else if (name == u"TimerMode")
        s.TimerMode = IntText(doc);
    else if (name == u"CursorSize")
        s.CursorSize = IntText(doc);
    else if (name == u"ModeScreen")
        s.ModeScreen = IntText(doc);
    else if (name == u"BackImagePage")
        s.BackImagePage = IntText(doc);
    else if (name == u"NumAAC")
        s.NumAAC = IntText(doc);
    else if (name == u"FileIDName")
        s.FileIDName = doc.ElementText();
    else if (name == u"ExPNG") {
        s.ExPNG = IntText(doc);
        s.Vertical = IntAttribute(doc, Name(u"Vertical"));
        s.ConvertAAC = IntAttribute(doc, Name(u"ConvertAAC"));
    } else if (name == u"IDConv") {
        s.IDConv = IntText(doc);
        s.homeID = doc.Attribute(Name(u"homeID"));
    }
}

// The decoded value of an attribute, its storage shared with the equal values read before.
QString StringAttribute(const CXmlDoc &doc, QStringView name, CStringPool &pool)
{
    QStringView raw;
    if (!doc.RawAttribute(name, raw))
        return QString();
    return HasMarkupReference(raw) ? pool.Get(UnescapeMarkup(raw)) : pool.Get(raw);
}

void ReadItem(const CXmlDoc &doc, PageItem &item, CStringPool &pool)
{
    item.id = IntAttribute(doc, Name(u"id"));
    item.idg = IntAttribute(doc, Name(u"idg"));
    item.parent = IntAttribute(doc, Name(u"parent"));
    item.x = static_cast<float>(IntAttribute(doc, Name(u"x")));
    item.y = static_cast<float>(IntAttribute(doc, Name(u"y")));
    item.width = static_cast<float>(IntAttribute(doc, Name(u"width")));
    item.height = static_cast<float>(IntAttribute(doc, Name(u"height")));
    item.focus = OrZero(StringAttribute(doc, Name(u"focus"), pool));
    item.outfocus = OrZero(StringAttribute(doc, Name(u"outfocus"), pool));
    item.ret = StringAttribute(doc, Name(u"ret"), pool);
    item.up = StringAttribute(doc, Name(u"up"), pool);
    item.down = StringAttribute(doc, Name(u"down"), pool);
    item.left = StringAttribute(doc, Name(u"left"), pool);
    item.right = StringAttribute(doc, Name(u"right"), pool);
    item.pic_no = IntAttribute(doc, Name(u"pic_no"));
    item.text_no = IntAttribute(doc, Name(u"text_no"));
}

void ReadItemText(const CXmlDoc &doc, PageItem &item, CStringPool &pool)
{
    item.margin_x = IntAttribute(doc, Name(u"margin_x"));
    item.margin_y = IntAttribute(doc, Name(u"margin_y"));
    item.color = IntAttribute(doc, Name(u"color"));
    item.size = IntAttribute(doc, Name(u"size"));
    item.bcolor = IntAttribute(doc, Name(u"bcolor"), kNoColour);
    item.wordwrap = IntAttribute(doc, Name(u"wordwrap"));
    item.text = pool.Get(doc.ElementText());
}

} // namespace

QString FolderOf(const QString &path)
{
    const QFileInfo info(path);
    QString folder = info.isAbsolute() ? path.left(path.lastIndexOf(u'/') + 1)
                                       : info.absolutePath();
    if (!folder.endsWith(u'/'))
        folder.append(u'/');
    return folder;
}

QString ResolveReference(const QString &reference, const QString &projectFolder)
{
    if (!reference.startsWith(u"./"))
        return reference;
    QString folder = projectFolder;
    if (!folder.endsWith(u'/') && !folder.endsWith(u'\\'))
        folder.append(u'/');
    return folder + reference.mid(2);
}

bool ReadPage(CXmlDoc &doc, CMyProgramInfo &page, const QString &projectFolder,
              CStringPool *sharedPool)
{
    CStringPool ownPool;
    CStringPool &pool = sharedPool ? *sharedPool : ownPool;
    page.id = IntAttribute(doc, Name(u"id"));
    page.comment = doc.Attribute(Name(u"comment"));
    page.defitem = IntAttribute(doc, Name(u"defitem"));
    page.tvitem = IntAttribute(doc, Name(u"tvitem"));
    page.clock = IntAttribute(doc, Name(u"clock"));
    page.return_ = IntAttribute(doc, Name(u"return"));
    page.up = IntAttribute(doc, Name(u"up"));
    page.down = IntAttribute(doc, Name(u"down"));
    page.left = IntAttribute(doc, Name(u"left"));
    page.right = IntAttribute(doc, Name(u"right"));
    page.back = IntAttribute(doc, Name(u"back"));
    page.data = IntAttribute(doc, Name(u"data"));
    page.blue = IntAttribute(doc, Name(u"blue"));
    page.red = IntAttribute(doc, Name(u"red"));
    page.green = IntAttribute(doc, Name(u"green"));
    page.yellow = IntAttribute(doc, Name(u"yellow"));
    page.marquee = IntAttribute(doc, Name(u"marquee"));
    page.marquee_speed = IntAttribute(doc, Name(u"marquee_speed"), 3);
    page.backcol = IntAttribute(doc, Name(u"backcol"), kNoColour);
    page.curcol = IntAttribute(doc, Name(u"curcol"), 3);
    page.cursize = IntAttribute(doc, Name(u"cursize"), 2);
    page.timer = IntAttribute(doc, Name(u"timer"));
    page.timer_item = IntAttribute(doc, Name(u"timer_item"));
    page.timer_ino = IntAttribute(doc, Name(u"timer_ino"));
    page.textid = IntAttribute(doc, Name(u"textid"));
    page.memory = IntAttribute(doc, Name(u"memory"));
    page.cursor = IntAttribute(doc, Name(u"cursor"));
    page.smacro = IntAttribute(doc, Name(u"smacro"));

    if (!doc.Descend())
        return true;
    bool allItems = true;
    if (doc.NextElement(Name(u"JPEG")))
        page.background = ResolveReference(doc.ElementText(), projectFolder);
    page.changed = 0;
    // A page without Items has no items; its closing steps must not leave the page.
    if (doc.NextElement(Name(u"Items"))) {
        page.itemCount = std::clamp(IntAttribute(doc, Name(u"Num")), 0, kItemSlots);
        if (doc.Descend()) {
            size_t slot = 0;
            while (slot < page.items.size() && doc.NextElement(Name(u"Item"))) {
                PageItem &item = page.items[slot];
                ReadItem(doc, item, pool);
                if (doc.Descend()) {
                    if (doc.NextElement(Name(u"ItemText")))
                        ReadItemText(doc, item, pool);
                    doc.Ascend();
                }
                ++slot;
            }
            // A Num smaller than the items read would leave the items beyond it out of every
            // save: the page holds what the file holds.
            page.itemCount = std::max(page.itemCount, static_cast<int>(slot));
            // More items than a page has slots cannot be held: the caller learns of it.
            if (slot == page.items.size() && doc.NextElement(Name(u"Item")))
                allItems = false;
            doc.Ascend();
        }
    }
    doc.Ascend();
    return allItems;
}

namespace {

// Reads the project text that `doc` holds into the model and the settings; returns its
// integrity. A document that holds its text alone gives back the pages' text as they are read.
ProjectIntegrity ReadProjectDoc(CXmlDoc &doc, const QString &projectFolder,
                                ProgramSettings &settings, qint64 &usedSize,
                                CContentModel &model, const LoadServices &services)
{
    const ProjectIntegrity integrity = IntegrityOf(doc);
    if (integrity == ProjectIntegrity::Truncated) {
        // What stands before the cut is read as it stood; when closing the open elements does
        // not make the root whole, the text is read as it is.
        QString text = doc.Text();
        QString closed = ClosedTruncatedText(doc);
        if (!closed.isEmpty()) {
            doc.LoadText(std::move(closed));
            if (IntegrityOf(doc) != ProjectIntegrity::Complete)
                doc.LoadText(std::move(text));
        }
    }
    doc.Rewind();
    if (!doc.NextElement())
        return integrity;
    doc.Descend();
    settings = ProgramSettings();
    bool overfull = false;

    doc.NextElement();
    while (IsSettingElement(doc.ElementName())) {
        ReadSetting(doc, settings);
        if (!doc.NextElement())
            break;
    }

    doc.NextElement(Name(u"Program"));
    if (doc.ElementName() == u"Program") {
        if (doc.Descend()) {
            CStringPool pool; // the pages repeat their values
            while (doc.NextElement(Name(u"BMLJPEG"))) {
                // The pages are most of the file: their text goes as the model takes them in.
                doc.ReleaseEarlierSiblings();
                auto page = std::make_unique<CMyProgramInfo>();
                if (!ReadPage(doc, *page, projectFolder, &pool))
                    overfull = true;
                model.pages.Add(std::move(page));
                PumpMessages();
            }
            doc.Ascend();
        }
        doc.NextElement();
    }

    CUsedSizeCounter counter(model, usedSize, services);
    const MeasureAndSize measureAndSize =
        services.startLoad ? services.startLoad() : services.measureAndSize;
    ReadSection(doc, Name(u"Material"), [&] {
        ReadImages(doc, Name(u"ItemBitmap"), model.materials, projectFolder, services,
                   measureAndSize, counter);
    });
    ReadSection(doc, Name(u"Picture"), [&] {
        ReadImages(doc, Name(u"ItemJPEG"), model.pictures, projectFolder, services,
                   measureAndSize, counter);
    });
    ReadSection(doc, Name(u"Text"), [&] {
        ReadRecords(doc, Name(u"ItemText"), model.texts, [&](CMyTextInfo &r) {
            r.text = doc.ElementText();
            r.label = doc.Attribute(Name(u"label"));
        });
    });
    ReadSection(doc, Name(u"Channel"), [&] {
        ReadRecords(doc, Name(u"ItemChannel"), model.channels, [&](CMyChannelInfo &r) {
            r.data = doc.ElementText();
            r.screen = IntAttribute(doc, Name(u"screen"));
            r.page = IntAttribute(doc, Name(u"page"));
            r.address = doc.Attribute(Name(u"address"));
        });
    });
    ReadSection(doc, Name(u"WebPage"), [&] {
        ReadRecords(doc, Name(u"ItemWebPage"), model.webPages, [&](CMyWebPageInfo &r) {
            r.data = doc.ElementText();
            r.screen = IntAttribute(doc, Name(u"screen"));
            r.page = IntAttribute(doc, Name(u"page"));
            r.address = doc.Attribute(Name(u"address"));
            r.label = doc.Attribute(Name(u"label"));
        });
    });
    ReadSection(doc, Name(u"Macro"), [&] {
        ReadRecords(doc, Name(u"ItemMacro"), model.macros, [&](CMyMacroInfo &r) {
            r.macro = doc.ElementText();
            r.label = doc.Attribute(Name(u"label"));
        });
    });
    ReadSection(doc, Name(u"Sound"), [&] {
        ReadRecords(doc, Name(u"ItemSound"), model.sounds, [&](CMySoundInfo &r) {
            r.path = ResolveReference(doc.ElementText(), projectFolder);
            r.label = doc.Attribute(Name(u"label"));
            r.comment = doc.Attribute(Name(u"comment"));
            counter.BeforeRecord();
            counter.Appended(r.path);
        });
    });
    ReadSection(doc, Name(u"Function"), [&] {
        if (doc.NextElement(Name(u"ItemValue")))
            model.functionValue = doc.ElementText();
        ReadRecords(doc, Name(u"ItemFunction"), model.functions, [&](CMyFunctionInfo &r) {
            r.data = ResolveReference(doc.ElementText(), projectFolder);
            counter.BeforeRecord();
        });
    });
    doc.Ascend();
    return integrity == ProjectIntegrity::Complete && overfull ? ProjectIntegrity::Overfull
                                                               : integrity;
}

} // namespace

ProjectIntegrity LoadProjectText(const QString &text, const QString &projectFolder,
                                 ProgramSettings &settings, qint64 &usedSize,
                                 CContentModel &model, const LoadServices &services)
{
    CXmlDoc doc;
    doc.LoadText(text);
    return ReadProjectDoc(doc, projectFolder, settings, usedSize, model, services);
}

bool LoadProject(const QString &path, bool unicode, ProgramSettings &settings, qint64 &usedSize,
                 CContentModel &model, const LoadServices &services,
                 ProjectIntegrity *integrity)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    CXmlDoc doc;
    // The document alone holds the text, so that what has been read of it can go.
    doc.LoadText(unicode ? ReadUnicodeTextFile(file) : ReadCp932File(file));
    file.close();
    const ProjectIntegrity found =
        ReadProjectDoc(doc, FolderOf(path), settings, usedSize, model, services);
    if (integrity)
        *integrity = found;
    return true;
}

namespace {

// True when `file` lies inside `folder` (both made canonical where they exist).
bool LiesInside(const QString &file, const QString &folder)
{
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    const QString canonicalFile = QFileInfo(file).canonicalFilePath();
    if (canonicalFolder.isEmpty() || canonicalFile.isEmpty())
        return false;
    return canonicalFile.startsWith(canonicalFolder + u'/');
}

} // namespace

bool DeleteProjectFiles(const QString &projectPath)
{
    QFile file(projectPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    file.close();
    // Read the way the project was written, so that a .bjpx temporary project is cleaned too.
    const bool unicode = QFileInfo(projectPath).suffix().toLower() == u"bjpx";
    const QString text = unicode ? DecodeUnicodeTextFile(bytes) : DecodeCp932(bytes);
    const QString projectFolder = FolderOf(projectPath);

    // Only files beside the project are deleted: a reference that leads elsewhere is never
    // followed, whatever the file says.
    auto remove = [&](const QString &reference) {
        const QString path = ResolveReference(reference, projectFolder);
        if (!path.isEmpty() && QFileInfo(path).isFile() && LiesInside(path, projectFolder))
            QFile::remove(path);
        PumpMessages();
    };

    CXmlDoc doc;
    doc.LoadText(text);
    doc.Rewind();
    if (doc.NextElement() && doc.Descend()) {
        auto section = [&](QStringView name, QStringView child, bool page) {
            if (!doc.NextElement(name))
                return;
            if (!doc.Descend())
                return;
            while (doc.NextElement(child)) {
                if (page) {
                    if (doc.Descend()) {
                        if (doc.NextElement(Name(u"JPEG")))
                            remove(doc.ElementText());
                        doc.Ascend();
                    }
                } else {
                    remove(doc.ElementText());
                }
            }
            doc.Ascend();
        };
        section(Name(u"Program"), Name(u"BMLJPEG"), true);
        section(Name(u"Material"), Name(u"ItemBitmap"), false);
        section(Name(u"Picture"), Name(u"ItemJPEG"), false);
        section(Name(u"Sound"), Name(u"ItemSound"), false);
    }

    // The content folder goes when it is empty (rmdir never removes a folder with files).
    QDir().rmdir(ContentFolderOf(projectPath));
    const qsizetype dot = projectPath.lastIndexOf(u'.');
    if (dot > 0)
        QDir().rmdir(projectPath.left(dot));
    return true;
}

} // namespace orin
