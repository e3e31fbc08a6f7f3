// SPDX-License-Identifier: MIT
// The page list: thumbnail unit and zoom, thumbnails (turned, placeholder, changed files, no
// decode on a repaint), context menus, delete, comments in place, drags and drops.

#include "image_fixtures.h"
#include "document_fixture.h"
#include "test_registry.h"

#include "actions/copy_document.h"
#include "document/document.h"
#include "document/document_edits.h"
#include "document/image_edits.h"
#include "document/recent_files.h"
#include "editor/form_list.h"
#include "editor/page_list_model.h"
#include "editor/page_list_view.h"
#include "images/load_services.h"

#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QUrl>
#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

struct Fixture : DocumentParts {
    CFormList list;

    Fixture()
    {
        list.Bind(&model, &document, &edits, &prompt);
        list.resize(300, 600);
        QObject::connect(&document, &CDocument::ModelEdited, &list,
                         [this](int row, bool table, bool) {
                             if (table)
                                 list.SetItemCount(model.pages.Count());
                             else
                                 list.RefreshRow(row);
                         });
    }
    // Opens a project of `pages` pages (ids 1.., comments "page N").
    void Open(int pages)
    {
        QVERIFY(WriteProject(Path(QStringLiteral("news.bjpx")), pages));
        QVERIFY(document.OpenProjectFile(Path(QStringLiteral("news.bjpx"))));
        list.SetItemCount(model.pages.Count());
    }
    QList<int> Ids() const
    {
        QList<int> ids;
        for (const auto &page : model.pages)
            ids.append(page->id);
        return ids;
    }
    QImage Thumbnail(int row) const
    {
        return list.ListModel()
            ->data(list.ListModel()->index(row, CPageListModel::kImageColumn), Qt::DecorationRole)
            .value<QImage>();
    }
    QPoint RowPoint(int row, bool lowerHalf) const
    {
        CPageListView *view = list.ListView();
        const int top = view->rowViewportPosition(row);
        return QPoint(40, lowerHalf ? top + view->rowHeight(row) - 2 : top + 2);
    }
};

// A JPEG whose left half is red and right half blue.
bool WriteHalves(const QString &path, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, width / 2, height, Qt::red);
    return image.save(path, "JPEG", 95);
}

bool IsRed(QRgb c) { return qRed(c) > 200 && qBlue(c) < 60; }
bool IsBlue(QRgb c) { return qBlue(c) > 200 && qRed(c) < 60; }

QStringList Labels(QMenu &menu)
{
    QStringList labels;
    const QList<QAction *> actions = menu.actions();
    for (QAction *action : actions)
        labels.append(action->text());
    return labels;
}

} // namespace

class FormListTest : public QObject {
    Q_OBJECT

private slots:
    void zoomKeepsTheUnitWithinItsBounds_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<bool>("plus");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("160 plus") << 160 << false << true << QSize(192, 108);
        QTest::newRow("160 minus") << 160 << false << false << QSize(128, 72);
        QTest::newRow("u 16 plus stays") << 256 << false << true << QSize(256, 144);
        QTest::newRow("u 14 plus") << 224 << false << true << QSize(256, 144);
        QTest::newRow("u 2 minus stays") << 32 << false << false << QSize(32, 18);
        QTest::newRow("vertical 160 is u 17") << 160 << true << false << QSize(135, 240);
        QTest::newRow("vertical u 17 plus stays") << 160 << true << true << QSize(153, 272);
    }

    void zoomKeepsTheUnitWithinItsBounds()
    {
        QFETCH(int, width);
        QFETCH(bool, vertical);
        QFETCH(bool, plus);
        QFETCH(QSize, expected);
        CFormList list;
        list.SetVertical(vertical);
        list.SetThumbnailSize(QSize(width, 0));
        const QList<QPushButton *> buttons = list.findChildren<QPushButton *>();
        QPushButton *button = nullptr;
        for (QPushButton *b : buttons) {
            if (b->text() == (plus ? QStringLiteral("+") : QStringLiteral("-")))
                button = b;
        }
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(list.ThumbnailSize(), expected);
        QCOMPARE(list.ListView()->columnWidth(CPageListModel::kImageColumn), expected.width());
    }

    void thumbnailsTurnForPortraitAndShowThePlaceholder()
    {
        Fixture f;
        f.Open(3);
        const QString landscape = f.Path(QStringLiteral("land.jpg"));
        QVERIFY(WriteHalves(landscape, 960, 540));
        f.model.pages.At(0)->background = landscape;
        f.model.pages.At(1)->background = f.Path(QStringLiteral("missing.jpg"));
        QVERIFY(WriteBytes(f.Path(QStringLiteral("bad.jpg")), QByteArray("not a jpeg")));
        f.model.pages.At(2)->background = f.Path(QStringLiteral("bad.jpg"));

        QImage plain = f.Thumbnail(0);
        QCOMPARE(plain.size(), f.list.ThumbnailSize());
        QVERIFY(IsRed(plain.pixel(5, plain.height() / 2)));
        QVERIFY(IsBlue(plain.pixel(plain.width() - 5, plain.height() / 2)));

        f.list.SetVertical(true);
        const QImage turned = f.Thumbnail(0);
        QCOMPARE(turned.size(), f.list.ThumbnailSize());
        QVERIFY(turned.height() > turned.width());
        // A quarter turn clockwise: the left half is now on top.
        QVERIFY(IsRed(turned.pixel(turned.width() / 2, 5)));
        QVERIFY(IsBlue(turned.pixel(turned.width() / 2, turned.height() - 5)));

        const QImage placeholder =
            MakeThumbnail(QString(), f.list.ThumbnailSize(), true);
        QCOMPARE(f.Thumbnail(1), placeholder);
        QCOMPARE(f.Thumbnail(2), placeholder);
    }

    void changedFilesShowChangedAndRepaintsDecodeNothing()
    {
        Fixture f;
        f.Open(2);
        const QString path = f.Path(QStringLiteral("bg.jpg"));
        QVERIFY(WriteHalves(path, 960, 540));
        f.model.pages.At(0)->background = path;
        f.model.pages.At(1)->background = path;
        QVERIFY(IsRed(f.Thumbnail(0).pixel(5, 5)));
        const int decodes = f.list.ListModel()->Thumbnails().Decodes();
        for (int i = 0; i < 5; ++i) {
            f.Thumbnail(0);
            f.Thumbnail(1);
        }
        QCOMPARE(f.list.ListModel()->Thumbnails().Decodes(), decodes);
        // The file is written again: blue all over, with another time and size.
        QImage blue(1920, 1080, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        QVERIFY(blue.save(path, "JPEG", 50));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(10),
                                 QFileDevice::FileModificationTime));
        file.close();
        QVERIFY(IsBlue(f.Thumbnail(0).pixel(5, 5)));
    }

    void contextMenuFollowsModeAction()
    {
        Fixture f;
        f.Open(2);
        f.list.SetModeAction(0);
        std::unique_ptr<QMenu> shortMenu = f.list.MakeContextMenu();
        QCOMPARE(Labels(*shortMenu), QStringList{QStringLiteral("画像変更...")});
        f.list.SetModeAction(1);
        f.list.SetDesignMode(true);
        std::unique_ptr<QMenu> full = f.list.MakeContextMenu();
        QCOMPARE(Labels(*full), (QStringList{QStringLiteral("画像変更..."),
                                            QStringLiteral("リナンバリング"),
                                            QStringLiteral("ページ属性..."),
                                            QStringLiteral("編集／デザインモード切替"),
                                            QStringLiteral("ページ削除")}));
        QList<int> ids;
        for (QAction *action : full->actions())
            ids.append(action->data().toInt());
        QCOMPARE(ids, (QList<int>{32796, 32780, 32797, 32798, 32795}));
        QVERIFY(full->actions().at(3)->isChecked());
    }

    void deleteAsksAndNeedsASelectedRow()
    {
        Fixture f;
        f.Open(3);
        f.list.RunCommand(listcmd::kDeletePage); // nothing selected: nothing asked
        QVERIFY(f.prompt.records.isEmpty());
        f.list.SelectRow(1);
        f.prompt.answers = {PromptAnswer::No};
        f.list.RunCommand(listcmd::kDeletePage);
        QCOMPARE(f.Ids(), (QList<int>{1, 2, 3}));
        f.prompt.answers = {PromptAnswer::Yes};
        f.list.SelectRow(1);
        f.list.RunCommand(listcmd::kDeletePage);
        QCOMPARE(f.Ids(), (QList<int>{1, 3}));
        QCOMPARE(f.list.ItemCount(), 2);
        QCOMPARE(f.prompt.Messages(), (QStringList{QStringLiteral("ページを削除しますか？"),
                                                   QStringLiteral("ページを削除しますか？")}));
        QVERIFY(f.document.IsModified());
    }

    void commentsAreEditedInColumnThreeOnly()
    {
        Fixture f;
        f.Open(2);
        CPageListModel *m = f.list.ListModel();
        QVERIFY(m->flags(m->index(0, CPageListModel::kCommentColumn)) & Qt::ItemIsEditable);
        QVERIFY(!(m->flags(m->index(0, CPageListModel::kIdColumn)) & Qt::ItemIsEditable));
        QVERIFY(!m->setData(m->index(0, CPageListModel::kIdColumn), QStringLiteral("9"),
                            Qt::EditRole));
        QVERIFY(!m->setData(m->index(0, CPageListModel::kImageColumn), QStringLiteral("x"),
                            Qt::EditRole));
        QCOMPARE(f.model.pages.At(0)->id, 1);
        QVERIFY(!f.document.IsModified());
        QVERIFY(m->setData(m->index(1, CPageListModel::kCommentColumn), QStringLiteral("新しい"),
                           Qt::EditRole));
        QCOMPARE(f.model.pages.At(1)->comment, QStringLiteral("新しい"));
        QVERIFY(f.document.IsModified());
        f.list.SetModeAction(0);
        QVERIFY(!(m->flags(m->index(0, CPageListModel::kCommentColumn)) & Qt::ItemIsEditable));
    }

    void internalDropsReorderAndDuplicate()
    {
        Fixture f;
        f.Open(3);
        f.list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.list));
        CPageListView *view = f.list.ListView();
        QCOMPARE(view->DropTargetRow(f.RowPoint(2, true)), 3);
        QCOMPARE(view->DropTargetRow(f.RowPoint(2, false)), 2);
        QCOMPARE(view->DropTargetRow(QPoint(40, view->viewport()->height() - 2)), 3);
        QMimeData data;
        data.setText(QStringLiteral("x"));
        // The first row below the third with Ctrl: a copy with a new, highest id after it.
        view->SetDragSource(0);
        QVERIFY(view->HandleDrop(data, f.RowPoint(2, true), true, true));
        QCOMPARE(f.Ids(), (QList<int>{1, 2, 3, 4}));
        QCOMPARE(f.model.pages.At(3)->comment, QStringLiteral("page 1"));
        QCOMPARE(f.list.SelectedRow(), 3);
        // Without Ctrl: a move; the row lands one less when it moves down.
        view->SetDragSource(0);
        QVERIFY(view->HandleDrop(data, f.RowPoint(1, true), false, true));
        QCOMPARE(f.Ids(), (QList<int>{2, 1, 3, 4}));
        QCOMPARE(f.list.SelectedRow(), 1);
        QVERIFY(f.document.IsModified());
        f.document.UndoStack().undo();
        f.document.UndoStack().undo();
        QCOMPARE(f.Ids(), (QList<int>{1, 2, 3}));
        // ModeAction 0 refuses the drop.
        f.list.SetModeAction(0);
        view->SetDragSource(0);
        QVERIFY(!view->HandleDrop(data, f.RowPoint(2, true), false, true));
        QCOMPARE(f.Ids(), (QList<int>{1, 2, 3}));
    }

    void dragsCarryTheCopyDocumentOfTheSelectedRows()
    {
        Fixture f;
        f.Open(3);
        f.list.SelectRow(0);
        f.list.ListView()->selectionModel()->select(
            f.list.ListModel()->index(2, 1),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QCOMPARE(f.list.ListView()->DragText(), WriteCopyDocument(f.model, {0, 2}));
        f.list.SetModeAction(0);
        QVERIFY(f.list.ListView()->DragText().isEmpty());
    }

    void externalDropsMergeOrAskForContentFirst()
    {
        Fixture f;
        f.list.SetItemCount(0);
        QMimeData data;
        data.setText(QStringLiteral("<BMLJPEG>"));
        QVERIFY(f.list.ListView()->HandleDrop(data, QPoint(5, 5), false, false));
        QCOMPARE(f.prompt.Messages(), QStringList{QStringLiteral("まずコンテンツのロードが必要です")});
        QCOMPARE(f.prompt.records.at(0).caption, QStringLiteral("警告"));

        f.prompt.Clear();
        f.Open(1);
        CContentModel source;
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = 1;
        page->comment = QStringLiteral("dropped");
        source.pages.Add(std::move(page));
        QMimeData copy;
        copy.setText(WriteCopyDocument(source, {0}));
        QVERIFY(f.list.ListView()->HandleDrop(copy, QPoint(5, 5), false, false));
        QCOMPARE(f.model.pages.Count(), 2);
        QCOMPARE(f.list.ItemCount(), 2);
        QCOMPARE(f.model.pages.At(1)->comment, QStringLiteral("dropped"));
        QCOMPARE(f.document.UndoStack().count(), 1);
        f.document.UndoStack().undo();
        QCOMPARE(f.model.pages.Count(), 1);
    }

    void droppedJpegBecomesTheRowsBackground()
    {
        Fixture f;
        f.Open(2);
        f.list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.list));
        const QString path = f.Path(QStringLiteral("new.jpg"));
        QVERIFY(WriteJpeg(path, 960, 540));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QVERIFY(f.list.ListView()->HandleDrop(data, f.RowPoint(1, false), false, false));
        QCOMPARE(f.model.pages.At(1)->background, path);
        QVERIFY(f.model.pages.At(0)->background.isEmpty());
        QVERIFY(f.document.UndoStack().canUndo());
        // The server access mode keeps the background.
        f.list.SetModeAccess(2);
        QVERIFY(f.list.ListView()->HandleDrop(data, f.RowPoint(0, false), false, false));
        QVERIFY(f.model.pages.At(0)->background.isEmpty());
        f.list.SelectRow(0);
        f.list.RunCommand(listcmd::kChangeBackground);
        QVERIFY(f.prompt.records.isEmpty()); // no file dialog
        // ... unless the server's label contents made "[BACKGROUND]" the current label.
        f.model.serverLabels.current = QStringLiteral("[BACKGROUND]");
        QVERIFY(f.list.ListView()->HandleDrop(data, f.RowPoint(0, false), false, false));
        QCOMPARE(f.model.pages.At(0)->background, path);
        f.model.serverLabels = {};
        f.list.SetModeAccess(0);
        f.prompt.fileNames = {QString()};
        f.list.RunCommand(listcmd::kChangeBackground);
        QCOMPARE(f.prompt.records.size(), 1);
        QCOMPARE(f.prompt.records.at(0).text, QStringLiteral("JPEGファイルの読み込み"));
    }
};

ORIN_TEST_CLASS(FormListTest)

#include "tst_form_list.moc"
