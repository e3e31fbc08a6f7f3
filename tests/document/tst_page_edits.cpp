// SPDX-License-Identifier: MIT
// The item paste and the page drop as edit operations: messages, modified flag, size pane,
// and Undo/Redo that restore the model exactly.
#include "test_registry.h"

#include "actions/copy_document.h"
#include "document/document.h"
#include "document/page_edits.h"
#include "document/recent_files.h"
#include "images/load_services.h"
#include "images/size_accounting.h"
#include "model/project_writer.h"
#include "prompt_fixtures.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace orin;
using orin::test::CScriptedPrompt;

namespace {

struct Fixture {
    QTemporaryDir dir;
    CContentModel model;
    CScriptedPrompt prompt;
    CRecentFiles recent;
    CDocument document{model, prompt, recent, StandardLoadServices(), 4};
    CPageEdits edits{model, document, prompt};

    QString Path(const QString &name) const { return dir.filePath(name); }
    // Opens a project of `pages` pages, each with one item showing picture 1.
    void Open(int pages, const QString &picture = QString())
    {
        QVERIFY(test::WriteProject(Path(QStringLiteral("news.bjpx")), pages, picture));
        QVERIFY(document.OpenProjectFile(Path(QStringLiteral("news.bjpx"))));
        for (const auto &page : model.pages) {
            page->itemCount = 1;
            page->items[0].id = 1;
            page->items[0].pic_no = 1;
        }
    }
};

// The whole model as text, to compare before and after.
QString Snapshot(const CContentModel &model)
{
    QString text = ComposeProject(model, SaveMode::Plain, QString(), ProgramSettings());
    for (const auto &p : model.pictures)
        text += QStringLiteral("|picture %1 %2 %3").arg(p->id).arg(p->path, p->sizeText);
    for (const auto &t : model.texts)
        text += QStringLiteral("|text %1 %2").arg(t->id).arg(t->text);
    return text;
}

QString CopyDocumentWithImage(const QString &imagePath)
{
    CContentModel source;
    auto picture = std::make_unique<CMyPictureInfo>();
    picture->id = 9;
    picture->path = imagePath;
    source.pictures.Add(std::move(picture));
    auto page = std::make_unique<CMyProgramInfo>();
    page->id = 4;
    page->itemCount = 1;
    page->items[0].id = 1;
    page->items[0].pic_no = 9;
    page->items[0].ret = QStringLiteral("P:9:0");
    source.pages.Add(std::move(page));
    return WriteCopyDocument(source, {0});
}

} // namespace

class TestPageEdits : public QObject {
    Q_OBJECT

private slots:
    void pasteIsOneUndoableStep()
    {
        Fixture f;
        f.Open(2);
        const QString before = Snapshot(f.model);
        CItemClipboard clipboard;
        QVERIFY(clipboard.CopyItem(f.model.pages.At(0), 0));
        auto edit = f.edits.PasteItem(f.model.pages.At(1), clipboard, PasteMode::PictureAndText,
                                      QPointF(5, 6));
        QVERIFY(edit);
        QVERIFY(f.document.IsModified());
        QVERIFY(f.document.Title().endsWith(u'*'));
        QCOMPARE(f.model.pages.At(1)->itemCount, 2);
        const QString after = Snapshot(f.model);
        QVERIFY(after != before);

        edit->Undo();
        QCOMPARE(Snapshot(f.model), before);
        edit->Redo();
        QCOMPARE(Snapshot(f.model), after);
        QVERIFY(f.prompt.records.isEmpty());
    }

    void pasteIntoAFullPageIsRefusedWithAMessage()
    {
        Fixture f;
        f.Open(1);
        CMyProgramInfo *page = f.model.pages.At(0);
        page->itemCount = kItemSlots;
        const QString before = Snapshot(f.model);
        CItemClipboard clipboard;
        QVERIFY(clipboard.CopyItem(page, 0));
        QVERIFY(!f.edits.PasteItem(page, clipboard, PasteMode::Text, QPointF()));
        QCOMPARE(f.prompt.Messages(), QStringList(QString::fromUtf16(kPageFullMessage)));
        QCOMPARE(f.prompt.records.at(0).caption, QStringLiteral("エラー"));
        QCOMPARE(Snapshot(f.model), before);
        QVERIFY(!f.document.IsModified());
    }

    void dropBeforeAnyContentAsksToLoad()
    {
        Fixture f;
        QVERIFY(!f.edits.DropPages(1, CopyDocumentWithImage(QStringLiteral("/x.jpg")), 0));
        QCOMPARE(f.prompt.Messages(), QStringList(QStringLiteral("まずコンテンツのロードが必要です")));
        QCOMPARE(f.prompt.records.at(0).caption, QStringLiteral("警告"));
        QCOMPARE(f.model.pages.Count(), 0);
        QVERIFY(!f.document.IsModified());
        // With ModeAction 0 nothing is accepted, not even to say so.
        f.prompt.Clear();
        QVERIFY(!f.edits.DropPages(0, CopyDocumentWithImage(QStringLiteral("/x.jpg")), 0));
        QVERIFY(f.prompt.records.isEmpty());
    }

    void dropOntoADamagedFileThatIsShown()
    {
        Fixture f;
        const QString path = f.Path(QStringLiteral("cut.bjpx"));
        QVERIFY(test::WriteProject(path, 2));
        const QByteArray bytes = test::ReadBytes(path);
        QVERIFY(test::WriteBytes(path, bytes.left(bytes.size() / 4 * 2)));
        QVERIFY(f.document.OpenProjectFile(path));
        QVERIFY(f.document.CurrentPath().isEmpty());
        f.prompt.Clear();
        QVERIFY(f.edits.DropPages(1, CopyDocumentWithImage(QStringLiteral("/x.jpg")), 0));
        QVERIFY(f.prompt.records.isEmpty());
        QVERIFY(f.document.IsModified());
    }

    void mergeCountsTheSizeOnceAndUndoes()
    {
        Fixture f;
        const QString image = f.Path(QStringLiteral("big.jpg"));
        QVERIFY(test::WriteBytes(image, QByteArray(300000, 'x')));
        f.Open(1);
        const QString before = Snapshot(f.model);
        auto edit = f.edits.DropPages(1, CopyDocumentWithImage(image), 7);
        QVERIFY(edit);
        QVERIFY(f.prompt.records.isEmpty());
        QVERIFY(f.document.IsModified());
        QCOMPARE(f.model.pages.Count(), 2);
        QCOMPARE(f.model.pages.At(1)->id, 2);
        QCOMPARE(f.model.pages.At(1)->timer, 7);
        QCOMPARE(f.model.pages.At(1)->items[0].ret, QStringLiteral("P:1:0"));
        QCOMPARE(f.model.usedSize, qint64(300000));
        QCOMPARE(f.document.SizeLine(), FormatSizeLine(300000, f.document.SizeLimit(), SizeForm::Binary));
        const QString after = Snapshot(f.model);

        edit->Undo();
        QCOMPARE(Snapshot(f.model), before);
        QCOMPARE(f.model.usedSize, qint64(0));
        edit->Redo();
        QCOMPARE(Snapshot(f.model), after);
    }

    void refusedMergeChangesNothing()
    {
        Fixture f;
        f.Open(1);
        auto full = std::make_unique<CMyPictureInfo>();
        full->id = 199;
        f.model.pictures.Add(std::move(full));
        const QString before = Snapshot(f.model);
        QVERIFY(!f.edits.DropPages(1, CopyDocumentWithImage(QStringLiteral("/new.jpg")), 0));
        QCOMPARE(f.prompt.Messages(), QStringList(QString::fromUtf16(kPictureTableFullMessage)));
        QCOMPARE(f.prompt.records.at(0).caption, QStringLiteral("エラー"));
        QCOMPARE(Snapshot(f.model), before);
        QVERIFY(!f.document.IsModified());
    }
};

ORIN_TEST_CLASS(TestPageEdits)
#include "tst_page_edits.moc"
