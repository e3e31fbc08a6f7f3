// SPDX-License-Identifier: MIT
// The import rules: kinds, accepted kinds, natural item sizes, background sizes, the per-file
// and total limits, table limits and ids, replacing files and setting backgrounds.

#include "image_fixtures.h"
#include "test_registry.h"

#include "images/image_import.h"
#include "images/size_accounting.h"

#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

std::unique_ptr<CMyPictureInfo> Record(int id, const QString &path = QString())
{
    auto record = std::make_unique<CMyPictureInfo>();
    record->id = id;
    record->path = path;
    return record;
}

std::unique_ptr<CMyProgramInfo> Page(int id, const QString &background)
{
    auto page = std::make_unique<CMyProgramInfo>();
    page->id = id;
    page->background = background;
    return page;
}

constexpr int kLargeLimitKb = 100000;

} // namespace

class ImageImportTest : public QObject {
    Q_OBJECT

private slots:
    void classify_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("type");
        QTest::newRow("jpg") << QStringLiteral("a.jpg") << int(kImageJpeg);
        QTest::newRow("upper-case JPG") << QStringLiteral("A.JPG") << int(kImageJpeg);
        QTest::newRow("jpeg is not an image") << QStringLiteral("a.jpeg") << int(kNotAnImage);
        QTest::newRow("colour-map png") << QStringLiteral("cm.png") << int(kImageColourMapPng);
        QTest::newRow("general png") << QStringLiteral("rgb.PNG") << int(kImageGeneralPng);
        QTest::newRow("broken png") << QStringLiteral("broken.png") << int(kImageGeneralPng);
        QTest::newRow("gif") << QStringLiteral("a.Gif") << int(kImageGif);
        QTest::newRow("bmp") << QStringLiteral("a.bmp") << int(kNotAnImage);
        QTest::newRow("no extension") << QStringLiteral("png") << int(kNotAnImage);
    }
    void classify()
    {
        QFETCH(QString, name);
        QFETCH(int, type);
        QTemporaryDir dir;
        QVERIFY(WriteBytes(dir.filePath(QStringLiteral("cm.png")), ColourMapPng(4, 4)));
        QVERIFY(WriteGeneralPng(dir.filePath(QStringLiteral("rgb.PNG")), 4, 4));
        QVERIFY(WriteBytes(dir.filePath(QStringLiteral("broken.png")), "\x89PNG"));
        QCOMPARE(ClassifyImageFile(dir.filePath(name)), type);
    }

    void acceptedKindsAndItemSizes()
    {
        for (const int exPng : {0, 1}) {
            QVERIFY(IsAcceptedKind(kImageJpeg, exPng));
            QVERIFY(IsAcceptedKind(kImageColourMapPng, exPng));
            QCOMPARE(IsAcceptedKind(kImageGeneralPng, exPng), exPng == 1);
            QCOMPARE(IsAcceptedKind(kImageGif, exPng), exPng == 1);
            QVERIFY(!IsAcceptedKind(kImageEmpty, exPng));
            QVERIFY(!IsAcceptedKind(kNotAnImage, exPng));
        }
        QCOMPARE(NaturalItemSize(kImageColourMapPng, 101, 51), QSize(101, 51));
        QCOMPARE(NaturalItemSize(kImageJpeg, 101, 51), QSize(50, 25));
        QCOMPARE(NaturalItemSize(kImageGeneralPng, 101, 51), QSize(50, 25));
        QCOMPARE(NaturalItemSize(kImageGif, 3, 3), QSize(1, 1));
        QCOMPARE(ImageSizeText(960, 540), QStringLiteral("960×540"));
    }

    void backgroundSizes_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<bool>("portrait");
        QTest::newRow("960x540") << QSize(960, 540) << true << true;
        QTest::newRow("1920x1080") << QSize(1920, 1080) << true << true;
        QTest::newRow("1080x1920") << QSize(1080, 1920) << false << true;
        QTest::newRow("540x960") << QSize(540, 960) << false << false;
        QTest::newRow("961x540") << QSize(961, 540) << false << false;
    }
    void backgroundSizes()
    {
        QFETCH(QSize, size);
        QFETCH(bool, landscape);
        QFETCH(bool, portrait);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("b.jpg"));
        QVERIFY(WriteJpeg(path, size.width(), size.height()));
        QCOMPARE(IsBackgroundSize(path, false), landscape);
        QCOMPARE(IsBackgroundSize(path, true), portrait);
    }
    void unreadableBackgrounds()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("b.jpg"));
        QVERIFY(WriteBytes(path, "not a jpeg"));
        QVERIFY(!IsBackgroundSize(path, false));
        QVERIFY(!IsBackgroundSize(dir.filePath(QStringLiteral("none.jpg")), false));
    }

    void perFileLimit()
    {
        QTemporaryDir dir;
        const QString exact = dir.filePath(QStringLiteral("exact.jpg"));
        const QString over = dir.filePath(QStringLiteral("over.jpg"));
        QVERIFY(WriteJpeg(exact, 64, 32, 512000));
        QVERIFY(WriteJpeg(over, 64, 32, 512001));
        CContentModel model;
        const ImageOutcome added = AddPicture(model, exact, kImageJpeg, kLargeLimitKb);
        QCOMPARE(added.result, 1);
        const CMyPictureInfo *record = model.pictures.At(0);
        QCOMPARE(record->path, exact);
        QCOMPARE(record->type, int(kImageJpeg));
        QCOMPARE(record->item, 0);
        QCOMPARE(QSize(record->width, record->height), QSize(64, 32));
        QCOMPARE(record->sizeText, QStringLiteral("64×32"));
        QCOMPARE(model.usedSize, qint64(512000));

        const ImageOutcome refused = AddPicture(model, over, kImageJpeg, kLargeLimitKb);
        QCOMPARE(refused.result, 0);
        QCOMPARE(refused.refusal, ImageRefusal::FileTooLarge);
        QCOMPARE(RefusalMessage(refused.refusal),
                 QStringLiteral("ファイルサイズ500kバイト以下の画像のみ有効です"));
        QCOMPARE(model.pictures.Count(), 1);

        // A file whose size cannot be read is not let through as a small one.
        const ImageOutcome missing =
            AddMaterial(model, dir.filePath(QStringLiteral("gone.png")), kImageGeneralPng, kLargeLimitKb);
        QCOMPARE(missing.result, 0);
        QCOMPARE(missing.refusal, ImageRefusal::Unreadable);
        QVERIFY(RefusalMessage(missing.refusal).isEmpty());
        QCOMPARE(model.materials.Count(), 0);
    }

    void tableLimitsAndIds()
    {
        QTemporaryDir dir;
        const QString jpeg = dir.filePath(QStringLiteral("p.jpg"));
        const QString png = dir.filePath(QStringLiteral("m.png"));
        QVERIFY(WriteJpeg(jpeg, 8, 8));
        QVERIFY(WriteBytes(png, ColourMapPng(8, 8)));

        CContentModel model;
        model.pictures.Add(Record(1));
        model.pictures.Add(Record(2));
        model.pictures.Add(Record(199));
        QCOMPARE(AddPicture(model, jpeg, kImageJpeg, kLargeLimitKb).refusal, ImageRefusal::IdsExhausted);
        model.pictures.RemoveAt(2);
        QCOMPARE(AddPicture(model, jpeg, kImageJpeg, kLargeLimitKb).result, 3);

        CContentModel full;
        for (int id = 1; id <= 199; ++id)
            full.pictures.Add(Record(id));
        QCOMPARE(AddPicture(full, jpeg, kImageJpeg, kLargeLimitKb).refusal, ImageRefusal::TableFull);

        const ImageOutcome first = AddMaterial(model, png, kImageColourMapPng, kLargeLimitKb);
        QCOMPARE(first.result, 200);
        QCOMPARE(model.materials.At(0)->sizeText, QStringLiteral("8×8"));
        model.materials.Add(Record(255));
        const ImageOutcome exhausted = AddMaterial(model, png, kImageColourMapPng, kLargeLimitKb);
        QCOMPARE(exhausted.result, 0);
        QCOMPARE(exhausted.refusal, ImageRefusal::IdsExhausted);
        QCOMPARE(model.materials.Count(), 2);

        CContentModel materials;
        for (int id = 200; id < 256; ++id)
            materials.materials.Add(Record(id));
        QCOMPARE(AddMaterial(materials, png, kImageColourMapPng, kLargeLimitKb).refusal, ImageRefusal::TableFull);
    }

    void totalLimit()
    {
        QTemporaryDir dir;
        const QString existing = dir.filePath(QStringLiteral("old.jpg"));
        const QString added = dir.filePath(QStringLiteral("new.jpg"));
        QVERIFY(WriteJpeg(existing, 8, 8, 3000));
        QVERIFY(WriteJpeg(added, 8, 8, 2120));
        CContentModel model;
        model.pictures.Add(Record(1, existing));
        // 3000 + 2120 = 5120 bytes = 5 KB exactly: accepted; one byte more is not.
        QCOMPARE(AddPicture(model, added, kImageJpeg, 5).result, 2);
        QCOMPARE(model.usedSize, qint64(5120));
        model.pictures.RemoveAt(1);
        QVERIFY(WriteJpeg(added, 8, 8, 2121));
        const ImageOutcome refused = AddPicture(model, added, kImageJpeg, 5);
        QCOMPARE(refused.result, -1);
        QCOMPARE(refused.refusal, ImageRefusal::TotalTooLarge);
        QCOMPARE(RefusalMessage(refused.refusal), QStringLiteral("登録ファイルサイズが最大値を超えました。"));
        QCOMPARE(model.pictures.Count(), 1);
    }

    void replaceChecksTheDifference()
    {
        QTemporaryDir dir;
        const QString small = dir.filePath(QStringLiteral("small.jpg"));
        const QString large = dir.filePath(QStringLiteral("large.jpg"));
        const QString other = dir.filePath(QStringLiteral("other.jpg"));
        QVERIFY(WriteJpeg(small, 8, 8, 300 * 1024));
        QVERIFY(WriteJpeg(large, 16, 4, 400 * 1024));
        QVERIFY(WriteJpeg(other, 8, 8, 200 * 1024));
        CContentModel model;
        model.pictures.Add(Record(1, small));
        model.pictures.Add(Record(2, other));
        // T = 500 KB; T + 100 KB = 600 KB fits, T + 400 KB would not.
        const ImageOutcome replaced = ReplaceImage(model, 1, large, 600, 0);
        QCOMPARE(replaced.result, 1);
        const CMyPictureInfo *record = model.pictures.At(0);
        QCOMPARE(record->path, large);
        QCOMPARE(record->changed, 1);
        QCOMPARE(record->sizeText, QStringLiteral("16×4"));
        QCOMPARE(model.usedSize, qint64(600 * 1024));
        // Growing the other picture by 200 KB would pass the limit.
        QCOMPARE(ReplaceImage(model, 2, large, 600, 0).refusal, ImageRefusal::TotalTooLarge);
        QCOMPARE(model.pictures.At(1)->path, other);

        QCOMPARE(ReplaceImage(model, 0, large, 600, 0).result, 0);
        QCOMPARE(ReplaceImage(model, 7, small, 600, 0).refusal, ImageRefusal::NoRecord);
        QCOMPARE(ReplaceImage(model, 1, dir.filePath(QStringLiteral("gone.jpg")), 600, 0).refusal,
                 ImageRefusal::Unreadable);
    }

    void replaceFollowsTheNewKind()
    {
        QTemporaryDir dir;
        const QString cm = dir.filePath(QStringLiteral("cm.png"));
        const QString general = dir.filePath(QStringLiteral("rgb.png"));
        const QString gif = dir.filePath(QStringLiteral("a.gif"));
        QVERIFY(WriteBytes(cm, ColourMapPng(10, 6)));
        QVERIFY(WriteGeneralPng(general, 12, 7));
        QVERIFY(WriteGeneralPng(gif, 12, 7));
        CContentModel model;
        auto material = Record(200, cm);
        material->type = kImageColourMapPng;
        model.materials.Add(std::move(material));

        // While ExPNG is off a general PNG or a GIF is refused without a word.
        QCOMPARE(ReplaceImage(model, 200, general, kLargeLimitKb, 0).refusal, ImageRefusal::KindNotAccepted);
        QCOMPARE(ReplaceImage(model, 200, gif, kLargeLimitKb, 0).refusal, ImageRefusal::KindNotAccepted);
        QCOMPARE(model.materials.At(0)->path, cm);

        QCOMPARE(ReplaceImage(model, 200, general, kLargeLimitKb, 1).result, 200);
        QCOMPARE(model.materials.At(0)->type, int(kImageGeneralPng));
        QCOMPARE(model.materials.At(0)->sizeText, QStringLiteral("12×7"));
        QCOMPARE(model.materials.Count(), 1);
        QCOMPARE(model.pictures.Count(), 0);
        QCOMPARE(ReplaceImage(model, 200, cm, kLargeLimitKb, 0).result, 200);
        QCOMPARE(model.materials.At(0)->type, int(kImageColourMapPng));
    }

    void backgrounds()
    {
        QTemporaryDir dir;
        const QString shared = dir.filePath(QStringLiteral("shared.jpg"));
        const QString fresh = dir.filePath(QStringLiteral("fresh.jpg"));
        const QString big = dir.filePath(QStringLiteral("big.jpg"));
        const QString odd = dir.filePath(QStringLiteral("odd.jpg"));
        QVERIFY(WriteJpeg(shared, 960, 540, 400 * 1024));
        QVERIFY(WriteJpeg(fresh, 1920, 1080, 300 * 1024));
        QVERIFY(WriteJpeg(big, 960, 540, 600 * 1024));
        QVERIFY(WriteJpeg(odd, 800, 600));
        CContentModel model;
        model.pages.Add(Page(1, shared));
        model.pages.Add(Page(2, shared));

        QCOMPARE(ApplyPageBackground(model, 0, odd, kLargeLimitKb, false, true),
                 ImageRefusal::NotBackgroundSize);
        QCOMPARE(ApplyPageBackground(model, 0, big, kLargeLimitKb, false, true),
                 ImageRefusal::FileTooLarge);
        QCOMPARE(ApplyPageBackground(model, 5, fresh, kLargeLimitKb, false, true),
                 ImageRefusal::NoRecord);
        // Page 2 keeps the shared file, so it is not freed: 400 + 300 KB exceed 600 KB.
        QCOMPARE(ApplyPageBackground(model, 0, fresh, 600, false, true),
                 ImageRefusal::TotalTooLarge);
        QCOMPARE(model.pages.At(0)->background, shared);
        QCOMPARE(ApplyPageBackground(model, 0, fresh, 700, false, true), ImageRefusal::None);
        QCOMPARE(model.pages.At(0)->background, fresh);
        QCOMPARE(model.pages.At(0)->changed, 1);
        QCOMPARE(model.usedSize, qint64(700 * 1024));
        // A dropped file skips the per-file check.
        QCOMPARE(ApplyPageBackground(model, 1, big, kLargeLimitKb, false, false), ImageRefusal::None);
        QCOMPARE(model.pages.At(1)->background, big);
        QCOMPARE(model.usedSize, TotalDataSize(model));
    }

    void droppedFiles()
    {
        QTemporaryDir dir;
        const QString jpeg = dir.filePath(QStringLiteral("p.JPG"));
        const QString cm = dir.filePath(QStringLiteral("cm.png"));
        const QString general = dir.filePath(QStringLiteral("rgb.png"));
        const QString text = dir.filePath(QStringLiteral("notes.txt"));
        QVERIFY(WriteJpeg(jpeg, 40, 20));
        QVERIFY(WriteBytes(cm, ColourMapPng(4, 4)));
        QVERIFY(WriteGeneralPng(general, 4, 4));
        QVERIFY(WriteBytes(text, "x"));
        CContentModel model;
        QCOMPARE(AddDroppedImage(model, jpeg, kLargeLimitKb, 0).result, 1);
        QCOMPARE(AddDroppedImage(model, cm, kLargeLimitKb, 0).result, 200);
        QCOMPARE(AddDroppedImage(model, general, kLargeLimitKb, 0).refusal, ImageRefusal::KindNotAccepted);
        QCOMPARE(AddDroppedImage(model, general, kLargeLimitKb, 1).result, 201);
        QCOMPARE(model.materials.At(1)->type, int(kImageGeneralPng));
        QCOMPARE(AddDroppedImage(model, text, kLargeLimitKb, 1).refusal, ImageRefusal::NotAnImage);
    }
};

ORIN_TEST_CLASS(ImageImportTest)
#include "tst_image_import.moc"
