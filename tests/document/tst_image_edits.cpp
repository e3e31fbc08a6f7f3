// SPDX-License-Identifier: MIT
// The operator's image edits through the document: messages and captions, file dialogs, the
// size line, the modified mark and the notifications to the views.

#include "image_fixtures.h"
#include "prompt_fixtures.h"
#include "test_registry.h"

#include "document/document.h"
#include "document/image_edits.h"
#include "document/recent_files.h"
#include "images/load_services.h"

#include <QSignalSpy>
#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

struct Fixture {
    QTemporaryDir dir;
    CContentModel model;
    CScriptedPrompt prompt;
    CRecentFiles recent;
    CDocument document{model, prompt, recent, StandardLoadServices(), 4};
    CImageEdits edits{document, model, prompt};

    QString Path(const QString &name) const { return dir.filePath(name); }
    void AddPage(const QString &background)
    {
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = model.pages.NextId();
        page->background = background;
        model.pages.Add(std::move(page));
    }
};

} // namespace

class ImageEditsTest : public QObject {
    Q_OBJECT

private slots:
    void backgroundByDialog()
    {
        Fixture f;
        const QString old = f.Path(QStringLiteral("old/bg.jpg"));
        QDir().mkpath(f.Path(QStringLiteral("old")));
        QVERIFY(WriteJpeg(old, 960, 540));
        const QString odd = f.Path(QStringLiteral("odd.jpg"));
        const QString big = f.Path(QStringLiteral("big.jpg"));
        const QString good = f.Path(QStringLiteral("good.jpg"));
        QVERIFY(WriteJpeg(odd, 640, 480));
        QVERIFY(WriteJpeg(big, 1920, 1080, 512001));
        QVERIFY(WriteJpeg(good, 1920, 1080));
        f.AddPage(old);
        QSignalSpy changed(&f.edits, &CImageEdits::PageBackgroundChanged);

        f.prompt.fileNames = {QString(), odd, big, good};
        QVERIFY(!f.edits.SetPageBackground(0)); // cancelled
        const FileDialogRequest &request = f.prompt.records.at(0).request;
        QCOMPARE(request.title, QStringLiteral("JPEGファイルの読み込み"));
        QCOMPARE(request.filterText, QStringLiteral("JPEGﾌｧｲﾙ (*.jpg)"));
        QCOMPARE(request.filterPatterns, QStringList{QStringLiteral("*.jpg")});
        QCOMPARE(request.startFolder, f.Path(QStringLiteral("old")));
        QVERIFY(request.fileMustExist);

        QVERIFY(!f.edits.SetPageBackground(0));
        QVERIFY(!f.edits.SetPageBackground(0));
        QCOMPARE(f.prompt.Messages(),
                 (QStringList{QStringLiteral("960×540,1920×1080のJPEGのみ対応です"),
                              QStringLiteral("ファイルサイズ500kバイト以下の画像のみ有効です")}));
        QCOMPARE(f.prompt.records.at(2).caption, QStringLiteral("エラー"));
        QVERIFY(!f.document.IsModified());
        QCOMPARE(changed.count(), 0);

        QVERIFY(f.edits.SetPageBackground(0));
        QCOMPARE(f.model.pages.At(0)->background, good);
        QCOMPARE(f.edits.LastBackgroundPath(), good);
        QVERIFY(f.document.IsModified());
        QVERIFY(f.document.Title().endsWith(u'*'));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 0);
        // The decimal form after a background change.
        QCOMPARE(f.document.SizeLine(),
                 FormatSizeLine(f.model.usedSize, f.document.SizeLimit(), SizeForm::Decimal));
        QCOMPARE(f.prompt.unexpected, 0);
    }

    void backgroundDroppedSkipsThePerFileCheck()
    {
        Fixture f;
        f.AddPage(QString());
        const QString big = f.Path(QStringLiteral("big.jpg"));
        QVERIFY(WriteJpeg(big, 960, 540, 600000));
        QVERIFY(f.edits.SetPageBackgroundFrom(0, big));
        QCOMPARE(f.model.pages.At(0)->background, big);
        QVERIFY(f.document.IsModified());
        QVERIFY(f.prompt.records.isEmpty());
        QVERIFY(!f.edits.SetPageBackgroundFrom(3, big));
    }

    void addingShowsMessagesAndTheBinarySize()
    {
        Fixture f;
        const QString big = f.Path(QStringLiteral("big.jpg"));
        const QString good = f.Path(QStringLiteral("good.jpg"));
        QVERIFY(WriteJpeg(big, 8, 8, 512001));
        QVERIFY(WriteJpeg(good, 8, 8));
        QCOMPARE(f.edits.AddPicture(big, kImageJpeg), 0);
        QCOMPARE(f.prompt.Messages(), QStringList{QStringLiteral("ファイルサイズ500kバイト以下の画像のみ有効です")});
        QVERIFY(!f.document.IsModified());
        QCOMPARE(f.edits.AddPicture(good, kImageJpeg), 1);
        QVERIFY(f.document.IsModified());
        QCOMPARE(f.document.SizeLine(),
                 FormatSizeLine(f.model.usedSize, f.document.SizeLimit(), SizeForm::Binary));

        // The total limit: the used size is counted from the files, and -1 says why.
        Fixture small;
        SizeLimitSettings limits;
        limits.sizeNetMAX = 1;
        small.document.SetSizeLimits(limits);
        QVERIFY(WriteJpeg(big, 8, 8, 2000));
        QCOMPARE(small.edits.AddDroppedImage(big), -1);
        QCOMPARE(small.prompt.Messages(), QStringList{QStringLiteral("登録ファイルサイズが最大値を超えました。")});
        QCOMPARE(small.prompt.records.at(0).caption, QStringLiteral("エラー"));
    }

    void changeItemImage_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("filter");
        QTest::newRow("colour-map png") << int(kImageColourMapPng) << QStringLiteral("a.png")
            << QStringLiteral("PNGファイルの読み込み (120×40)") << QStringLiteral("PNGﾌｧｲﾙ (*.png)");
        QTest::newRow("general png") << int(kImageGeneralPng) << QStringLiteral("a.png")
            << QStringLiteral("PNGファイルの読み込み (120×40)") << QStringLiteral("PNGﾌｧｲﾙ (*.png)");
        QTest::newRow("gif") << int(kImageGif) << QStringLiteral("a.gif")
            << QStringLiteral("GIFファイルの読み込み (120×40)") << QStringLiteral("GIFﾌｧｲﾙ (*.gif)");
        QTest::newRow("jpeg at twice the item") << int(kImageJpeg) << QStringLiteral("a.jpg")
            << QStringLiteral("JPEGファイルの読み込み (240×80)") << QStringLiteral("JPEGﾌｧｲﾙ (*.jpg)");
    }
    void changeItemImage()
    {
        QFETCH(int, type);
        QFETCH(QString, file);
        QFETCH(QString, title);
        QFETCH(QString, filter);
        Fixture f;
        f.document.SetInitialSettings(1, 0, 0);
        auto record = std::make_unique<CMyPictureInfo>();
        record->id = type == kImageJpeg ? 1 : 200;
        record->type = type;
        (type == kImageJpeg ? f.model.pictures : f.model.materials).Add(std::move(record));
        const int id = type == kImageJpeg ? 1 : 200;

        QDir().mkpath(f.Path(QStringLiteral("pics")));
        const QString chosen = f.Path(QStringLiteral("pics/") + file);
        QVERIFY(type == kImageColourMapPng ? WriteBytes(chosen, ColourMapPng(5, 5))
                : type == kImageJpeg       ? WriteJpeg(chosen, 5, 5)
                                           : WriteGeneralPng(chosen, 5, 5));
        f.edits.SetImageFolder(f.Path(QStringLiteral("start")));
        QSignalSpy changed(&f.edits, &CImageEdits::ImageChanged);
        f.prompt.fileNames = {chosen, QString()};
        QCOMPARE(f.edits.ChangeItemImage(id, 120, 40), id);
        const FileDialogRequest &request = f.prompt.records.at(0).request;
        QCOMPARE(request.title, title);
        QCOMPARE(request.filterText, filter);
        QCOMPARE(request.startFolder, f.Path(QStringLiteral("start")));
        QCOMPARE(f.model.FindImage(id)->path, chosen);
        QCOMPARE(f.model.FindImage(id)->changed, 1);
        QVERIFY(f.document.IsModified());
        QCOMPARE(changed.count(), 1);
        // The next dialog opens where this one ended.
        QCOMPARE(f.edits.ChangeItemImage(id, 120, 40), 0);
        QCOMPARE(f.prompt.records.at(1).request.startFolder, f.Path(QStringLiteral("pics")));
        QCOMPARE(f.edits.ChangeItemImage(77, 120, 40), 0); // no such image: no dialog
        QCOMPARE(f.prompt.records.size(), 2);
    }

    void refusedKindsAreSilentAndChangeNothing()
    {
        Fixture f;
        f.document.SetInitialSettings(0, 0, 0);
        const QString cm = f.Path(QStringLiteral("cm.png"));
        const QString general = f.Path(QStringLiteral("rgb.png"));
        QVERIFY(WriteBytes(cm, ColourMapPng(4, 4)));
        QVERIFY(WriteGeneralPng(general, 4, 4));
        auto record = std::make_unique<CMyPictureInfo>();
        record->id = 200;
        record->type = kImageColourMapPng;
        record->path = cm;
        f.model.materials.Add(std::move(record));
        QSignalSpy changed(&f.edits, &CImageEdits::ImageChanged);
        QCOMPARE(f.edits.ReplaceImage(200, general), 0);
        QCOMPARE(f.edits.AddDroppedImage(general), 0);
        QVERIFY(f.prompt.records.isEmpty());
        QVERIFY(!f.document.IsModified());
        QCOMPARE(changed.count(), 0);
        QCOMPARE(f.model.materials.At(0)->path, cm);
    }
};

ORIN_TEST_CLASS(ImageEditsTest)
#include "tst_image_edits.moc"
