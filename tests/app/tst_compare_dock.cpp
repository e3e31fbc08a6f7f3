// SPDX-License-Identifier: MIT
// File > "比較...": the open sample against an older version of it on disk, in the comparison
// dock.

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/ui_language.h"
#include "document/document_edits.h"
#include "editor/compare_panel.h"
#include "frame_setup.h"
#include "images/load_services.h"
#include "model/project_reader.h"
#include "model/project_writer.h"

#include "cli_runner.h"
#include "prompt_fixtures.h"
#include "test_registry.h"

#include <QAction>
#include <QDockWidget>
#include <QTranslator>
#include <QTreeWidget>
#include <QtTest>

using namespace orin;
using namespace Qt::StringLiterals;

namespace {

// Pixels of the frame colour that marks a changed item.
int OutlinePixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == QColor(255, 0, 160) ? 1 : 0;
    }
    return count;
}

QTreeWidgetItem *TopItemStartingWith(QTreeWidget *list, const QString &start)
{
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        if (list->topLevelItem(row)->text(0).startsWith(start))
            return list->topLevelItem(row);
    }
    return nullptr;
}

} // namespace

class TestCompareDock : public QObject {
    Q_OBJECT

private slots:
    void comparesTheOpenSetWithAFileAndFollowsEdits()
    {
        QTemporaryDir dir;
        const QString sample = test::CopySample(dir);
        // The older version: the first item of the second page sat 40 points further left.
        CContentModel older;
        ProgramSettings settings;
        QVERIFY(LoadProject(sample, true, settings, older.usedSize, older, StandardLoadServices()));
        CMyProgramInfo &page = *older.pages.At(1);
        const int pageId = page.id;
        const int itemId = page.items[0].id;
        page.items[0].x -= 40;
        const QString before = dir.filePath(u"older.bjpx"_s);
        QVERIFY(SaveProject(older, before, SaveMode::Plain, ContentFolderOf(before), settings).ok);

        test::CScriptedPrompt prompt;
        auto frame = std::make_unique<CMainFrame>(test::TestFrameSetup(dir.path(), &prompt, 21));
        frame->show();
        frame->OpenStartFile(sample);
        QAction *compare = frame->Action(cmd::kCompare);
        QVERIFY(compare);
        QCOMPARE(compare->text(), u"比較(&C)..."_s);
        QDockWidget *dock = frame->CompareDock();
        QVERIFY(dock && !dock->isVisible());

        // Cancel: nothing opens.
        prompt.fileNames << QString();
        compare->trigger();
        QVERIFY(!dock->isVisible());

        prompt.fileNames << before;
        compare->trigger();
        QTRY_VERIFY(dock->isVisible());
        CComparePanel *panel = frame->ComparePanel();
        QCOMPARE(int(panel->Diff().pages.size()), 1);
        const ItemDiff &moved = panel->Diff().pages.front().items.front();
        QCOMPARE(moved.afterId, itemId);
        QVERIFY(moved.moved);
        QVERIFY(panel->Diff().records.empty());

        // Choosing the page draws both sides with the moved item framed.
        QTreeWidget *list = panel->ChangeList();
        QTreeWidgetItem *pageEntry = TopItemStartingWith(list, u"ページ %1"_s.arg(pageId));
        QVERIFY(pageEntry);
        QCOMPARE(pageEntry->childCount(), 1);
        QCOMPARE(pageEntry->child(0)->text(0),
                 u"ページ %1 のアイテム %2: (%3,%4) から (%5,%4) に移動"_s.arg(pageId).arg(itemId)
                     .arg(frame->Model().pages.At(1)->items[0].x - 40)
                     .arg(frame->Model().pages.At(1)->items[0].y)
                     .arg(frame->Model().pages.At(1)->items[0].x));
        list->setCurrentItem(pageEntry);
        QCOMPARE(panel->BeforePicture().size(), CComparePanel::kPictureSize);
        QCOMPARE(panel->AfterPicture().size(), CComparePanel::kPictureSize);
        QVERIFY(OutlinePixels(panel->BeforePicture()) > 100);
        QVERIFY(OutlinePixels(panel->AfterPicture()) > 100);
        QVERIFY(panel->BeforePicture() != panel->AfterPicture());

        // A double-click shows the page in the page pane.
        frame->ShowPageAt(0);
        QCOMPARE(frame->CurrentPageIndex(), 0);
        emit list->itemDoubleClicked(pageEntry->child(0), 0);
        QCOMPARE(frame->CurrentPageIndex(), frame->Model().pages.IndexOfId(pageId));

        // An edit of the open set shows at once; undoing it takes it back.
        const int row = frame->Model().pages.IndexOfId(pageId);
        QVERIFY(frame->Edits().SetPageComment(row, u"改訂"_s));
        QCOMPARE(int(panel->Diff().pages.front().attributes.size()), 1);
        QCOMPARE(panel->Diff().pages.front().attributes.front().after, u"改訂"_s);
        QVERIFY(!panel->BeforePicture().isNull()); // the chosen page stays chosen
        frame->Action(cmd::kEditUndo)->trigger();
        QVERIFY(panel->Diff().pages.front().attributes.empty());

        // The file against itself: no differences.
        prompt.fileNames << sample;
        compare->trigger();
        QVERIFY(panel->Diff().IsEmpty());
        QCOMPARE(list->topLevelItemCount(), 0);
        QVERIFY(panel->Summary().contains(u"違いはありません"_s));
        QCOMPARE(prompt.unexpected, 0);
    }

    // The list speaks the editor's language: Japanese, and under the English translation the
    // very lines the command-line tool prints.
    void linesInTheEditorsLanguage()
    {
        QTemporaryDir dir;
        const QString sample = test::CopySample(dir);
        CContentModel older;
        ProgramSettings settings;
        QVERIFY(LoadProject(sample, true, settings, older.usedSize, older, StandardLoadServices()));
        settings.TimerMode = 1;
        CMyProgramInfo &page = *older.pages.At(1);
        const auto now = page.items[0];
        const QString comment = page.comment;
        page.items[0].x -= 40;
        page.items[0].width -= 20;
        // Values that hold "%1" and "%2" are shown as they are, not filled in.
        page.comment += u"50%1"_s;
        QVERIFY(older.pictures.Count() > 0);
        const int pictureId = older.pictures.At(0)->id;
        const QString label = older.pictures.At(0)->label;
        older.pictures.At(0)->label = u"旧%2写真"_s;
        auto macro = std::make_unique<CMyMacroInfo>();
        macro->id = 2;
        macro->label = u"戻る"_s;
        macro->macro = u"G:2"_s;
        older.macros.Add(std::move(macro));
        const QString before = dir.filePath(u"older.bjpx"_s);
        QVERIFY(SaveProject(older, before, SaveMode::Plain, ContentFolderOf(before), settings).ok);

        test::CScriptedPrompt prompt;
        auto frame = std::make_unique<CMainFrame>(test::TestFrameSetup(dir.path(), &prompt, 23));
        frame->show();
        frame->OpenStartFile(sample);
        QVERIFY(frame->CompareWith(before));
        CComparePanel *panel = frame->ComparePanel();
        auto shownLines = [panel] {
            QStringList lines;
            QTreeWidget *list = panel->ChangeList();
            for (int row = 0; row < list->topLevelItemCount(); ++row) {
                for (int k = 0; k < list->topLevelItem(row)->childCount(); ++k)
                    lines << list->topLevelItem(row)->child(k)->text(0);
            }
            return lines;
        };

        const QString item = u"ページ "_s + QString::number(page.id) + u" のアイテム "_s
                             + QString::number(now.id);
        const QStringList japanese = shownLines();
        const QStringList expected{
            u"設定 の TimerMode: \"1\" → \"0\""_s,
            item + u": (%1,%2) から (%3,%2) に移動"_s.arg(now.x - 40).arg(now.y).arg(now.x),
            item + u": 大きさを %1×%2 から %3×%2 に変更"_s.arg(now.width - 20).arg(now.height)
                       .arg(now.width),
            u"ページ "_s + QString::number(page.id) + u" の comment: \""_s + comment
                + u"[-50%1-]\""_s,
            u"画像 "_s + QString::number(pictureId) + u" の label: \"旧%2写真\" → \""_s + label
                + u"\""_s,
            u"マクロ 2: 削除"_s,
        };
        for (const QString &line : expected)
            QVERIFY2(japanese.contains(line), qPrintable(line + u"\n"_s + japanese.join(u'\n')));

        // English: the lines of the command-line tool, one for one.
        QTranslator english;
        QVERIFY(english.load(QString::fromUtf16(kEnglishTranslation)));
        QVERIFY(QCoreApplication::installTranslator(&english));
        panel->Refresh();
        const QStringList shown = shownLines();
        QVERIFY(QCoreApplication::removeTranslator(&english));
        QCOMPARE(shown, DiffReportLines(panel->Diff()));
        QCOMPARE(shown.size(), japanese.size());
        QVERIFY(shown.contains(u"page %1 item %2: moved (%3,%4) -> (%5,%4)"_s.arg(page.id)
                                   .arg(now.id).arg(now.x - 40).arg(now.y).arg(now.x)));
        QVERIFY(shown.contains(u"macro 2: removed"_s));
        panel->Refresh();
        QCOMPARE(shownLines(), japanese);
    }

    void aDamagedFileIsRefused()
    {
        QTemporaryDir dir;
        const QString sample = test::CopySample(dir);
        QFile source(sample);
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QByteArray bytes = source.readAll();
        const QString cut = dir.filePath(u"cut.bjpx"_s);
        QFile cutFile(cut);
        QVERIFY(cutFile.open(QIODevice::WriteOnly));
        cutFile.write(bytes.left(bytes.size() / 4 * 2));
        cutFile.close();

        test::CScriptedPrompt prompt;
        auto frame = std::make_unique<CMainFrame>(test::TestFrameSetup(dir.path(), &prompt, 22));
        frame->show();
        frame->OpenStartFile(sample);
        prompt.fileNames << cut;
        frame->Action(cmd::kCompare)->trigger();
        QCOMPARE(prompt.Messages().size(), 1);
        QVERIFY(prompt.Messages().first().contains(u"破損"_s));
        QVERIFY(!frame->CompareDock()->isVisible());
        QVERIFY(!frame->ComparePanel()->HasBefore());
    }
};

ORIN_TEST_CLASS(TestCompareDock)
#include "tst_compare_dock.moc"
