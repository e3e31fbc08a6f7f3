// SPDX-License-Identifier: MIT
// The content difference: what a reviewer reads about two versions of a content set.

#include "content_fixture.h"
#include "test_paths.h"
#include "test_registry.h"

#include "actions/action_strings.h"
#include "actions/content_diff.h"
#include "images/load_services.h"
#include "model/project_reader.h"

#include <QJsonArray>
#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

// Three pages that lead to each other, a text shown on page 1 and a macro.
const QString kBase = QStringLiteral(
    "page 1 blue=2 red=3\n"
    "item 1 ret=G:2 down=2 text_no=5\n"
    "item 2 ret=G:3 up=1\n"
    "page 2 return=1\n"
    "item 1 ret=1\n"
    "page 3 return=1\n"
    "item 1 ret=G:1\n"
    "macro 3 G:2,T:5:1\n"
    "text 5 今日は晴れ です\n");

QStringList Report(const QString &beforeText, const QString &afterText)
{
    CContentModel before, after;
    ProgramSettings beforeSettings, afterSettings;
    BuildContent(beforeText, before, beforeSettings);
    BuildContent(afterText, after, afterSettings);
    return DiffReportLines(DiffContent({before, beforeSettings, QString()},
                                       {after, afterSettings, QString()}));
}

QString Edited(QString text, const QString &from, const QString &to)
{
    if (!text.contains(from))
        qFatal("fixture edit not found: %s", qPrintable(from));
    return text.replace(from, to);
}

void LoadSample(CContentModel &model, ProgramSettings &settings)
{
    const QString path = SourceDir() + QStringLiteral("/examples/sample.bjpx");
    QVERIFY(LoadProject(path, true, settings, model.usedSize, model, StandardLoadServices()));
    QCOMPARE(model.pages.Count(), 4);
}

} // namespace

class ContentDiffTest : public QObject {
    Q_OBJECT

private slots:
    void reportsEachKindOfEdit_data()
    {
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("equal") << kBase << QStringList();
        QTest::newRow("settings")
            << QStringLiteral("settings TimerMode=1\n") + kBase
            << QStringList{QStringLiteral("settings TimerMode: \"0\" -> \"1\"")};
        QTest::newRow("page attribute")
            << Edited(kBase, QStringLiteral("blue=2"), QStringLiteral("blue=3"))
            << QStringList{QStringLiteral("page 1 blue: \"2\" -> \"3\"")};
        QTest::newRow("item moved and resized")
            << Edited(kBase, QStringLiteral("item 2 ret=G:3"),
                      QStringLiteral("item 2 x=50 y=60 width=120 ret=G:3"))
            << QStringList{QStringLiteral("page 1 item 2: moved (20,10) -> (50,60)"),
                           QStringLiteral("page 1 item 2: resized 100x40 -> 120x40")};
        QTest::newRow("item added")
            << Edited(kBase, QStringLiteral("page 2 return=1\n"),
                      QStringLiteral("item 7 text=新\npage 2 return=1\n"))
            << QStringList{QStringLiteral("page 1 item 7: added at (30,10) 100x40")};
        QTest::newRow("item removed")
            << Edited(kBase, QStringLiteral("item 2 ret=G:3 up=1\n"), QString())
            << QStringList{QStringLiteral("page 1 item 2: removed from (20,10) 100x40")};
        QTest::newRow("action string, word by word")
            << Edited(kBase, QStringLiteral("ret=G:3 up=1"), QStringLiteral("ret=G:2,T:5:1 up=1"))
            << QStringList{QStringLiteral("page 1 item 2 ret: \"G:[-3-]{+2,T:5:1+}\"")};
        QTest::newRow("text record, character by character in Japanese")
            << Edited(kBase, QStringLiteral("今日は晴れ です"), QStringLiteral("今日は雨 です"))
            << QStringList{QStringLiteral("text 5 text: \"今日は[-晴れ-]{+雨+} です\"")};
        QTest::newRow("macro")
            << Edited(kBase, QStringLiteral("macro 3 G:2"), QStringLiteral("macro 3 G:3"))
            << QStringList{QStringLiteral("macro 3 macro: \"G:[-2-]{+3+},T:5:1\"")};
        QTest::newRow("page added")
            << kBase + QStringLiteral("page 9\n")
            << QStringList{QStringLiteral("page 9: added at position 4")};
        QTest::newRow("page removed, references to it unchanged")
            << Edited(kBase, QStringLiteral("page 3 return=1\nitem 1 ret=G:1\n"), QString())
            << QStringList{QStringLiteral("page 3: removed from position 3")};
        QTest::newRow("page moved")
            << QStringLiteral("page 1 blue=2 red=3\n"
                              "item 1 ret=G:2 down=2 text_no=5\n"
                              "item 2 ret=G:3 up=1\n"
                              "page 3 return=1\n"
                              "item 1 ret=G:1\n"
                              "page 2 return=1\n"
                              "item 1 ret=1\n"
                              "macro 3 G:2,T:5:1\n"
                              "text 5 今日は晴れ です\n")
            << QStringList{QStringLiteral("page 2: moved from position 2 to 3")};
        // Page 3 becomes page 7 and every reference follows: only the renumbering shows.
        QTest::newRow("page renumbered")
            << Edited(Edited(Edited(kBase, QStringLiteral("red=3"), QStringLiteral("red=7")),
                             QStringLiteral("item 2 ret=G:3"), QStringLiteral("item 2 ret=G:7")),
                      QStringLiteral("page 3 return=1"), QStringLiteral("page 7 return=1"))
            << QStringList{QStringLiteral("page 3->7: renumbered 3 -> 7")};
        // A reference that still names the old number after the renumbering now leads elsewhere.
        QTest::newRow("page renumbered, one reference left behind")
            << Edited(Edited(kBase, QStringLiteral("red=3"), QStringLiteral("red=7")),
                      QStringLiteral("page 3 return=1"), QStringLiteral("page 7 return=1"))
            << QStringList{QStringLiteral("page 1 item 2 ret: \"G:[-7-]{+3+}\""),
                           QStringLiteral("page 3->7: renumbered 3 -> 7")};
        // Page 3 becomes page 7 and a new page takes its number: what still names 3 now leads
        // to the new page. A page reference shows its old value in the new numbering, as action
        // strings do.
        QTest::newRow("page renumbered, a new page takes its number")
            << Edited(kBase, QStringLiteral("page 3 return=1"), QStringLiteral("page 7 return=1"))
                   + QStringLiteral("page 3\n")
            << QStringList{QStringLiteral("page 1 red: \"7\" -> \"3\""),
                           QStringLiteral("page 1 item 2 ret: \"G:[-7-]{+3+}\""),
                           QStringLiteral("page 3->7: renumbered 3 -> 7"),
                           QStringLiteral("page 3: added at position 4")};
        // The item's text number follows the pairing; a number inside an action string or a
        // macro is shown as it changed.
        QTest::newRow("text renumbered, its item follows")
            << Edited(Edited(Edited(kBase, QStringLiteral("text 5 "), QStringLiteral("text 6 ")),
                             QStringLiteral("text_no=5"), QStringLiteral("text_no=6")),
                      QStringLiteral("T:5:1"), QStringLiteral("T:6:1"))
            << QStringList{QStringLiteral("text 5->6: renumbered 5 -> 6"),
                           QStringLiteral("macro 3 macro: \"G:2,T:[-5-]{+6+}:1\"")};
        QTest::newRow("record added and removed")
            << Edited(kBase, QStringLiteral("macro 3 G:2,T:5:1\n"), QStringLiteral("image 200\n"))
            << QStringList{QStringLiteral("material 200: added"), QStringLiteral("macro 3: removed")};
    }

    void reportsEachKindOfEdit()
    {
        QFETCH(QString, after);
        QFETCH(QStringList, lines);
        const QStringList report = Report(kBase, after);
        QCOMPARE(report, lines);
    }

    void repeatedIdsPairInListOrder()
    {
        // A file may repeat an id: such pages and items pair in their order, and only what
        // changed shows.
        const QString before = QStringLiteral("page 1\n"
                                              "item 0 text=a\nitem 0 text=b\nitem 0 text=c\n"
                                              "page 1 timer=5\n");
        const QString after = QStringLiteral("page 1\n"
                                             "item 0 text=a\nitem 0 text=B\nitem 0 text=c\n"
                                             "page 1 timer=6\n");
        QCOMPARE(Report(before, after),
                 (QStringList{QStringLiteral("page 1 item 0 text: \"[-b-]{+B+}\""),
                              QStringLiteral("page 1 timer: \"5\" -> \"6\"")}));
    }

    void aReferenceThatLedNowhereFindsANewPage()
    {
        // The same text on both sides, but the number now names a page that came.
        const QString before = Edited(kBase, QStringLiteral("blue=2"), QStringLiteral("blue=9"));
        QCOMPARE(Report(before, before + QStringLiteral("page 9\n")),
                 (QStringList{QStringLiteral("page 1 blue: \"9\" now leads elsewhere"),
                              QStringLiteral("page 9: added at position 4")}));
    }

    void aRenumberedSetWithReferencesToNoPageIsOnlyRenumbered()
    {
        // Renumbering writes a reference to no page as 0: the pages still pair by content, and
        // a "ret" to page 2, which led nowhere, is no change though page 9 becomes page 2.
        const QString text = QStringLiteral("page 5 blue=7\nitem 1 ret=2 right=G:7,G:9\n"
                                            "page 9\ntext 2 今日は\n");
        CContentModel before, after;
        ProgramSettings beforeSettings, afterSettings;
        BuildContent(text, before, beforeSettings);
        BuildContent(text, after, afterSettings);
        RenumberPages(after);
        QCOMPARE(DiffReportLines(DiffContent({before, beforeSettings, QString()},
                                             {after, afterSettings, QString()})),
                 (QStringList{QStringLiteral("page 5->1: renumbered 5 -> 1"),
                              QStringLiteral("page 9->2: renumbered 9 -> 2")}));
    }

    void aRenumberedCopyOfTheSampleIsOnlyRenumbered()
    {
        CContentModel before, after;
        ProgramSettings beforeSettings, afterSettings;
        LoadSample(before, beforeSettings);
        LoadSample(after, afterSettings);
        // The notice page moves to the front and the pages are numbered in the new order: every
        // id and every page reference changes.
        after.pages.Insert(0, after.pages.Take(3));
        RenumberPages(after);
        const ContentDiff diff = DiffContent({before, beforeSettings, QString()},
                                             {after, afterSettings, QString()});
        QVERIFY(diff.settings.empty());
        QVERIFY(diff.records.empty());
        QCOMPARE(int(diff.pages.size()), 4);
        int moved = 0;
        for (const PageDiff &page : diff.pages) {
            QCOMPARE(page.kind, DiffKind::Same);
            QVERIFY(page.renumbered);
            QVERIFY(page.attributes.empty());
            QVERIFY(page.items.empty());
            moved += page.moved ? 1 : 0;
        }
        QCOMPARE(moved, 1);
        QCOMPARE(diff.FindPage(4, 1)->moved, true);
        QCOMPARE(diff.pagePairs.size(), size_t(4));

        // And the sample against itself: nothing at all.
        QVERIFY(DiffContent({before, beforeSettings, QString()},
                            {before, beforeSettings, QString()}).IsEmpty());
    }

    void aChangedPageOfTheSampleNamesItsItems()
    {
        CContentModel before, after;
        ProgramSettings beforeSettings, afterSettings;
        LoadSample(before, beforeSettings);
        LoadSample(after, afterSettings);
        CMyProgramInfo &page = *after.pages.At(1);
        page.items[0].x += 8;
        page.items[0].text = page.items[0].text + QStringLiteral("!");
        const ContentDiff diff = DiffContent({before, beforeSettings, QString()},
                                             {after, afterSettings, QString()});
        QCOMPARE(int(diff.pages.size()), 1);
        const PageDiff &changed = diff.pages.front();
        QCOMPARE(changed.kind, DiffKind::Changed);
        QCOMPARE(changed.afterId, page.id);
        QCOMPARE(int(changed.items.size()), 1);
        QVERIFY(changed.items.front().moved);
        QCOMPARE(changed.items.front().afterRect.x(), changed.items.front().beforeRect.x() + 8);
        QCOMPARE(changed.items.front().fields.front().field, QStringLiteral("text"));

        const QJsonObject json = DiffJson(diff);
        QCOMPARE(json.value(QStringLiteral("equal")).toBool(), false);
        const QJsonObject jsonPage = json.value(QStringLiteral("pages")).toArray().at(0).toObject();
        QCOMPARE(jsonPage.value(QStringLiteral("change")).toString(), QStringLiteral("changed"));
        const QJsonObject item = jsonPage.value(QStringLiteral("items")).toArray().at(0).toObject();
        QCOMPARE(item.value(QStringLiteral("moved")).toBool(), true);
        const QJsonArray words = item.value(QStringLiteral("fields")).toArray().at(0).toObject()
                                     .value(QStringLiteral("words")).toArray();
        QCOMPARE(words.last().toObject().value(QStringLiteral("op")).toString(), QStringLiteral("+"));
        QCOMPARE(words.last().toObject().value(QStringLiteral("text")).toString(), QStringLiteral("!"));
    }

    void filesInEachSidesOwnFolderAreTheSameFiles()
    {
        CContentModel before, after;
        ProgramSettings settings;
        BuildContent(QStringLiteral("page 1\n"), before, settings);
        BuildContent(QStringLiteral("page 1\n"), after, settings);
        before.pages.At(0)->background = QStringLiteral("/a/news./bg.png");
        after.pages.At(0)->background = QStringLiteral("/b/copy./bg.png");
        QVERIFY(DiffContent({before, settings, QStringLiteral("/a/news.bjpx")},
                            {after, settings, QStringLiteral("/b/copy.bjpx")}).IsEmpty());
        // A copy that names the pictures of the other set.
        after.pages.At(0)->background = QStringLiteral("/a/news./bg.png");
        QVERIFY(DiffContent({before, settings, QStringLiteral("/a/news.bjpx")},
                            {after, settings, QStringLiteral("/b/copy.bjpx")}).IsEmpty());
        after.pages.At(0)->background = QStringLiteral("/b/copy./other.png");
        const QStringList lines = DiffReportLines(
            DiffContent({before, settings, QStringLiteral("/a/news.bjpx")},
                        {after, settings, QStringLiteral("/b/copy.bjpx")}));
        QCOMPARE(lines, QStringList{QStringLiteral(
                            "page 1 background: \"./news./bg.png\" -> \"./copy./other.png\"")});
    }

    void wordDiffOfLongTextsStaysBounded()
    {
        // Two long texts that share nothing come back whole instead of a table of their product.
        const QString before = QStringLiteral("a ").repeated(5000);
        const QString after = QStringLiteral("b ").repeated(5000);
        const std::vector<WordSpan> words = WordDiff(before, after);
        QCOMPARE(int(words.size()), 3);
        QCOMPARE(words[0].op, WordSpan::Removed);
        QCOMPARE(words[0].text, before.chopped(1));
        QCOMPARE(words[1].op, WordSpan::Added);
        QCOMPARE(words[2].text, QStringLiteral(" ")); // the shared last blank
    }
};

ORIN_TEST_CLASS(ContentDiffTest)
#include "tst_content_diff.moc"
