// SPDX-License-Identifier: MIT
// The canvas's item menu in the frame: its entries, copy and the three pastes through the
// frame's clipboard (one undo step each), the item properties and the posted commands.

#include "prompt_fixtures.h"
#include "page_fixtures.h"
#include "test_registry.h"

#include "actions/item_clipboard.h"
#include "app/command_ids.h"
#include "app/main_frame.h"
#include "frame_setup.h"
#include "dialogs/dlg_action.h"
#include "dialogs/dlg_item_prop.h"
#include "document/document.h"
#include "editor/form_graph.h"
#include "editor/graph_view.h"
#include "editor/item_menu.h"
#include "preview/canvas_mapping.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

// Acts on the dialog of type T once it runs modally (the menu's command comes after the
// events that are already queued).
template <typename T>
void WhenShown(std::function<void(T *)> act, int triesLeft = 200)
{
    QTimer::singleShot(5, [act, triesLeft] {
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        if (dialog)
            act(dialog);
        else if (triesLeft > 0)
            WhenShown<T>(act, triesLeft - 1);
    });
}

// Counts the dialogs shown while it lives, and closes each again.
class CDialogWatch : public QObject {
public:
    CDialogWatch() { qApp->installEventFilter(this); }
    ~CDialogWatch() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto *dialog = qobject_cast<QDialog *>(watched)) {
                ++shown;
                QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
            }
        }
        return false;
    }
    int shown = 0;
};

struct Fixture {
    QTemporaryDir dir;
    CScriptedPrompt prompt;
    std::unique_ptr<CMainFrame> frame;

    Fixture()
    {
        FrameSetup setup = test::TestFrameSetup(dir.path(), &prompt);
        frame = std::make_unique<CMainFrame>(setup);
        frame->show();
    }
    // Opens a project of `pages` empty pages; page 1 then gets item 1 at (100, 100) showing
    // text 3 and picture 5, and item 2 (hidden kind) over it at (150, 120).
    void Open(int pages, const QString &name = QStringLiteral("news.bjpx"))
    {
        const QString path = dir.filePath(name);
        QVERIFY(WriteProject(path, pages));
        prompt.fileNames = {path};
        frame->Action(cmd::kFileOpen)->trigger();
        CContentModel &model = frame->Model();
        QCOMPARE(model.pages.Count(), pages);
        auto text = std::make_unique<CMyTextInfo>();
        text->id = 3;
        text->text = QStringLiteral("こんにちは");
        text->item = 7;
        text->label = QStringLiteral("T");
        model.texts.Add(std::move(text));
        auto picture = std::make_unique<CMyPictureInfo>();
        picture->id = 5;
        picture->type = kImageJpeg;
        picture->sizeText = QStringLiteral("12KB");
        picture->label = QStringLiteral("P");
        model.pictures.Add(std::move(picture));
        PageItem &first = AddItem(*model.pages.At(0), 1, 100, 100);
        first.text_no = 3;
        first.pic_no = 5;
        AddItem(*model.pages.At(0), 2, 150, 120).idg = 4;
        frame->ShowPageAt(0);
    }
    CGraphView *View() const { return frame->FormGraph()->GraphView(); }
    QPoint ClientOf(int x, int y) const
    {
        return CCanvasMapping(View()->size(), false).MapToClient(x, y, 0, 0).topLeft();
    }
    QPointF PageOf(QPoint client) const
    {
        return CCanvasMapping(View()->size(), false).ClientToPage(client);
    }
    // The command numbers the entries carry (0 for separators).
    QList<int> Commands(QPoint client) const
    {
        QList<int> commands;
        std::unique_ptr<QMenu> menu = View()->MakeItemMenu(client);
        if (menu) {
            for (QAction *action : menu->actions())
                commands.append(action->data().toInt());
        }
        return commands;
    }
    QStringList Labels(QPoint client) const
    {
        QStringList labels;
        std::unique_ptr<QMenu> menu = View()->MakeItemMenu(client);
        if (menu) {
            for (QAction *action : menu->actions())
                labels.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        return labels;
    }
    // Opens the menu at the point and chooses the entry; the posted command runs.
    bool Choose(QPoint client, const QString &label) const
    {
        std::unique_ptr<QMenu> menu = View()->MakeItemMenu(client);
        if (!menu)
            return false;
        for (QAction *action : menu->actions()) {
            if (action->text() == label) {
                action->trigger();
                QCoreApplication::processEvents();
                return true;
            }
        }
        return false;
    }
    int Steps() const { return frame->Document().UndoStack().count(); }
};

} // namespace

class FrameItemMenuTest : public QObject {
    Q_OBJECT

private slots:
    void entriesFollowTheItemsAndTheModes()
    {
        Fixture f;
        f.Open(2);
        const QPoint both = f.ClientOf(160, 130);  // items 1 and 2
        const QPoint empty = f.ClientOf(600, 400); // no item
        const QStringList full{
            QStringLiteral("アイテム1 - テキスト   テキストID:3, ラベル:T"),
            QStringLiteral("アイテム2 - テキスト - 非表示"),
            QStringLiteral("-"),
            QStringLiteral("アイテム1 - イメージ   画像ID:5, サイズ:12KB, タイプ:JPEG, ラベル:P"),
            QStringLiteral("-"),
            QStringLiteral("アイテム1 - アクション "),
            QStringLiteral("アイテム2 - アクション - 非表示"),
            QStringLiteral("-"),
            QStringLiteral("アイテム属性..."),
            QStringLiteral("Copy")};
        QCOMPARE(f.Labels(both), full);
        // Nothing copied: no menu where there is no item.
        QVERIFY(f.Labels(empty).isEmpty());

        QVERIFY(f.Choose(both, QStringLiteral("Copy")));
        QVERIFY(f.frame->ItemClipboard().HasItem());
        QCOMPARE(f.frame->ItemClipboard().Item().id, 2); // the topmost item
        const QStringList pastes{QStringLiteral("Paste(完全コピー)"),
                                 QStringLiteral("Paste(テキスト変更可)"),
                                 QStringLiteral("Paste(画像・テキスト変更可)")};
        QCOMPARE(f.Labels(empty), pastes);
        QCOMPARE(f.Labels(both).mid(8), full.mid(8) + pastes);
        QCOMPARE(f.Commands(both), (QList<int>{4000, 4001, 0, 4256, 0, 4512, 4513, 0, 32799,
                                               32773, 32775, 32811, 32809}));

        // ModeAction 0: no action entries, nothing that changes the page's items.
        f.View()->SetModeAction(0);
        QCOMPARE(f.Labels(both), full.mid(0, 4));
        QVERIFY(f.Labels(empty).isEmpty());
        // The server mode: only the action entries.
        f.View()->SetModeAction(1);
        f.View()->SetModeAccess(2);
        QCOMPARE(f.Labels(both), full.mid(5, 2));
        // Server content whose label contents list the picture's label "P": its image entry
        // comes back; another label does not do it.
        f.frame->Model().serverLabels.pictures = QStringList{QStringLiteral("Q")};
        QCOMPARE(f.Labels(both), full.mid(5, 2));
        f.frame->Model().serverLabels.pictures = QStringList{QStringLiteral("P")};
        QCOMPARE(f.Labels(both), full.mid(3, 4));
    }

    void imageEntryNote_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("picture"); // the item's pic_no; the record has id 5
        QTest::addColumn<QString>("label");
        const QString head = QStringLiteral("アイテム1 - イメージ  ");
        QTest::newRow("empty record: twice the item size")
            << int(kImageEmpty) << 5
            << head + QStringLiteral(" 画像ID:5, サイズ:(200×100), タイプ:---, ラベル:P");
        QTest::newRow("gif") << int(kImageGif) << 5
                             << head + QStringLiteral(" 画像ID:5, サイズ:12KB, タイプ:GIF, ラベル:P");
        QTest::newRow("colour-map png")
            << int(kImageColourMapPng) << 5
            << head + QStringLiteral(" 画像ID:5, サイズ:12KB, タイプ:APNG, ラベル:P");
        QTest::newRow("no such record: no note") << int(kImageJpeg) << 9 << head;
    }

    void imageEntryNote()
    {
        QFETCH(int, type);
        QFETCH(int, picture);
        QFETCH(QString, label);
        Fixture f;
        f.Open(1);
        f.frame->Model().pictures.FindById(5)->type = type;
        f.frame->Model().pages.At(0)->items[0].pic_no = picture;
        f.frame->ShowPageAt(0);
        // After the text entry and its separator.
        QCOMPARE(f.Labels(f.ClientOf(110, 110)).value(2), label);
    }

    void pasteModesGoThroughTheUndoStack()
    {
        Fixture f;
        f.Open(2);
        QVERIFY(f.Choose(f.ClientOf(110, 110), QStringLiteral("Copy")));
        QCOMPARE(f.frame->ItemClipboard().Item().id, 1);
        const QPoint at = f.ClientOf(400, 300);
        const QPointF pagePoint = f.PageOf(at);
        const int steps = f.Steps();
        QVERIFY(f.Choose(at, QStringLiteral("Paste(テキスト変更可)")));
        CContentModel &model = f.frame->Model();
        const CMyProgramInfo &page = *model.pages.At(0);
        QCOMPARE(f.Steps(), steps + 1);
        QCOMPARE(page.itemCount, 3);
        const PageItem &pasted = page.items[2];
        QCOMPARE(pasted.id, 3);
        QCOMPARE(pasted.x, float(int(pagePoint.x())));
        QCOMPARE(pasted.y, float(int(pagePoint.y())));
        QCOMPARE(pasted.pic_no, 5);
        QCOMPARE(pasted.text_no, 4);
        const CMyTextInfo *copy = model.texts.FindById(4);
        QVERIFY(copy);
        QCOMPARE(copy->text, QStringLiteral("こんにちは"));
        QCOMPARE(copy->item, 7);
        QVERIFY(copy->label.isEmpty());
        // The canvas shows the page again, with the new item.
        QCOMPARE(int(f.View()->Engine().Items().size()), 3);
        QVERIFY(f.frame->windowTitle().endsWith(u'*'));

        f.frame->Action(cmd::kEditUndo)->trigger();
        QCOMPARE(page.itemCount, 2);
        QVERIFY(!model.texts.FindById(4));
        QCOMPARE(int(f.View()->Engine().Items().size()), 2);
        f.frame->Action(cmd::kEditRedo)->trigger();
        QCOMPARE(page.itemCount, 3);
        QCOMPARE(model.texts.FindById(4)->text, QStringLiteral("こんにちは"));

        // Picture and text copy: a new picture record with the source's values.
        QVERIFY(f.Choose(at, QStringLiteral("Paste(画像・テキスト変更可)")));
        QCOMPARE(page.itemCount, 4);
        QCOMPARE(page.items[3].pic_no, 6);
        QCOMPARE(model.pictures.FindById(6)->sizeText, QStringLiteral("12KB"));
        QCOMPARE(f.Steps(), steps + 2);

        // Another page keeps the copied position.
        f.frame->ShowPageAt(1);
        QVERIFY(f.Choose(at, QStringLiteral("Paste(完全コピー)")));
        const CMyProgramInfo &other = *model.pages.At(1);
        QCOMPARE(other.itemCount, 1);
        QCOMPARE(other.items[0].x, 100.0f);
        QCOMPARE(other.items[0].text_no, 3);
        QCOMPARE(f.Steps(), steps + 3);
    }

    void clipboardOutlivesTheContentSetAndFullPagesAreRefused()
    {
        Fixture f;
        f.Open(1);
        QVERIFY(f.Choose(f.ClientOf(110, 110), QStringLiteral("Copy")));
        f.prompt.answers = {PromptAnswer::No}; // do not save the first set
        f.Open(1, QStringLiteral("other.bjpx"));
        QVERIFY(f.frame->ItemClipboard().HasItem());
        CMyProgramInfo &page = *f.frame->Model().pages.At(0);
        // The same page id in another set is not the source page: the copied position stays.
        QVERIFY(f.Choose(f.ClientOf(600, 400), QStringLiteral("Paste(完全コピー)")));
        QCOMPARE(page.itemCount, 3);
        QCOMPARE(page.items[2].x, 100.0f);

        for (int id = 4; page.itemCount < kItemSlots; ++id)
            AddItem(page, id, 700, 450);
        f.frame->ShowPageAt(0);
        const int steps = f.Steps();
        f.prompt.Clear();
        QVERIFY(f.Choose(f.ClientOf(600, 400), QStringLiteral("Paste(完全コピー)")));
        QCOMPARE(page.itemCount, kItemSlots);
        QCOMPARE(f.Steps(), steps);
        QCOMPARE(f.prompt.Messages(), QStringList{QString::fromUtf16(kPageFullMessage)});
        QCOMPARE(f.prompt.records.value(0).caption, QStringLiteral("エラー"));
    }

    void itemPropertiesAndActionEditTheShownItem()
    {
        Fixture f;
        f.Open(2);
        const QPoint first = f.ClientOf(110, 110);
        WhenShown<CDlgItemProp>([](CDlgItemProp *dialog) {
            dialog->Field(1023)->setText(QStringLiteral("77"));
            dialog->accept();
        });
        const int steps = f.Steps();
        QVERIFY(f.Choose(first, QStringLiteral("アイテム属性...")));
        QCOMPARE(f.frame->Model().pages.At(0)->items[0].width, 77.0f);
        QCOMPARE(f.View()->Engine().Items()[0].item.width, 77.0f);
        QCOMPARE(f.Steps(), steps + 1);

        WhenShown<CDlgAction>([](CDlgAction *dialog) {
            dialog->RetField()->setText(QStringLiteral("G:2"));
            dialog->accept();
        });
        QVERIFY(f.Choose(first, QStringLiteral("アイテム1 - アクション ")));
        QCOMPARE(f.frame->Model().pages.At(0)->items[0].ret, QStringLiteral("G:2"));
        QCOMPARE(f.View()->Engine().Items()[0].item.ret, QStringLiteral("G:2"));

        // A posted index that the display list no longer has is ignored (no dialog opens).
        f.frame->ShowPageAt(1);
        {
            // The commands run at once: a dialog would be shown before they return.
            CDialogWatch watch;
            f.View()->RunItemCommand(itemcmd::kAction + 1);
            f.View()->RunItemCommand(itemcmd::kImage + 0);
            QCOMPARE(watch.shown, 0);
        }
        QVERIFY(f.prompt.fileNames.isEmpty() && f.prompt.unexpected == 0);
        // A menu of another page does not act on the page shown now.
        f.frame->ShowPageAt(0);
        std::unique_ptr<QMenu> menu = f.View()->MakeItemMenu(first);
        f.frame->ShowPageAt(1);
        f.View()->RunItemCommand(itemcmd::kCopy);
        QVERIFY(!f.frame->ItemClipboard().HasItem());
        QCOMPARE(f.Steps(), steps + 2);
    }
};

ORIN_TEST_CLASS(FrameItemMenuTest)

#include "tst_frame_item_menu.moc"
