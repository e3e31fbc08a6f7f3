// SPDX-License-Identifier: MIT
// Measuring images: PNG headers of real files, decoded sizes of JPEG and GIF, and files that
// cannot be measured.

#include "test_paths.h"
#include "test_registry.h"

#include "images/image_measure.h"
#include "images/load_services.h"
#include "images/png_crc.h"
#include "images/png_header.h"
#include "images/size_accounting.h"
#include "model/content_model.h"

#include <QtTest>

using namespace orin;
using namespace orin::test;

class ImageMeasureTest : public QObject {
    Q_OBJECT

private slots:
    void pngHeaders_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("colourType");
        QTest::newRow("grey 1 bit") << QStringLiteral("basn0g01.png") << 1 << 0;
        QTest::newRow("rgb 16 bit") << QStringLiteral("basn2c16.png") << 16 << 2;
        QTest::newRow("palette 8 bit") << QStringLiteral("basn3p08.png") << 8 << 3;
        QTest::newRow("rgba 8 bit") << QStringLiteral("basn6a08.png") << 8 << 6;
    }
    void pngHeaders()
    {
        QFETCH(QString, file);
        QFETCH(int, depth);
        QFETCH(int, colourType);
        PngHeader header;
        const QString path = (TestDataDir() + QStringLiteral("/png/pngsuite/")) + file;
        QVERIFY(ReadPngHeader(path, header));
        QCOMPARE(header.width, 32);
        QCOMPARE(header.height, 32);
        QCOMPARE(header.bitDepth, depth);
        QCOMPARE(header.colourType, colourType);
        int w = 0, h = 0;
        ImageDimensions(path, kImageGeneralPng, w, h);
        QCOMPARE(QSize(w, h), QSize(32, 32));
    }

    void malformedFilesNeverBreakTheReader()
    {
        const QDir crashers((TestDataDir() + QStringLiteral("/png/crashers")));
        const QStringList files = crashers.entryList({QStringLiteral("*.png")});
        QVERIFY(files.size() > 10);
        for (const QString &f : files) {
            PngHeader header;
            ReadPngHeader(crashers.filePath(f), header); // answers, whatever it says
            int w = -1, h = -1;
            ImageDimensions(crashers.filePath(f), kImageColourMapPng, w, h);
            QVERIFY(w >= 0 && h >= 0);
        }
    }

    void notPngs()
    {
        QTemporaryDir dir;
        const QString text = dir.filePath(QStringLiteral("a.png"));
        QFile f(text);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDX", 16);
        f.close();
        PngHeader header;
        QVERIFY(!ReadPngHeader(text, header));                               // first chunk not IHDR
        QVERIFY(!ReadPngHeader(dir.filePath(QStringLiteral("none.png")), header)); // missing
        int w = 5, h = 5;
        ImageDimensions(text, kImageColourMapPng, w, h);
        QCOMPARE(QSize(w, h), QSize(0, 0));
    }

    void aPngWithoutRowsOrColumnsMeasuresNothing_data()
    {
        QTest::addColumn<quint32>("width");
        QTest::addColumn<quint32>("height");
        QTest::newRow("no columns") << 0u << 23808u;
        QTest::newRow("no rows") << 40u << 0u;
        QTest::newRow("neither") << 0u << 0u;
    }
    void aPngWithoutRowsOrColumnsMeasuresNothing()
    {
        QFETCH(quint32, width);
        QFETCH(quint32, height);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("empty.png"));
        QByteArray ihdr(13, '\0');
        qToBigEndian(width, ihdr.data());
        qToBigEndian(height, ihdr.data() + 4);
        ihdr[8] = 8;
        ihdr[9] = 3;
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", ihdr)
                + PngChunk("IEND", QByteArray()));
        f.close();
        for (int type : {kImageGeneralPng, kImageColourMapPng}) {
            int w = 5, h = 5;
            QCOMPARE(MeasureImageFile(path, type, w, h), QFileInfo(path).size());
            QCOMPARE(QSize(w, h), QSize(0, 0));
        }
    }

    void decodedSizes_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("type");
        QTest::newRow("jpeg") << QByteArray("JPEG") << int(kImageJpeg);
        QTest::newRow("png as jpeg type") << QByteArray("PNG") << int(kImageJpeg);
    }
    void decodedSizes()
    {
        QFETCH(QByteArray, format);
        QFETCH(int, type);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("img"));
        QImage image(123, 45, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(path, format.constData()));
        int w = 0, h = 0;
        ImageDimensions(path, type, w, h);
        QCOMPARE(QSize(w, h), QSize(123, 45));
        ImageDimensions(path, kImageEmpty, w, h);
        QCOMPARE(QSize(w, h), QSize(0, 0));
        // One open gives both the size and the bytes that the size accounting counts.
        QCOMPARE(MeasureImageFile(path, type, w, h), FileSizeOf(path));
        QCOMPARE(QSize(w, h), QSize(123, 45));
        QCOMPARE(MeasureImageFile(path, kImageEmpty, w, h), QFileInfo(path).size());
        QCOMPARE(QSize(w, h), QSize(0, 0));
        QCOMPARE(MeasureImageFile(path + QStringLiteral(".missing"), type, w, h), qint64(-1));
    }

    // One load remembers a folder found missing; a missing file in a present folder hides
    // nothing, and the next load asks the file system afresh.
    void loadMeasurerRemembersMissingFoldersForOneLoad()
    {
        QTemporaryDir dir;
        const QString source = TestDataDir() + QStringLiteral("/png/pngsuite/basn3p08.png");
        const qint64 size = QFileInfo(source).size();
        const QString present = dir.filePath(QStringLiteral("present/real.png"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("present")));
        QVERIFY(QFile::copy(source, present));
        const QString later = dir.filePath(QStringLiteral("gone/later.png"));
        const LoadServices services = StandardLoadServices();
        int w = 0, h = 0;
        {
            auto measure = services.startLoad();
            QCOMPARE(measure(dir.filePath(QStringLiteral("present/none.png")), kImageColourMapPng, w, h), qint64(-1));
            QCOMPARE(measure(present, kImageColourMapPng, w, h), size);
            QCOMPARE(QSize(w, h), QSize(32, 32));
            QCOMPARE(measure(dir.filePath(QStringLiteral("gone/a.png")), kImageColourMapPng, w, h), qint64(-1));
            // The folder appears during the load: this load keeps what it found.
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("gone")));
            QVERIFY(QFile::copy(source, later));
            w = h = 7;
            QCOMPARE(measure(later, kImageColourMapPng, w, h), qint64(-1));
            QCOMPARE(QSize(w, h), QSize(0, 0));
            QCOMPARE(measure(present, kImageColourMapPng, w, h), size);
        }
        auto next = services.startLoad();
        QCOMPARE(next(later, kImageColourMapPng, w, h), size);
        QCOMPARE(QSize(w, h), QSize(32, 32));
    }
};

ORIN_TEST_CLASS(ImageMeasureTest)
#include "tst_image_measure.moc"
