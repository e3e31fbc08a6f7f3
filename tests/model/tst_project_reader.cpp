// SPDX-License-Identifier: MIT
// Reading project files: defaults, tolerance, round trips and bad input.

#include "test_registry.h"

#include "model/project_reader.h"
#include "model/project_writer.h"
#include "model/text_codec.h"

#include <QtTest>

using namespace orin;

namespace {

struct Loaded {
    CContentModel model;
    ProgramSettings settings;
    qint64 used = 0;
    ProjectIntegrity integrity = ProjectIntegrity::NoRoot;
};

LoadServices CountingServices()
{
    LoadServices s;
    s.measure = [](const QString &, int type, int &w, int &h) {
        w = 10 + type;
        h = 20 + type;
    };
    s.totalDataSize = [](const CContentModel &m) {
        return qint64(m.pictures.Count() + m.materials.Count() + m.sounds.Count()) * 100;
    };
    s.fileSize = [](const QString &) { return qint64(100); };
    return s;
}

void LoadText(Loaded &l, const QString &text, const QString &folder = QStringLiteral("/p/"))
{
    l.settings.TransChannel = 77; // must be reset by a file with a root
    l.integrity = LoadProjectText(text, folder, l.settings, l.used, l.model, CountingServices());
}

QString Wrap(const QString &inner)
{
    return QStringLiteral("<BMLCAST>") + inner + QStringLiteral("</BMLCAST>");
}

QString Page(const QString &attrs, const QString &inner)
{
    return QStringLiteral("<Program><BMLJPEG ") + attrs + QStringLiteral(">") + inner
           + QStringLiteral("</BMLJPEG></Program>");
}

// A model with every field set, strings holding markup characters, line breaks and
// characters beyond the basic plane.
void FillRichModel(CContentModel &m, const QString &folder)
{
    auto page = std::make_unique<CMyProgramInfo>();
    page->background = folder + QStringLiteral("/bg.jpg");
    page->id = 12;
    page->comment = QStringLiteral("a \"<b>\" & 'c' 😀");
    int n = 1;
    for (int *f : {&page->defitem, &page->tvitem, &page->clock, &page->marquee, &page->marquee_speed,
                   &page->timer, &page->timer_item, &page->timer_ino, &page->textid, &page->curcol,
                   &page->backcol, &page->cursize, &page->return_, &page->back, &page->data,
                   &page->up, &page->down, &page->left, &page->right, &page->blue, &page->red,
                   &page->green, &page->yellow, &page->memory, &page->cursor, &page->smacro})
        *f = n++;
    page->itemCount = 2;
    for (int i = 0; i < 2; ++i) {
        PageItem &it = page->items[i];
        it.id = i + 1;
        it.idg = 3;
        it.parent = -2;
        it.x = 10;
        it.y = -20;
        it.width = 300;
        it.height = 40;
        it.focus = QStringLiteral("T:3:0,xk:5:");
        it.outfocus = QStringLiteral("0");
        it.ret = QStringLiteral("G:2,P:1:0");
        it.up = QStringLiteral("1");
        it.down = QStringLiteral("2");
        it.left = QStringLiteral("'");
        it.right = QStringLiteral("\"");
        it.pic_no = 200;
        it.text_no = 3;
        it.margin_x = 4;
        it.margin_y = 5;
        it.color = 6;
        it.size = 24;
        it.bcolor = 8;
        it.wordwrap = 1;
        it.text = QStringLiteral("line1\r\nline2\n<&>");
    }
    m.pages.Add(std::move(page));
    auto mat = std::make_unique<CMyPictureInfo>();
    mat->id = 200;
    mat->type = kImageColourMapPng;
    mat->path = folder + QStringLiteral("/b.png");
    mat->label = QStringLiteral("ボタン");
    m.materials.Add(std::move(mat));
    auto pic = std::make_unique<CMyPictureInfo>();
    pic->id = 1;
    pic->item = 9;
    pic->type = kImageEmpty;
    pic->path = QStringLiteral("/elsewhere/p.jpg");
    m.pictures.Add(std::move(pic));
    auto text = std::make_unique<CMyTextInfo>();
    text->id = 3;
    text->item = 12;
    text->label = QStringLiteral("l");
    text->text = QStringLiteral("[#1]a[#2]b\r\n");
    m.texts.Add(std::move(text));
    auto ch = std::make_unique<CMyChannelInfo>();
    ch->id = 1; ch->screen = 2; ch->page = 3; ch->address = QStringLiteral("x&y"); ch->data = QStringLiteral("d"); ch->item = 4;
    m.channels.Add(std::move(ch));
    auto web = std::make_unique<CMyWebPageInfo>();
    web->id = 1; web->screen = 2; web->page = 3; web->address = QStringLiteral("http://h/?a=1&b=2"); web->data = QStringLiteral("w"); web->item = 4; web->label = QStringLiteral("L");
    m.webPages.Add(std::move(web));
    auto mac = std::make_unique<CMyMacroInfo>();
    mac->id = 7; mac->macro = QStringLiteral("G:1,A:2"); mac->label = QStringLiteral("m");
    m.macros.Add(std::move(mac));
    auto snd = std::make_unique<CMySoundInfo>();
    snd->id = 1; snd->path = folder + QStringLiteral("/s.wav"); snd->label = QStringLiteral("s"); snd->comment = QStringLiteral("c");
    m.sounds.Add(std::move(snd));
    auto fn = std::make_unique<CMyFunctionInfo>();
    fn->id = 1; fn->item = 2; fn->data = QStringLiteral("fd");
    m.functions.Add(std::move(fn));
    m.functionValue = QStringLiteral("v<>");
}

} // namespace

class ProjectReaderTest : public QObject {
    Q_OBJECT

private slots:
    void writtenFileReadsBackIdentical_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("bjpx") << QStringLiteral("news.bjpx");
        QTest::newRow("bjp") << QStringLiteral("news.bjp");
    }
    void writtenFileReadsBackIdentical()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        const QString folder = ContentFolderOf(path);
        CContentModel model;
        FillRichModel(model, folder);
        ProgramSettings s;
        s.TransChannel = 4; s.TimerMode = 2; s.CursorSize = 3; s.FileIDName = QStringLiteral("f&");
        s.ModeScreen = 1; s.BackImagePage = 2; s.ExPNG = 1; s.Vertical = 1; s.ConvertAAC = 1;
        s.NumAAC = 3; s.IDConv = 4; s.homeID = QStringLiteral("h\"");
        QVERIFY(SaveProject(model, path, SaveMode::Plain, folder, s).ok);
        // The file form is composed straight into its buffer; it is the text form encoded.
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QString composed = ComposeProject(model, SaveMode::Plain, folder, s);
        QCOMPARE(written.readAll(), name.endsWith(u'x') ? EncodeUnicodeTextFile(composed)
                                                        : EncodeCp932(composed));

        Loaded l;
        QVERIFY(LoadProject(path, name.endsWith(u'x'), l.settings, l.used, l.model, CountingServices()));
        const bool unicode = name.endsWith(u'x');
        if (!unicode) // code page 932 has no emoji: the file holds '?'
            model.pages.At(0)->comment.replace(QStringLiteral("😀"), QStringLiteral("?"));
        // The file is the same when written again from what was read.
        QCOMPARE(ComposeProject(l.model, SaveMode::Plain, folder, l.settings),
                 ComposeProject(model, SaveMode::Plain, folder, s));
        const CMyProgramInfo &p = *l.model.pages.At(0);
        QCOMPARE(p.background, folder + QStringLiteral("/bg.jpg"));
        QCOMPARE(p.comment, unicode ? QStringLiteral("a \"<b>\" & 'c' 😀") : QStringLiteral("a \"<b>\" & 'c' ?"));
        QCOMPARE(p.items[1].text, QStringLiteral("line1\r\nline2\n<&>"));
        QCOMPARE(p.items[0].y, -20.0f);
        QCOMPARE(l.settings.homeID, QStringLiteral("h\""));
        QCOMPARE(l.model.materials.At(0)->path, folder + QStringLiteral("/b.png"));
        QCOMPARE(l.model.materials.At(0)->sizeText, QStringLiteral("11×21"));
        QCOMPARE(l.model.pictures.At(0)->sizeText, QStringLiteral(" --- "));
        QCOMPARE(l.model.texts.At(0)->text, QStringLiteral("[#1]a[#2]b\r\n"));
        QCOMPARE(l.model.functionValue, QStringLiteral("v<>"));
    }

    // A large file gives back its pages' text while it is read: every page must still read as
    // it was written, also when the file is cut short, and the same as from the text itself.
    void largeFileReadsLikeItsText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("cut");
        QTest::newRow("bjpx") << QStringLiteral("large.bjpx") << false;
        QTest::newRow("bjp") << QStringLiteral("large.bjp") << false;
        QTest::newRow("bjpx cut short") << QStringLiteral("large.bjpx") << true;
    }
    void largeFileReadsLikeItsText()
    {
        QFETCH(QString, name);
        QFETCH(bool, cut);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        const bool unicode = name.endsWith(u'x');
        // 64 pages of 256 items with values of their own: over 32 MiB of text, which is given
        // back as it is read.
        CContentModel model;
        for (int p = 1; p <= 64; ++p) {
            auto page = std::make_unique<CMyProgramInfo>();
            page->id = p;
            page->comment = QStringLiteral("page %1").arg(p);
            page->background = QStringLiteral("/bg/%1.jpg").arg(p);
            page->itemCount = kItemSlots;
            for (int i = 0; i < kItemSlots; ++i) {
                PageItem &it = page->items[static_cast<size_t>(i)];
                it.id = i + 1;
                it.x = float(p * 1000 + i);
                it.focus = QStringLiteral("T:%1:0").arg(i);
                it.outfocus = QStringLiteral("0");
                it.ret = QStringLiteral("G:%1,P:%2:0").arg(p).arg(i);
                it.text = QStringLiteral("item %1 of page %2 & <text>").arg(i).arg(p)
                          + QString(800, QChar(u'a' + i % 26));
            }
            model.pages.Add(std::move(page));
        }
        auto text = std::make_unique<CMyTextInfo>();
        text->id = 1;
        text->text = QStringLiteral("after the pages");
        model.texts.Add(std::move(text));
        QVERIFY(SaveProject(model, path, SaveMode::Plain, QString(), ProgramSettings()).ok);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.size() * (unicode ? 1 : 2) > (32 << 20));
        if (cut)
            QVERIFY(file.resize(file.size() * 9 / 10 & ~qint64(1)));
        const QByteArray bytes = file.readAll();
        file.close();

        Loaded fromFile;
        ProjectIntegrity integrity = ProjectIntegrity::NoRoot;
        QVERIFY(LoadProject(path, unicode, fromFile.settings, fromFile.used, fromFile.model,
                            CountingServices(), &integrity));
        QCOMPARE(integrity, cut ? ProjectIntegrity::Truncated : ProjectIntegrity::Complete);
        Loaded fromText;
        QCOMPARE(LoadProjectText(unicode ? DecodeUnicodeTextFile(bytes) : DecodeCp932(bytes),
                                 FolderOf(path), fromText.settings, fromText.used,
                                 fromText.model, CountingServices()),
                 integrity);
        const QString read = ComposeProject(fromFile.model, SaveMode::Plain, QString(), fromFile.settings);
        QCOMPARE(read, ComposeProject(fromText.model, SaveMode::Plain, QString(), fromText.settings));
        if (!cut) {
            QCOMPARE(read, ComposeProject(model, SaveMode::Plain, QString(), ProgramSettings()));
        } else {
            QVERIFY(fromFile.model.pages.Count() > 30);
            const CMyProgramInfo &first = *fromFile.model.pages.At(0);
            QCOMPARE(first.items[255].text, QStringLiteral("item 255 of page 1 & <text>")
                                                + QString(800, QChar(u'a' + 255 % 26)));
        }
    }

    void missingFileIsTheOnlyFailure()
    {
        Loaded l;
        l.settings.TransChannel = 9;
        QVERIFY(!LoadProject(QStringLiteral("/no/such/file.bjpx"), true, l.settings, l.used, l.model, CountingServices()));
        QCOMPARE(l.settings.TransChannel, 9);
    }

    void tolerantReading()
    {
        {
            Loaded l;
            LoadText(l, QStringLiteral("<BMLCAST/>"));
            QCOMPARE(l.settings.TransChannel, 1);
            QCOMPARE(l.settings.CursorSize, 2);
            QCOMPARE(l.model.pages.Count(), 0);
        }
        {
            Loaded l;
            LoadText(l, QStringLiteral("no markup at all"));
            QCOMPARE(l.settings.TransChannel, 77); // no root: settings untouched
        }
        {
            Loaded l; // settings in another order, numbers read by their leading digits
            LoadText(l, Wrap(QStringLiteral("<NumAAC>3</NumAAC><TransChannel>12px</TransChannel>"
                                            "<IDConv homeID=\"h\">99999999999</IDConv>")));
            QCOMPARE(l.settings.NumAAC, 3);
            QCOMPARE(l.settings.TransChannel, 12);
            QCOMPARE(l.settings.IDConv, 2147483647);
            QCOMPARE(l.settings.homeID, QStringLiteral("h"));
        }
        {
            Loaded l; // sections must come in their order: Material after Picture is skipped
            LoadText(l, Wrap(QStringLiteral("<Picture><ItemJPEG id=\"1\" type=\"0\">a.jpg</ItemJPEG></Picture>"
                                            "<Material><ItemBitmap id=\"200\">b.png</ItemBitmap></Material>"
                                            "<Text><ItemText id=\"2\">t</ItemText></Text>")));
            QCOMPARE(l.model.pictures.Count(), 1);
            QCOMPARE(l.model.materials.Count(), 0);
            QCOMPARE(l.model.texts.Count(), 0); // Material stopped the later sections
        }
        {
            Loaded l; // a stranger element stops every later section
            LoadText(l, Wrap(QStringLiteral("<Material></Material><Odd/><Text><ItemText id=\"2\">t</ItemText></Text>")));
            QCOMPARE(l.model.texts.Count(), 0);
        }
    }

    void pageDefaultsAndItems()
    {
        Loaded l;
        LoadText(l, Wrap(Page(QStringLiteral("id=\"3\" down =\"4\" backcol=\"\""),
                              QStringLiteral("<JPEG>./news./bg.jpg</JPEG><Items Num=\"2\">"
                                             "<Item id=\"1\" focus=\"\" x=\"7\"><ItemText>a</ItemText></Item>"
                                             "<Item id=\"2\"></Item>"
                                             "<Item id=\"3\"><ItemText bcolor=\"\"/></Item>"
                                             "</Items>"))));
        QCOMPARE(l.model.pages.Count(), 1);
        const CMyProgramInfo &p = *l.model.pages.At(0);
        QCOMPARE(p.down, 4);
        QCOMPARE(p.backcol, 8);
        QCOMPARE(p.curcol, 3);
        QCOMPARE(p.cursize, 2);
        QCOMPARE(p.marquee_speed, 3);
        QCOMPARE(p.background, QStringLiteral("/p/news./bg.jpg"));
        // Every Item element is kept, also beyond a Num that is too small.
        QCOMPARE(p.itemCount, 3);
        QCOMPARE(l.integrity, ProjectIntegrity::Complete);
        QCOMPARE(p.items[0].focus, QStringLiteral("0"));
        QCOMPARE(p.items[0].outfocus, QStringLiteral("0"));
        QCOMPARE(p.items[0].bcolor, 8);
        QCOMPARE(p.items[0].x, 7.0f);
        QCOMPARE(p.items[1].bcolor, 0); // no ItemText: the slot keeps its constructed values
        QCOMPARE(p.items[1].text, QString());
        QCOMPARE(p.items[2].id, 3);
        QCOMPARE(p.items[2].bcolor, 8);
        // A save writes all three, with Num to match.
        const QString saved = ComposeProject(l.model, SaveMode::Plain, QString(), ProgramSettings());
        QVERIFY(saved.contains(QStringLiteral("<Items Num=\"3\">")));
        QCOMPARE(saved.count(QStringLiteral("<Item id=")), 3);
        QVERIFY(saved.contains(QStringLiteral("<Item id=\"3\"")));
    }

    void oversizedPagesKeepTheirFirstSlots()
    {
        QString items;
        for (int i = 1; i <= 300; ++i)
            items += QStringLiteral("<Item id=\"%1\"/>").arg(i);
        Loaded l;
        LoadText(l, Wrap(Page(QStringLiteral("id=\"1\""),
                              QStringLiteral("<Items Num=\"300\">") + items + QStringLiteral("</Items>"))));
        const CMyProgramInfo &p = *l.model.pages.At(0);
        QCOMPARE(p.itemCount, kItemSlots);
        QCOMPARE(p.items[255].id, 256);
        // The items beyond the slots cannot be held: the file reads as damaged, so that it is
        // never saved over without them.
        QCOMPARE(l.integrity, ProjectIntegrity::Overfull);
        QVERIFY(IsDamaged(l.integrity));
        Loaded full;
        items.truncate(items.indexOf(QStringLiteral("<Item id=\"257\"")));
        LoadText(full, Wrap(Page(QStringLiteral("id=\"1\""),
                                 QStringLiteral("<Items Num=\"9\">") + items + QStringLiteral("</Items>"))));
        QCOMPARE(full.integrity, ProjectIntegrity::Complete);
        QCOMPARE(full.model.pages.At(0)->itemCount, kItemSlots);
        Loaded neg;
        LoadText(neg, Wrap(Page(QStringLiteral("id=\"1\""), QStringLiteral("<Items Num=\"-4\"/>"))));
        QCOMPARE(neg.model.pages.At(0)->itemCount, 0);
    }

    // Memory follows the file: an empty page takes no item slots, a page takes one slot per
    // Item element read, and the slots it never received still read as empty slots.
    void pagesHoldOnlyTheSlotsTheyUse()
    {
        QString pages;
        for (int i = 0; i < 2000; ++i)
            pages += QStringLiteral("<BMLJPEG/>");
        pages += QStringLiteral("<BMLJPEG id=\"7\"><JPEG/><Items Num=\"256\">"
                                "<Item id=\"1\"/><Item id=\"2\" ret=\"G:1\"/><Item id=\"3\" ret=\"G:1\"/>"
                                "</Items></BMLJPEG>");
        Loaded l;
        LoadText(l, Wrap(QStringLiteral("<Program>") + pages + QStringLiteral("</Program>")));
        QCOMPARE(l.model.pages.Count(), 2001);
        int constructed = 0;
        for (const auto &page : l.model.pages)
            constructed += page->items.Constructed();
        QCOMPARE(constructed, 3);
        const CMyProgramInfo &p = *l.model.pages.At(2000);
        QCOMPARE(p.itemCount, 256);
        QCOMPARE(p.items[2].ret, QStringLiteral("G:1"));
        // Equal values share one storage; a change to one leaves the other as it was.
        QCOMPARE(p.items[1].ret.constData(), p.items[2].ret.constData());
        QCOMPARE(p.items[255].id, 0);
        QCOMPARE(p.items[255].focus, QString());

        // Written back, the slots the file declared but never filled are empty items, as before.
        const QString text = ComposeProject(l.model, SaveMode::Plain, QString(), ProgramSettings());
        QCOMPARE(text.count(QStringLiteral("<Item id=\"0\" idg=\"0\" parent=\"0\" x=\"0\" y=\"0\" "
                                           "width=\"0\" height=\"0\" focus=\"\" outfocus=\"\"")),
                 253);

        // A copy of a page is independent of it.
        CMyProgramInfo copy = p;
        copy.items[0].id = 99;
        copy.items[1].ret.append(u'0');
        QCOMPARE(p.items[0].id, 1);
        QCOMPARE(p.items[1].ret, QStringLiteral("G:1"));
        QCOMPARE(copy.items[2].ret, QStringLiteral("G:1"));
    }

    void pageWithoutItemsDoesNotEndThePages()
    {
        Loaded l;
        LoadText(l, Wrap(QStringLiteral("<Program><BMLJPEG id=\"1\"><JPEG>a.jpg</JPEG></BMLJPEG>"
                                        "<BMLJPEG id=\"2\"/>"
                                        "<BMLJPEG id=\"3\"><Items Num=\"1\"><Item id=\"5\"/></Items></BMLJPEG>"
                                        "</Program><Material><ItemBitmap id=\"200\" type=\"1\">m.png</ItemBitmap></Material>")));
        QCOMPARE(l.model.pages.Count(), 3);
        QCOMPARE(l.model.pages.At(0)->itemCount, 0);
        QCOMPARE(l.model.pages.At(2)->items[0].id, 5);
        QCOMPARE(l.model.materials.Count(), 1);
    }

    void usedSizeGrowsWhileReading()
    {
        Loaded l;
        LoadText(l, Wrap(QStringLiteral("<Material><ItemBitmap id=\"200\">a</ItemBitmap><ItemBitmap id=\"201\">b</ItemBitmap></Material>"
                                        "<Picture><ItemJPEG id=\"1\">c</ItemJPEG></Picture>")));
        // Set before each record is appended: two records were in the model before the last.
        QCOMPARE(l.used, qint64(200));
    }

    void resolveReference_data()
    {
        QTest::addColumn<QString>("reference");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("relative") << QStringLiteral("./news./bg.jpg") << QStringLiteral("/w/") << QStringLiteral("/w/news./bg.jpg");
        QTest::newRow("folder without slash") << QStringLiteral("./n/a.png") << QStringLiteral("/w") << QStringLiteral("/w/n/a.png");
        QTest::newRow("absolute") << QStringLiteral("/x/y.jpg") << QStringLiteral("/w/") << QStringLiteral("/x/y.jpg");
        QTest::newRow("windows") << QStringLiteral("C:\\a\\b.jpg") << QStringLiteral("/w/") << QStringLiteral("C:\\a\\b.jpg");
        QTest::newRow("empty") << QString() << QStringLiteral("/w/") << QString();
    }
    void resolveReference()
    {
        QFETCH(QString, reference);
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        QCOMPARE(ResolveReference(reference, folder), expected);
    }

    void mutatedFilesNeverBreakTheReader()
    {
        // A written project, cut and scrambled in many ways with a fixed seed: every variant
        // must read without crashing and keep the page slots in bounds.
        CContentModel model;
        FillRichModel(model, QStringLiteral("/w/news."));
        const QString original = ComposeProject(model, SaveMode::Plain, QStringLiteral("/w/news."), ProgramSettings());
        QRandomGenerator random(20261210);
        static const char16_t kNoise[] = u"<>/=\"'&;![]-?x 0\n";
        for (int round = 0; round < 1500; ++round) {
            QString text = original;
            const int edits = 1 + int(random.bounded(8));
            for (int e = 0; e < edits; ++e) {
                const int at = int(random.bounded(int(text.size())));
                switch (random.bounded(3)) {
                case 0: text[at] = QChar(kNoise[random.bounded(int(std::size(kNoise)) - 1)]); break;
                case 1: text.remove(at, int(random.bounded(40))); break;
                default: text.insert(at, text.mid(int(random.bounded(int(text.size()))), 30)); break;
                }
            }
            if (round % 7 == 0)
                text.truncate(int(random.bounded(int(text.size()))));
            Loaded l;
            LoadText(l, text);
            for (const auto &page : l.model.pages)
                QVERIFY(page->itemCount >= 0 && page->itemCount <= kItemSlots);
        }
    }

    void badInputNeverBreaksTheReader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("unicode");
        const QString good = Wrap(Page(QStringLiteral("id=\"1\""), QStringLiteral("<Items Num=\"1\"><Item id=\"1\"/></Items>")));
        const QByteArray goodBytes = EncodeUnicodeTextFile(good);
        QTest::newRow("truncated") << goodBytes.left(goodBytes.size() / 2) << true;
        QTest::newRow("odd length") << goodBytes + QByteArray("\x41") << true;
        QTest::newRow("utf8 with mark") << QByteArray("\xEF\xBB\xBF") + good.toUtf8() << true;
        QTest::newRow("lone lt") << EncodeUnicodeTextFile(QStringLiteral("<")) << true;
        QTest::newRow("open comment") << EncodeUnicodeTextFile(QStringLiteral("<BMLCAST><!-- x")) << true;
        QTest::newRow("open cdata") << EncodeUnicodeTextFile(QStringLiteral("<BMLCAST><![CDATA[ x")) << true;
        QTest::newRow("huge attribute") << EncodeUnicodeTextFile(QStringLiteral("<BMLCAST><Program><BMLJPEG comment=\"") + QString(5000000, u'x') + QStringLiteral("\"/></Program></BMLCAST>")) << true;
        QTest::newRow("deep") << EncodeUnicodeTextFile(QStringLiteral("<a>").repeated(100000)) << true;
        QTest::newRow("entity past unicode") << EncodeUnicodeTextFile(Wrap(QStringLiteral("<FileIDName>&#x110000;&#99999999999999;</FileIDName>"))) << true;
        QTest::newRow("cp932 invalid") << QByteArray("<BMLCAST><FileIDName>\x81\xFF\x82</FileIDName></BMLCAST>") << false;
        QTest::newRow("empty") << QByteArray() << true;
    }
    void badInputNeverBreaksTheReader()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, unicode);
        QTemporaryDir dir;
        const QString path = dir.filePath(unicode ? QStringLiteral("x.bjpx") : QStringLiteral("x.bjp"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        Loaded l;
        QVERIFY(LoadProject(path, unicode, l.settings, l.used, l.model, CountingServices()));
        QVERIFY(l.model.pages.Count() <= 1);
        const QByteArray tag(QTest::currentDataTag());
        if (tag == "utf8 with mark" || tag == "odd length")
            QCOMPARE(l.model.pages.Count(), 1);
        if (tag == "cp932 invalid")
            QVERIFY(l.settings.FileIDName.contains(QChar(0xFFFD)));
    }
};

ORIN_TEST_CLASS(ProjectReaderTest)
#include "tst_project_reader.moc"
