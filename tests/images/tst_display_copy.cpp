// SPDX-License-Identifier: MIT
// Display copies: made in the work folder, decoded, shown through the colour map when they are
// colour-map PNGs, replaced by the placeholder when they do not decode, and deleted with their
// owner; a store of work copies copies each unchanged source once.

#include "test_files.h"
#include "test_paths.h"
#include "test_registry.h"

#include "images/display_copy.h"
#include "images/image_import.h"
#include "images/png_crc.h"

#include <QtEndian>

#include <sys/stat.h>
#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

// A 2 x 1 colour-map PNG showing indexes 1 and 8.
QByteArray TwoPixelColourMapPng()
{
    QByteArray ihdr(13, '\0');
    qToBigEndian<quint32>(2, ihdr.data());
    qToBigEndian<quint32>(1, ihdr.data() + 4);
    ihdr[8] = 8;
    ihdr[9] = 3;
    const QByteArray raw("\0\1\x08", 3);
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", ihdr)
           + PngChunk("IDAT", qCompress(raw).mid(4)) + PngChunk("IEND", QByteArray());
}

CMyPictureInfo Record(const QString &path, int type)
{
    CMyPictureInfo record;
    record.path = path;
    record.type = type;
    return record;
}

QStringList FilesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files);
}

} // namespace

class DisplayCopyTest : public QObject {
    Q_OBJECT

private slots:
    void colourMapPngShownThroughTheMap()
    {
        QTemporaryDir dir;
        const QString work = dir.filePath(QStringLiteral("temp/0A1B/"));
        const QString source = dir.filePath(QStringLiteral("button.png"));
        QVERIFY(WriteBytes(source, TwoPixelColourMapPng()));
        const CColourMap map;
        {
            const auto copy = MakeDisplayCopy(Record(source, kImageColourMapPng), map, work);
            QVERIFY(copy);
            QVERIFY(!copy->IsPlaceholder());
            QVERIFY(copy->CopyPath().startsWith(work));
            QVERIFY(QFileInfo(copy->CopyPath()).fileName().startsWith(u"png"));
            QVERIFY(copy->CopyPath().endsWith(u".png"));
            QCOMPARE(FilesIn(work).size(), 1);
            QCOMPARE(copy->Image().pixel(0, 0), qRgba(255, 0, 0, 255));
            QCOMPARE(copy->Image().pixel(1, 0), qRgba(5, 5, 5, 0));
            QCOMPARE(ReadBytes(source), TwoPixelColourMapPng()); // the operator's file stays
        }
        QVERIFY(FilesIn(work).isEmpty());
    }

    void sampleButtonIsAColourMapPng()
    {
        const QString button = SourceDir() + QStringLiteral("/examples/sample./button.png");
        QCOMPARE(ClassifyImageFile(button), int(kImageColourMapPng));
        QTemporaryDir dir;
        const auto copy = MakeDisplayCopy(Record(button, kImageColourMapPng), CColourMap(),
                                          dir.path());
        QVERIFY(copy && !copy->IsPlaceholder());
        QCOMPARE(copy->Image().size(), QSize(240, 56));
        QCOMPARE(copy->Image().pixel(120, 1), qRgba(255, 255, 255, 255)); // index 7, the frame
        QCOMPARE(copy->Image().pixel(120, 10), qRgba(0, 0, 170, 255));   // index 12
    }

    void copiesByKind_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("jpeg") << QStringLiteral("p.JPG") << QByteArray("JPEG") << QStringLiteral("jpg");
        QTest::newRow("general png") << QStringLiteral("p.png") << QByteArray("PNG") << QStringLiteral("png");
        QTest::newRow("gif name") << QStringLiteral("p.gif") << QByteArray("PNG") << QStringLiteral("gif");
        QTest::newRow("other ending") << QStringLiteral("p.jpeg") << QByteArray("JPEG") << QStringLiteral("jpg");
    }
    void copiesByKind()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        QFETCH(QString, prefix);
        QTemporaryDir dir;
        const QString work = dir.filePath(QStringLiteral("work"));
        const QString source = dir.filePath(name);
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(source, format.constData()));
        const auto copy = MakeDisplayCopy(Record(source, kImageJpeg), CColourMap(), work);
        QVERIFY(copy && !copy->IsPlaceholder());
        QCOMPARE(copy->Image().size(), QSize(30, 20));
        QVERIFY(QFileInfo(copy->CopyPath()).fileName().startsWith(prefix));
        QVERIFY(copy->CopyPath().endsWith(u'.' + prefix));
        QCOMPARE(ReadBytes(copy->CopyPath()), ReadBytes(source));
    }

    void unreadableFilesShowThePlaceholder()
    {
        QTemporaryDir dir;
        const QString work = dir.filePath(QStringLiteral("work"));
        const QString broken = dir.filePath(QStringLiteral("broken.jpg"));
        QVERIFY(WriteBytes(broken, "no picture"));
        QStringList sources{broken, dir.filePath(QStringLiteral("missing.png"))};
        const QDir crashers(TestDataDir() + QStringLiteral("/png/crashers"));
        for (const QString &f : crashers.entryList({QStringLiteral("*.png")}))
            sources << crashers.filePath(f);
        for (const QString &source : sources) {
            const auto copy = MakeDisplayCopy(Record(source, kImageColourMapPng), CColourMap(), work);
            QVERIFY(copy);
            if (source == broken || !QFileInfo::exists(source)) {
                QVERIFY(copy->IsPlaceholder());
                QCOMPARE(copy->Image().size(), QSize(kPlaceholderWidth, kPlaceholderHeight));
            }
        }
        QVERIFY(FilesIn(work).isEmpty());
        QVERIFY(!MakeDisplayCopy(Record(QString(), kImageEmpty), CColourMap(), work));
        // The placeholder is not a plain fill: it carries its message.
        const QImage placeholder = PlaceholderPicture();
        QCOMPARE(placeholder.size(), QSize(200, 150));
        QVERIFY(placeholder.pixel(100, 75) != placeholder.pixel(100, 10));
    }

    // A background that cannot be read stands in at the page's size, not as the small
    // placeholder that the canvas would stretch past the page.
    void unreadableBackgroundsTakeThePageSize_data()
    {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QSize>("size");
        QTest::newRow("missing") << false << false << QSize(960, 540);
        QTest::newRow("broken") << false << true << QSize(960, 540);
        QTest::newRow("missing, vertical") << true << false << QSize(540, 960);
    }
    void unreadableBackgroundsTakeThePageSize()
    {
        QFETCH(bool, vertical);
        QFETCH(bool, exists);
        QFETCH(QSize, size);
        QTemporaryDir dir;
        const QString work = dir.filePath(QStringLiteral("work"));
        const QString source = dir.filePath(QStringLiteral("back.jpg"));
        if (exists)
            QVERIFY(WriteBytes(source, "no picture"));
        const auto copy = MakeBackgroundCopy(source, vertical, work);
        QVERIFY(copy && copy->IsPlaceholder());
        const QImage &image = copy->Image();
        QCOMPARE(image.size(), size);
        // The frame, the grey inside and the white band with the message in the middle.
        QCOMPARE(QColor(image.pixel(size.width() / 2, 8)), QColor(224, 224, 224));
        QCOMPARE(QColor(image.pixel(40, size.height() / 2)), QColor(Qt::white));
        QVERIFY(image.pixel(2, size.height() / 4) != image.pixel(8, size.height() / 4));
        QCOMPARE(image, PlaceholderPicture(size));
    }

    // Showing the same files again reuses their copies; a source that changed, or a colour map
    // that changed, is copied again; the copies go with the store and their last holder.
    void storeCopiesEachUnchangedSourceOnce()
    {
        QTemporaryDir dir;
        const QString work = dir.filePath(QStringLiteral("work"));
        const QString photo = dir.filePath(QStringLiteral("photo.jpg"));
        const QString button = dir.filePath(QStringLiteral("button.png"));
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(photo, "JPEG"));
        QVERIFY(WriteBytes(button, TwoPixelColourMapPng()));
        {
            CWorkCopies copies(work);
            CColourMap map;
            const auto first = MakeDisplayCopy(Record(photo, kImageJpeg), map, copies);
            const auto again = MakeDisplayCopy(Record(photo, kImageJpeg), map, copies);
            const auto background = MakeBackgroundCopy(photo, false, copies);
            QCOMPARE(again->CopyPath(), first->CopyPath());
            QCOMPARE(background->CopyPath(), first->CopyPath()); // both "jpg" copies
            QCOMPARE(ReadBytes(first->CopyPath()), ReadBytes(photo));
            QString buttonCopy;
            {
                const auto shown = MakeDisplayCopy(Record(button, kImageColourMapPng), map, copies);
                QCOMPARE(shown->Image().pixel(0, 0), qRgba(255, 0, 0, 255));
                buttonCopy = shown->CopyPath();
            }
            // Nothing shows it now; the store keeps it for the next showing.
            QVERIFY(QFileInfo::exists(buttonCopy));
            QCOMPARE(MakeDisplayCopy(Record(button, kImageColourMapPng), map, copies)->CopyPath(),
                     buttonCopy);
            QCOMPARE(copies.CopiesMade(), 2);

            // Another colour map inserts other colours: a copy of its own.
            CColourMap other;
            const QString clt = dir.filePath(QStringLiteral("m.clt"));
            QVERIFY(WriteBytes(clt, QByteArray("\xa0", 1))); // RGB, 8 bits; entries read as 255
            QVERIFY(other.LoadColourMap(clt));
            QVERIFY(other.ColourOf(1) != map.ColourOf(1));
            const auto recoloured = MakeDisplayCopy(Record(button, kImageColourMapPng), other, copies);
            QVERIFY(recoloured->CopyPath() != buttonCopy);
            QCOMPARE(recoloured->Image().pixel(0, 0), qRgba(255, 255, 255, 255));
            QCOMPARE(copies.CopiesMade(), 3);

            // The operator's file changes: the next showing copies it again.
            const int made = copies.CopiesMade();
            QImage changed(40, 10, QImage::Format_RGB32);
            changed.fill(Qt::red);
            QVERIFY(changed.save(photo, "JPEG"));
            const auto fresh = MakeDisplayCopy(Record(photo, kImageJpeg), map, copies);
            QCOMPARE(copies.CopiesMade(), made + 1);
            QCOMPARE(fresh->Image().size(), QSize(40, 10));
            QCOMPARE(first->Image().size(), QSize(30, 20)); // what is shown stays as shown
            QVERIFY(fresh->CopyPath() != first->CopyPath());
            QVERIFY(QFileInfo::exists(first->CopyPath())); // still held
            // A copy removed from the work folder behind the store's back is made again.
            QVERIFY(QFile::remove(fresh->CopyPath()));
            QVERIFY(!MakeDisplayCopy(Record(photo, kImageJpeg), map, copies)->IsPlaceholder());
        }
        QVERIFY(FilesIn(work).isEmpty());
    }

    // Copies that nothing shows are let go, least recently used first, beyond the store's
    // limit; what is shown stays.
    void storeLetsGoOfUnshownCopiesBeyondItsLimit()
    {
        QTemporaryDir dir;
        const QString work = dir.filePath(QStringLiteral("work"));
        QStringList sources;
        for (int i = 0; i < 4; ++i) {
            sources << dir.filePath(QStringLiteral("f%1.jpg").arg(i));
            QVERIFY(WriteBytes(sources.last(), QByteArray(1000, char('a' + i))));
        }
        CWorkCopies copies(work, 1500);
        auto copy = [&](int i) {
            return copies.Plain(sources[i], QStringLiteral("jpg"), QStringLiteral(".jpg"));
        };
        const auto held = copy(0);
        const QString second = copy(1)->Path();
        const QString third = copy(2)->Path();
        QVERIFY(QFileInfo::exists(second)); // 1000 bytes that nothing shows: kept
        QCOMPARE(copy(1)->Path(), second);  // used again: more recent than the third
        copy(3);                            // 2000 bytes unshown: the least recent goes
        QVERIFY(!QFileInfo::exists(third));
        QVERIFY(QFileInfo::exists(second));
        QVERIFY(QFileInfo::exists(held->Path()));
        QCOMPARE(FilesIn(work).size(), 3);
        QCOMPARE(copies.CopiesMade(), 4);
    }

    // Only the bytes of a regular file are copied: a device or a pipe cannot fill the disk.
    void workFilesCopyRegularFilesOnly()
    {
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("copy.jpg"));
        const QString fifo = dir.filePath(QStringLiteral("pipe.jpg"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (const QString &source : {QStringLiteral("/dev/zero"), fifo, dir.path()}) {
            QVERIFY(!CopyWorkFile(source, copy));
            QVERIFY(!QFileInfo::exists(copy));
        }
        QByteArray bytes(300000, 'x');
        bytes[123456] = 'y';
        QVERIFY(WriteBytes(dir.filePath(QStringLiteral("big.jpg")), bytes));
        QVERIFY(CopyWorkFile(dir.filePath(QStringLiteral("big.jpg")), copy));
        QCOMPARE(ReadBytes(copy), bytes);
    }

    void backgrounds()
    {
        QTemporaryDir dir;
        const QString work = dir.filePath(QStringLiteral("work"));
        const auto blank = MakeBackgroundCopy(QString(), false, work);
        QCOMPARE(blank->Image().size(), QSize(960, 540));
        QCOMPARE(blank->Image().pixel(5, 5), qRgb(0, 0, 0));
        QVERIFY(blank->CopyPath().isEmpty());
        QCOMPARE(MakeBackgroundCopy(QString(), true, work)->Image().size(), QSize(540, 960));

        const QString wide = dir.filePath(QStringLiteral("wide.jpg"));
        QImage image(960, 540, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                image.setPixel(x, y, qRgb(255, 0, 0)); // top-left marked red
        QVERIFY(image.save(wide, "JPEG", 100));
        {
            const auto flat = MakeBackgroundCopy(wide, false, work);
            QCOMPARE(flat->Image().size(), QSize(960, 540));
            QVERIFY(QFileInfo(flat->CopyPath()).fileName().startsWith(u"jpg"));
            const auto turned = MakeBackgroundCopy(wide, true, work);
            QCOMPARE(turned->Image().size(), QSize(540, 960));
            // Clockwise: the top-left corner goes to the top-right.
            QVERIFY(qRed(turned->Image().pixel(539 - 20, 20)) > 200);
            QVERIFY(qGreen(turned->Image().pixel(539 - 20, 20)) < 60);
            QCOMPARE(FilesIn(work).size(), 2);
        }
        QVERIFY(FilesIn(work).isEmpty());
    }
};

ORIN_TEST_CLASS(DisplayCopyTest)
#include "tst_display_copy.moc"
