// SPDX-License-Identifier: MIT
// The export for the web player, on real files: what the folder holds, content.js, the copies
// of pictures and sounds, hostile content, and that a refused or failed export writes nothing.

#include "full_disk.h"
#include "image_fixtures.h"
#include "test_files.h"
#include "test_registry.h"

#include "images/display_copy.h"
#include "images/png_palette.h"
#include "webexport/web_content.h"
#include "webexport/web_export.h"

#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

// Every entry under `folder` (hidden ones too), relative, sorted.
QStringList Listing(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(folder).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

// The object content.js assigns; an empty object when the script is not of the expected form.
QJsonObject ContentOf(const QString &outDir)
{
    const QByteArray script = ReadBytes(outDir + QStringLiteral("/content.js"));
    const QByteArray head = "window.ORIN_CONTENT = ";
    if (!script.startsWith(head) || !script.endsWith(";\n"))
        return {};
    return QJsonDocument::fromJson(script.mid(head.size(), script.size() - head.size() - 2)).object();
}

QByteArray WavFile()
{
    return QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16) + QByteArray(28, '\1');
}

// A small content set on files in `dir`: a page with a background, a JPEG picture, a colour-map
// PNG material, a material whose file is missing, a sound and a "sound" that is a text file.
struct Fixture {
    CContentModel model;
    ProgramSettings settings;
    CColourMap map;

    explicit Fixture(const QTemporaryDir &dir)
    {
        settings.ExPNG = 1;
        WriteJpeg(dir.filePath(QStringLiteral("back.jpg")), 320, 180);
        WriteJpeg(dir.filePath(QStringLiteral("photo.jpg")), 40, 30);
        WriteBytes(dir.filePath(QStringLiteral("cmap.png")), ColourMapPng(8, 4));
        WriteBytes(dir.filePath(QStringLiteral("chime.wav")), WavFile());
        WriteBytes(dir.filePath(QStringLiteral("secret.txt")), "not a sound");

        auto page = std::make_unique<CMyProgramInfo>();
        page->id = 1;
        page->defitem = 1;
        page->curcol = 3;
        page->backcol = kNoColour;
        page->background = dir.filePath(QStringLiteral("back.jpg"));
        page->itemCount = 2;
        PageItem &first = page->items[0];
        first.id = 1;
        first.x = 10.5F;
        first.width = 100;
        first.height = 40;
        first.pic_no = 1;
        first.ret = QStringLiteral("G:2");
        first.text = QStringLiteral("</script><img src=x onerror=alert(1)>\"'\\\n\u2028");
        PageItem &second = page->items[1];
        second.id = 2;
        second.pic_no = 200;
        second.focus = QStringLiteral("$slider:p1/200:i1:w500");
        model.pages.Add(std::move(page));

        auto picture = std::make_unique<CMyPictureInfo>();
        picture->id = 1;
        picture->type = kImageJpeg;
        picture->path = dir.filePath(QStringLiteral("photo.jpg"));
        model.pictures.Add(std::move(picture));
        auto material = std::make_unique<CMyPictureInfo>();
        material->id = 200;
        material->type = kImageColourMapPng;
        material->path = dir.filePath(QStringLiteral("cmap.png"));
        model.materials.Add(std::move(material));
        auto missing = std::make_unique<CMyPictureInfo>();
        missing->id = 201;
        missing->type = kImageGeneralPng;
        missing->path = dir.filePath(QStringLiteral("gone.png"));
        model.materials.Add(std::move(missing));

        auto sound = std::make_unique<CMySoundInfo>();
        sound->id = 1;
        sound->path = dir.filePath(QStringLiteral("chime.wav"));
        model.sounds.Add(std::move(sound));
        auto notSound = std::make_unique<CMySoundInfo>();
        notSound->id = 2;
        notSound->path = dir.filePath(QStringLiteral("secret.txt"));
        model.sounds.Add(std::move(notSound));

        auto macro = std::make_unique<CMyMacroInfo>();
        macro->id = 3;
        macro->macro = QStringLiteral("[#1]G:2[#2]<b onclick=x>");
        model.macros.Add(std::move(macro));
        auto deleted = std::make_unique<CMyTextInfo>();
        deleted->id = kDeletedId;
        deleted->text = QStringLiteral("kept");
        model.texts.Add(std::move(deleted));
        model.functionValue = QStringLiteral("f");
    }

    WebExportResult Export(const QString &outDir) const
    {
        QImage screen(8, 8, QImage::Format_RGB32);
        screen.fill(Qt::red);
        return ExportForWeb({model, settings, map, {{QStringLiteral("video"), screen}}}, outDir);
    }
};

} // namespace

class WebExportTest : public QObject {
    Q_OBJECT

private slots:
    void writesThePlayerAndEveryFile()
    {
        QTemporaryDir dir;
        const Fixture f(dir);
        const QString out = dir.filePath(QStringLiteral("player"));
        const WebExportResult result = f.Export(out);
        QVERIFY2(result.ok, qPrintable(result.error));

        // The player files as the program holds them.
        const QStringList player = PlayerFiles();
        for (const char *name : {"index.html", "player.js", "player.css"})
            QVERIFY(player.contains(QLatin1String(name)));
        for (const QString &name : player) {
            QFile embedded(QStringLiteral(":/web/") + name);
            QVERIFY(embedded.open(QIODevice::ReadOnly));
            QCOMPARE(ReadBytes(out + u'/' + name), embedded.readAll());
        }
        QVERIFY(!player.contains(QStringLiteral("CONTRACT.md")));
        for (const QString &name : player)
            QVERIFY2(!name.startsWith(QStringLiteral("test/")), qPrintable(name));

        const QJsonObject content = ContentOf(out);
        QCOMPARE(content.value(QStringLiteral("format")).toInt(), 1);
        QCOMPARE(content.value(QStringLiteral("settings")).toObject().value(QStringLiteral("ExPNG")).toInt(), 1);
        QCOMPARE(content.value(QStringLiteral("functionValue")).toString(), QStringLiteral("f"));

        const QJsonObject page = content.value(QStringLiteral("pages")).toArray().at(0).toObject();
        QCOMPARE(page.value(QStringLiteral("id")).toInt(), 1);
        QCOMPARE(page.value(QStringLiteral("curcol")).toInt(), 3);
        QCOMPARE(page.value(QStringLiteral("itemCount")).toInt(), 2);
        QVERIFY(page.contains(QStringLiteral("return_")));
        QCOMPARE(page.value(QStringLiteral("backgroundMissing")).toBool(), false);
        QCOMPARE(ReadBytes(out + u'/' + page.value(QStringLiteral("background")).toString()),
                 ReadBytes(dir.filePath(QStringLiteral("back.jpg"))));
        const QJsonArray items = page.value(QStringLiteral("items")).toArray();
        QCOMPARE(items.size(), 2);
        const QJsonObject first = items.at(0).toObject();
        QCOMPARE(first.value(QStringLiteral("x")).toDouble(), 10.5);
        QCOMPARE(first.value(QStringLiteral("ret")).toString(), QStringLiteral("G:2"));
        QCOMPARE(first.value(QStringLiteral("text")).toString(), f.model.pages.At(0)->items[0].text);
        QCOMPARE(first.keys().size(), 23);

        // The picture byte for byte, the colour-map PNG with the palette the editor inserts,
        // the missing material as the placeholder picture the editor draws.
        const QJsonObject picture = content.value(QStringLiteral("pictures")).toArray().at(0).toObject();
        QCOMPARE(ReadBytes(out + u'/' + picture.value(QStringLiteral("file")).toString()),
                 ReadBytes(dir.filePath(QStringLiteral("photo.jpg"))));
        const QJsonArray materials = content.value(QStringLiteral("materials")).toArray();
        const QString withPalette = dir.filePath(QStringLiteral("expected.png"));
        QVERIFY(InsertPalette(dir.filePath(QStringLiteral("cmap.png")), withPalette, f.map));
        QCOMPARE(ReadBytes(out + u'/' + materials.at(0).toObject().value(QStringLiteral("file")).toString()),
                 ReadBytes(withPalette));
        const QJsonObject gone = materials.at(1).toObject();
        QCOMPARE(gone.value(QStringLiteral("missing")).toBool(), true);
        QCOMPARE(gone.value(QStringLiteral("type")).toInt(), int(kImageGeneralPng));
        QCOMPARE(QImage(out + u'/' + gone.value(QStringLiteral("file")).toString())
                     .convertToFormat(QImage::Format_ARGB32),
                 PlaceholderPicture().convertToFormat(QImage::Format_ARGB32));

        // A sound is copied; a text file named as one is not published.
        const QJsonArray sounds = content.value(QStringLiteral("sounds")).toArray();
        QCOMPARE(ReadBytes(out + u'/' + sounds.at(0).toObject().value(QStringLiteral("file")).toString()),
                 WavFile());
        QCOMPARE(sounds.at(1).toObject().value(QStringLiteral("file")).toString(), QString());
        QCOMPARE(sounds.at(1).toObject().value(QStringLiteral("missing")).toBool(), true);
        QCOMPARE(result.warnings.size(), 2);
        QVERIFY(result.warnings.at(0).contains(QStringLiteral("gone.png")));
        QVERIFY(result.warnings.at(1).contains(QStringLiteral("secret.txt")));

        // Deleted records stay; strings are data, kept exactly.
        QCOMPARE(content.value(QStringLiteral("texts")).toArray().at(0).toObject().value(QStringLiteral("id")).toInt(), -1);
        QCOMPARE(content.value(QStringLiteral("macros")).toArray().at(0).toObject().value(QStringLiteral("macro")).toString(),
                 QStringLiteral("[#1]G:2[#2]<b onclick=x>"));
        QCOMPARE(content.value(QStringLiteral("screens")).toObject().value(QStringLiteral("video")).toString(),
                 QStringLiteral("screens/video.png"));
        QCOMPARE(QImage(out + QStringLiteral("/screens/video.png")).pixelColor(0, 0), QColor(Qt::red));
        const QJsonArray colours = content.value(QStringLiteral("colours")).toArray();
        QCOMPARE(colours.at(1).toString(), QStringLiteral("#ff0000"));
        QCOMPARE(colours.at(kNoColour).toString(), QStringLiteral("rgba(0,0,0,0)"));

        // Every file the export names lies in the folder under a name of its own making.
        const QStringList written = Listing(out);
        const QRegularExpression safe(QStringLiteral("^[a-z]+(/[A-Za-z0-9]+)?(\\.[a-z0-9]+)?$"));
        for (const QString &entry : written)
            QVERIFY2(safe.match(entry).hasMatch(), qPrintable(entry));
        // Nothing else is left in the parent folder: the staging folder went into `out`.
        QVERIFY(!Listing(dir.path()).join(u'\n').contains(QStringLiteral(".player-")));
    }

    void refusesAFolderInUse_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder with a file") << "file inside";
        QTest::newRow("folder with a hidden file") << "hidden inside";
        QTest::newRow("a plain file") << "plain file";
        QTest::newRow("a link to an empty folder") << "link";
        QTest::newRow("parent missing") << "no parent";
    }
    void refusesAFolderInUse()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const Fixture f(dir);
        QString out = dir.filePath(QStringLiteral("out"));
        if (kind == u"file inside") {
            WriteBytes(out + QStringLiteral("/keep.txt"), "mine");
        } else if (kind == u"hidden inside") {
            WriteBytes(out + QStringLiteral("/.keep"), "mine");
        } else if (kind == u"plain file") {
            WriteBytes(out, "mine");
        } else if (kind == u"link") {
            QDir().mkpath(dir.filePath(QStringLiteral("empty")));
            QVERIFY(QFile::link(dir.filePath(QStringLiteral("empty")), out));
        } else {
            out = dir.filePath(QStringLiteral("nowhere/out"));
        }
        const QStringList before = Listing(dir.path());
        const WebExportResult result = f.Export(out);
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
        QCOMPARE(Listing(dir.path()), before);
    }

    void takesAnEmptyFolder()
    {
        QTemporaryDir dir;
        const Fixture f(dir);
        const QString out = dir.filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(out));
        QVERIFY(f.Export(out).ok);
        QVERIFY(QFileInfo::exists(out + QStringLiteral("/index.html")));
        QVERIFY(QFileInfo::exists(out + QStringLiteral("/content.js")));
    }

    void aFailedExportLeavesNothingBehind()
    {
        QTemporaryDir dir;
        const Fixture f(dir);
        const QString out = dir.filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(out));
        const QStringList before = Listing(dir.path());
        WebExportResult result;
        {
            CFullDisk disk(2000); // the player script alone is larger
            if (!disk.IsActive())
                QSKIP("the file size limit cannot be set");
            result = f.Export(out);
        }
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(QStringLiteral("nothing written")), qPrintable(result.error));
        QCOMPARE(Listing(dir.path()), before);
    }

    void devicesAndFoldersAreNotRead()
    {
        QTemporaryDir dir;
        Fixture f(dir);
        f.model.pictures.At(0)->path = QStringLiteral("/dev/zero");
        f.model.materials.At(0)->path = dir.path();
        f.model.sounds.At(0)->path = QStringLiteral("/dev/urandom");
        f.model.pages.At(0)->background = QStringLiteral("/proc/self/environ");
        const QString out = dir.filePath(QStringLiteral("out"));
        const WebExportResult result = f.Export(out);
        QVERIFY2(result.ok, qPrintable(result.error));
        const QJsonObject content = ContentOf(out);
        QCOMPARE(content.value(QStringLiteral("pictures")).toArray().at(0).toObject()
                     .value(QStringLiteral("missing")).toBool(), true);
        QCOMPARE(content.value(QStringLiteral("materials")).toArray().at(0).toObject()
                     .value(QStringLiteral("missing")).toBool(), true);
        QCOMPARE(content.value(QStringLiteral("sounds")).toArray().at(0).toObject()
                     .value(QStringLiteral("missing")).toBool(), true);
        QCOMPARE(content.value(QStringLiteral("pages")).toArray().at(0).toObject()
                     .value(QStringLiteral("backgroundMissing")).toBool(), true);
        qint64 total = 0;
        for (const QString &entry : Listing(out))
            total += QFileInfo(out + u'/' + entry).size();
        QVERIFY(total < 2 * 1024 * 1024);
    }

    void aPortraitScreenGetsItsBackgroundUpright()
    {
        QTemporaryDir dir;
        Fixture f(dir);
        f.settings.Vertical = 1;
        const QString out = dir.filePath(QStringLiteral("out"));
        QVERIFY(f.Export(out).ok);
        const QString file = ContentOf(out).value(QStringLiteral("pages")).toArray().at(0)
                                 .toObject().value(QStringLiteral("background")).toString();
        QCOMPARE(QImage(out + u'/' + file).size(), QSize(180, 320));
    }
};

ORIN_TEST_CLASS(WebExportTest)
#include "tst_webexport.moc"
