// SPDX-License-Identifier: MIT
#include "actions/action_strings.h"
#include "actions/navigation_analysis.h"

#include "test_registry.h"

#include <QtTest>

#include <functional>

using namespace orin;
using namespace Qt::StringLiterals;

namespace {

CMyProgramInfo *AddPage(CContentModel &model, int id)
{
    auto page = std::make_unique<CMyProgramInfo>();
    page->id = id;
    CMyProgramInfo *raw = page.get();
    model.pages.Add(std::move(page));
    return raw;
}

CMyTextInfo *AddText(CContentModel &model, int id, int item)
{
    auto text = std::make_unique<CMyTextInfo>();
    text->id = id;
    text->item = item;
    CMyTextInfo *raw = text.get();
    model.texts.Add(std::move(text));
    return raw;
}

CMyMacroInfo *AddMacro(CContentModel &model, int id, const QString &text)
{
    auto macro = std::make_unique<CMyMacroInfo>();
    macro->id = id;
    macro->macro = text;
    CMyMacroInfo *raw = macro.get();
    model.macros.Add(std::move(macro));
    return raw;
}

// The page jumps of the navigation map as comparable text, page numbers passed through `map`.
QStringList Edges(const NavigationAnalysis &analysis, const std::function<int(int)> &map)
{
    QStringList edges;
    for (const PageEdge &edge : analysis.edges)
        edges << u"%1>%2 item %3 macro %4 %5"_s.arg(map(edge.from)).arg(map(edge.to))
                     .arg(edge.itemId).arg(edge.macroId).arg(edge.via);
    edges.sort();
    return edges;
}

} // namespace

class TestRenumberPages : public QObject {
    Q_OBJECT

private slots:
    void pagesAndReferencesFollow();
    void textItemsBecomePositions();
    void itemCountOutOfRange();
    void emptyModel();
    void macroSectionsFollow_data();
    void macroSectionsFollow();
    void theNavigationMapIsTheSameAfterwards();
};

void TestRenumberPages::pagesAndReferencesFollow()
{
    CContentModel model;
    CMyProgramInfo *first = AddPage(model, 10);
    CMyProgramInfo *second = AddPage(model, 30);

    first->return_ = 30;
    first->back = 255;
    first->data = 99;
    first->up = 0;
    first->down = 10;
    first->left = 254;
    first->right = 30;
    first->blue = 30;
    first->red = 10;
    first->green = 77;
    first->yellow = 30;
    first->memory = 10;
    first->defitem = 30;
    first->textid = 10;
    first->smacro = 30;
    first->timer_ino = 10;

    first->itemCount = 2;
    PageItem &a = first->items[0];
    a.id = 30;
    a.ret = u"30"_s;
    a.focus = u"G:10,P:30:0"_s;
    a.outfocus = u"g:30"_s;
    a.up = u"7"_s;
    a.down = u"A:1,G:30"_s;
    a.left = u"T:10:0,G:99"_s;
    a.right = u"G:30,"_s;
    first->items[1].ret = u"G:30,P:1:0"_s;
    first->items[2].ret = u"30"_s; // beyond itemCount: not a used slot

    second->return_ = 10;
    second->itemCount = 1;
    second->items[0].ret = u"255"_s;
    second->items[0].up = u"G:10"_s;

    RenumberPages(model);

    QCOMPARE(first->id, 1);
    QCOMPARE(second->id, 2);

    QCOMPARE(first->return_, 2);
    QCOMPARE(first->back, 255);
    QCOMPARE(first->data, 0);
    QCOMPARE(first->up, 0);
    QCOMPARE(first->down, 1);
    QCOMPARE(first->left, 254);
    QCOMPARE(first->right, 2);
    QCOMPARE(first->blue, 2);
    QCOMPARE(first->red, 1);
    QCOMPARE(first->green, 0);
    QCOMPARE(first->yellow, 2);
    QCOMPARE(first->memory, 1);
    QCOMPARE(second->return_, 1);

    // Item ids and the other page fields are no page references.
    QCOMPARE(first->defitem, 30);
    QCOMPARE(first->textid, 10);
    QCOMPARE(first->smacro, 30);
    QCOMPARE(first->timer_ino, 10);
    QCOMPARE(a.id, 30);

    QCOMPARE(a.ret, u"2"_s);
    QCOMPARE(a.focus, u"G:1,P:30:0"_s);
    QCOMPARE(a.outfocus, u"g:2"_s);
    QCOMPARE(a.up, u"7"_s);
    QCOMPARE(a.down, u"A:1,G:2"_s);
    QCOMPARE(a.left, u"T:10:0,G:0"_s);
    QCOMPARE(a.right, u"G:2,"_s);
    QCOMPARE(first->items[1].ret, u"G:2,P:1:0"_s);
    QCOMPARE(first->items[2].ret, u"30"_s);
    QCOMPARE(second->items[0].ret, u"255"_s);
    QCOMPARE(second->items[0].up, u"G:1"_s);
}

void TestRenumberPages::textItemsBecomePositions()
{
    CContentModel model;
    AddPage(model, 10);
    AddPage(model, 30);
    CMyTextInfo *onSecond = AddText(model, 1, 30);
    CMyTextInfo *onFirst = AddText(model, 2, 10);
    CMyTextInfo *orphan = AddText(model, 3, 99);
    CMyTextInfo *reserved = AddText(model, 4, 255);
    CMyTextInfo *none = AddText(model, kDeletedId, 0);

    RenumberPages(model);

    QCOMPARE(onSecond->item, 2);
    QCOMPARE(onFirst->item, 1);
    QCOMPARE(orphan->item, 0);
    QCOMPARE(reserved->item, 0);
    QCOMPARE(none->item, 0);
    QCOMPARE(onSecond->id, 1); // text ids stay
}

void TestRenumberPages::itemCountOutOfRange()
{
    CContentModel model;
    CMyProgramInfo *big = AddPage(model, 40);
    big->itemCount = 100000;
    big->items[kItemSlots - 1].ret = u"40"_s;
    CMyProgramInfo *negative = AddPage(model, 50);
    negative->itemCount = -3;
    negative->items[0].ret = u"40"_s;

    RenumberPages(model);

    QCOMPARE(big->items[kItemSlots - 1].ret, u"1"_s);
    QCOMPARE(negative->items[0].ret, u"40"_s);
}

void TestRenumberPages::emptyModel()
{
    CContentModel model;
    AddText(model, 1, 5);
    RenumberPages(model);
    QCOMPARE(model.texts.At(0)->item, 0);
}

void TestRenumberPages::macroSectionsFollow_data()
{
    QTest::addColumn<QString>("macro");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole macro") << u"G:30"_s << u"G:2"_s;
    QTest::newRow("every section") << u"[#1]G:30[#2]P:1:0,g:10[#3]A:2"_s
                                   << u"[#1]G:2[#2]P:1:0,g:1[#3]A:2"_s;
    QTest::newRow("text before the first marker") << u"G:10[#1]G:30"_s << u"G:1[#1]G:2"_s;
    // In a macro a plain number moves the focus to that item: no page.
    QTest::newRow("item number") << u"[#1]30[#2]G:30,30"_s << u"[#1]30[#2]G:2,30"_s;
    QTest::newRow("unknown entry ends a section only") << u"[#1]N,G:30[#2]G:30"_s
                                                       << u"[#1]N,G:30[#2]G:2"_s;
    QTest::newRow("marker without its end") << u"G:30[#1G:10"_s << u"G:2[#1G:10"_s;
    QTest::newRow("special screen") << u"[#5]G:255,G:99"_s << u"[#5]G:255,G:0"_s;
}

void TestRenumberPages::macroSectionsFollow()
{
    QFETCH(QString, macro);
    QFETCH(QString, expected);
    CContentModel model;
    AddPage(model, 10);
    AddPage(model, 30);
    CMyMacroInfo *record = AddMacro(model, 4, macro);
    RenumberPages(model);
    QCOMPARE(record->macro, expected);
    QCOMPARE(record->id, 4); // macro ids stay
}

// Every jump the navigation map finds before renumbering is found afterwards, between the same
// pages under their new numbers: through item strings, page keys, start macros and the sections
// of the macros that items run.
void TestRenumberPages::theNavigationMapIsTheSameAfterwards()
{
    CContentModel model;
    CMyProgramInfo *first = AddPage(model, 10);
    CMyProgramInfo *second = AddPage(model, 40);
    CMyProgramInfo *third = AddPage(model, 20);
    first->blue = 20;
    first->itemCount = 2;
    first->defitem = 1;
    first->items[0].id = 1;
    first->items[0].ret = u"A:1"_s;
    first->items[0].right = u"2"_s;
    first->items[1].id = 2;
    first->items[1].ret = u"P:1:0,40"_s;
    first->items[1].left = u"1"_s;
    second->smacro = 2;
    second->itemCount = 1;
    second->defitem = 1;
    second->items[0].id = 1;
    second->items[0].ret = u"G:255"_s;
    second->items[0].focus = u"G:20"_s;
    third->back = 10;
    AddMacro(model, 1, u"[#1]G:40[#2]G:20"_s);
    AddMacro(model, 2, u"[#1]G:10"_s);

    const ProgramSettings settings;
    const QList<int> oldIds{10, 40, 20};
    const QStringList before =
        Edges(AnalyseNavigation(model, settings), [&](int id) { return PagePosition(id, oldIds); });
    QVERIFY(before.size() >= 7);
    RenumberPages(model);
    const QStringList after = Edges(AnalyseNavigation(model, settings), [](int id) { return id; });
    QCOMPARE(after, before);
}

ORIN_TEST_CLASS(TestRenumberPages)

#include "tst_renumber_pages.moc"
