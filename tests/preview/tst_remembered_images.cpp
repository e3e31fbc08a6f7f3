// SPDX-License-Identifier: MIT
// The remembered display copies: a file shown again is not decoded again while it stays the
// same, a changed file is, and the kept pixels stay within their limit.
#include "preview/remembered_images.h"

#include "test_registry.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <sys/time.h>

using namespace orin;
using namespace Qt::StringLiterals;

namespace {

// Decodes the record's or the page's file on every call, and counts the calls.
class CDecodingSource : public CImageSource {
public:
    DisplayImage DisplayCopy(const CMyPictureInfo &record) override
    {
        ++decoded;
        DisplayImage shown;
        shown.type = record.type;
        shown.image = QImage(record.path);
        return shown;
    }
    DisplayImage BackgroundCopy(const CMyProgramInfo &page, bool vertical) override
    {
        ++decoded;
        DisplayImage shown;
        shown.image = QImage(page.background);
        if (rgb888)
            shown.image = shown.image.convertToFormat(QImage::Format_RGB888);
        if (vertical)
            shown.image = shown.image.transformed(QTransform().rotate(90));
        return shown;
    }
    int decoded = 0;
    bool rgb888 = false; // backgrounds in 24 bits a pixel
};

bool WritePicture(const QString &path, QSize size, QColor colour, const char *format = "PNG")
{
    QImage image(size, QImage::Format_RGB888);
    image.fill(colour);
    return image.save(path, format);
}

// Sets the file's modification time, as a copy that keeps the original's time would.
bool SetModified(const QString &path, qint64 seconds)
{
    const timeval times[2] = {{seconds, 0}, {seconds, 0}};
    return ::utimes(QFile::encodeName(path).constData(), times) == 0;
}

} // namespace

class TestRememberedImages : public QObject {
    Q_OBJECT

private slots:
    void aFileIsDecodedOnceWhileItStaysTheSame()
    {
        QTemporaryDir dir;
        const QString picture = dir.filePath(u"p.png"_s);
        const QString ground = dir.filePath(u"g.jpg"_s);
        QVERIFY(WritePicture(picture, QSize(8, 6), Qt::red));
        QVERIFY(WritePicture(ground, QSize(96, 54), Qt::blue, "JPG"));
        CDecodingSource source;
        CRememberedImages images(source);

        CMyPictureInfo record;
        record.id = 3;
        record.type = kImageGeneralPng;
        record.path = picture;
        CMyPictureInfo sameFile = record;
        sameFile.id = 4;
        sameFile.type = kImageGif;
        QCOMPARE(images.DisplayCopy(record).image.pixelColor(0, 0), QColor(Qt::red));
        const DisplayImage again = images.DisplayCopy(sameFile);
        QCOMPARE(source.decoded, 1);
        QCOMPARE(again.type, kImageGif); // the type is the record's own
        QCOMPARE(again.image.size(), QSize(8, 6));

        CMyProgramInfo page1;
        page1.id = 1;
        page1.background = ground;
        CMyProgramInfo page2 = page1;
        page2.id = 2;
        const DisplayImage first = images.BackgroundCopy(page1, false);
        QCOMPARE(images.BackgroundCopy(page2, false).image, first.image);
        QCOMPARE(source.decoded, 2);
        // Turned upright, it is another picture.
        QCOMPARE(images.BackgroundCopy(page2, true).image.size(), QSize(54, 96));
        QCOMPARE(source.decoded, 3);
        QCOMPARE(images.CopiesAsked(), 3);
    }

    // A 24-bit picture is kept in the painter's 32-bit format: drawn scaled, as grounds are,
    // it gives the pixels the 24-bit one gives.
    void aPictureWithoutAlphaDrawsAsBefore()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"g.png"_s);
        QImage noise(97, 61, QImage::Format_RGB888);
        for (int y = 0; y < noise.height(); ++y) {
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * y) % 256, (x * 5 + y * 53) % 256));
        }
        QVERIFY(noise.save(path));
        CDecodingSource source;
        source.rgb888 = true;
        CRememberedImages images(source);
        CMyProgramInfo page;
        page.background = path;
        const QImage kept = images.BackgroundCopy(page, false).image;
        const QImage decoded = source.BackgroundCopy(page, false).image;
        QCOMPARE(decoded.format(), QImage::Format_RGB888);
        QCOMPARE(kept.format(), QImage::Format_RGB32);
        for (const bool smooth : {false, true}) {
            auto paint = [smooth](const QImage &picture) {
                QImage ground(QSize(240, 135), QImage::Format_RGB32);
                ground.fill(Qt::black);
                QPainter painter(&ground);
                painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
                painter.setClipRect(QRect(20, 10, 150, 90));
                painter.drawImage(QRectF(3, 2, 230, 128), picture);
                painter.drawImage(QRectF(50, 40, 40, 30), picture, QRectF(10, 5, 70, 44));
                return ground;
            };
            QCOMPARE(paint(kept), paint(decoded));
        }
    }

    // Rewritten in place with the same size, or put back with its old modification time: the
    // file is decoded again either way.
    void aChangedFileIsDecodedAgain_data()
    {
        QTest::addColumn<bool>("sameSize");
        QTest::addColumn<bool>("oldTime");
        QTest::newRow("other size") << false << false;
        QTest::newRow("same size, newer") << true << false;
        QTest::newRow("same size, old time kept") << true << true;
    }
    void aChangedFileIsDecodedAgain()
    {
        QFETCH(bool, sameSize);
        QFETCH(bool, oldTime);
        QTemporaryDir dir;
        // Uncompressed: two pictures of one size make files of one size.
        const QString path = dir.filePath(u"p.bmp"_s);
        QVERIFY(WritePicture(path, QSize(8, 6), Qt::red, "BMP"));
        QVERIFY(SetModified(path, 1000000000));
        CDecodingSource source;
        CRememberedImages images(source);
        CMyPictureInfo record;
        record.id = 1;
        record.type = kImageGeneralPng;
        record.path = path;
        QCOMPARE(images.DisplayCopy(record).image.pixelColor(0, 0), QColor(Qt::red));

        // The new picture is written beside it and moved over it.
        const QString next = dir.filePath(u"next.bmp"_s);
        QVERIFY(WritePicture(next, sameSize ? QSize(8, 6) : QSize(9, 6), Qt::green, "BMP"));
        QCOMPARE(QFileInfo(next).size() == QFileInfo(path).size(), sameSize);
        QVERIFY(SetModified(next, oldTime ? 1000000000 : 1000000100));
        QVERIFY(::rename(QFile::encodeName(next).constData(), QFile::encodeName(path).constData()) == 0);

        const DisplayImage shown = images.DisplayCopy(record);
        QCOMPARE(source.decoded, 2);
        QCOMPARE(shown.image.pixelColor(0, 0), QColor(Qt::green));
        images.DisplayCopy(record);
        QCOMPARE(source.decoded, 2);
        // A file that went shows what the source makes of a missing file.
        QVERIFY(QFile::remove(path));
        QVERIFY(images.DisplayCopy(record).IsNull());
        QCOMPARE(source.decoded, 3);
    }

    void theKeptPixelsStayWithinTheLimit()
    {
        QTemporaryDir dir;
        CDecodingSource source;
        // Room for one 100 x 100 picture (40000 bytes) and not two.
        CRememberedImages images(source, 60000);
        std::vector<CMyPictureInfo> records(3);
        for (int i = 0; i < 3; ++i) {
            records[size_t(i)].id = i + 1;
            records[size_t(i)].type = kImageGeneralPng;
            records[size_t(i)].path = dir.filePath(u"%1.png"_s.arg(i));
            QVERIFY(WritePicture(records[size_t(i)].path, QSize(100, 100), Qt::red));
        }
        images.DisplayCopy(records[0]);
        images.DisplayCopy(records[0]);
        QCOMPARE(source.decoded, 1);
        images.DisplayCopy(records[1]);
        QVERIFY(images.KeptBytes() <= 60000);
        images.DisplayCopy(records[1]);
        QCOMPARE(source.decoded, 2);
        images.DisplayCopy(records[0]); // let go for the second
        QCOMPARE(source.decoded, 3);
        QVERIFY(images.KeptBytes() <= 60000);

        // A picture larger than the limit is still kept while it is the last one shown.
        CRememberedImages small(source, 100);
        small.DisplayCopy(records[2]);
        small.DisplayCopy(records[2]);
        QCOMPARE(source.decoded, 4);
    }
};

ORIN_TEST_CLASS(TestRememberedImages)
#include "tst_remembered_images.moc"
