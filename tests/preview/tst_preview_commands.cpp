// SPDX-License-Identifier: MIT
#include "preview/preview_engine.h"

#include "preview_fixture.h"
#include "test_registry.h"

#include <QtTest>

using namespace orin;
using namespace Qt::StringLiterals;

// Every command of the action strings, run on a small page: each row runs one action from the
// focused item (item 1) and checks a few probes of the display state afterwards.
class TestPreviewCommands : public QObject {
    Q_OBJECT

private slots:
    void init();
    void commands_data();
    void commands();

private:
    QString Probe(const QString &name);

    test::CPreviewFixture m_f;
};

void TestPreviewCommands::init()
{
    m_f = test::CPreviewFixture();
    CMyProgramInfo &page = m_f.AddPage(1);
    page.defitem = 1;
    page.timer = 30;
    for (const int id : {1, 2, 3, 7, 10, 11})
        m_f.AddItem(page, id);
    page.items[0].pic_no = 1;
    page.items[1].ret = u"B:3:3"_s;
    m_f.AddItem(page, 20, 2);
    m_f.AddItem(page, 21, 1);
    m_f.AddItem(page, 22, 4);
    m_f.AddItem(m_f.AddPage(2), 1);
    m_f.AddItem(m_f.AddPage(3), 1);
    m_f.AddText(3, u"[#1]first[#2]second"_s);
    m_f.AddText(5, u"plain"_s);
    m_f.AddText(6, u"[#10]ten[#11]eleven"_s);
    m_f.AddText(9, u"[#1]alpha\r\n[#2]beta\r\n[#7]gamma"_s);
    m_f.AddText(12, u"a:b:c"_s);
    m_f.AddText(13, u"[#4]beta"_s);
    m_f.AddText(14, u"B:9:2"_s);
    m_f.AddMacro(4, u"[#1]B:1:2[#2]B:2:2"_s);
    m_f.AddMacro(5, u"P:205:3"_s);
    m_f.AddMacro(6, u"[#3]hello\rrest"_s);
    m_f.AddMacro(8, u"I:9:3"_s);
    m_f.AddImage(1);
    m_f.AddImage(205, kImageColourMapPng);
}

QString TestPreviewCommands::Probe(const QString &name)
{
    CPreviewEngine &e = m_f.Engine();
    const QStringList parts = name.split(u':');
    const int id = parts.value(1).toInt();
    const int index = e.IndexOfItem(id);
    const PageItem *item = index < 0 ? nullptr : &e.Items()[size_t(index)].item;
    const QString kind = parts.first();
    if (kind == u"page")
        return QString::number(e.ShownPageNumber());
    if (kind == u"focus")
        return QString::number(e.FocusItem());
    if (kind == u"input")
        return e.Input();
    if (kind == u"mem")
        return e.Memory(id);
    if (kind == u"text")
        return item ? item->text : u"-"_s;
    if (kind == u"state")
        return QString::number(e.TextState(id));
    if (kind == u"source")
        return QString::number(e.TextSource(id));
    if (kind == u"bcolor")
        return item ? QString::number(item->bcolor) : u"-"_s;
    if (kind == u"color")
        return item ? QString::number(item->color) : u"-"_s;
    if (kind == u"geometry")
        return item ? u"%1,%2,%3,%4"_s.arg(item->x).arg(item->y).arg(item->width).arg(item->height)
                    : u"-"_s;
    if (kind == u"visible")
        return QString::number(e.IsVisible(id) ? 1 : 0);
    if (kind == u"pic")
        return QString::number(e.PictureNumber(id));
    if (kind == u"image")
        return QString::number(m_f.ImageOf(id));
    if (kind == u"timer")
        return m_f.sim->clock.IsRunning(id) ? u"on"_s : u"off"_s;
    if (kind == u"restart")
        return e.KeyRestartsTimer() ? u"1"_s : u"0"_s;
    if (kind == u"tvitem")
        return QString::number(e.Page().tvitem);
    if (kind == u"cursoron")
        return QString::number(e.CursorOnlyItem());
    if (kind == u"limit")
        return QString::number(e.MacroLimit(id));
    if (kind == u"digits")
        return m_f.observer.digitButtons ? u"on"_s : u"off"_s;
    return u"?"_s;
}

void TestPreviewCommands::commands_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("expected"); // probe=value pairs separated by ";"

    const auto row = [](const char *name, const QString &action, int kind, const QString &probes) {
        QTest::newRow(name) << action << kind << probes;
    };
    // Plain numbers.
    row("0 does nothing", u"0"_s, 1, u"focus=1;page=1"_s);
    row("number in a focus string moves the focus", u"2"_s, 1, u"focus=2;page=1"_s);
    row("number in ret shows the page", u"2"_s, 0, u"page=2"_s);
    row("text-only item takes no focus", u"20"_s, 1, u"focus=1"_s);
    row("hidden item takes no focus", u"22"_s, 1, u"focus=1"_s);
    row("absent item takes no focus", u"99"_s, 1, u"focus=1"_s);
    // Item commands.
    row("P and T in one action", u"P:205:0,T:3:7"_s, 1,
        u"pic:1=205;image:1=205;text:7=first;state:7=3;source:7=3"_s);
    row("P without its second number does nothing", u"P:205"_s, 1, u"pic:1=1;image:1=1"_s);
    row("P of an absent image leaves no image", u"P:77:1"_s, 1, u"pic:1=77;image:1=0"_s);
    row("T steps and wraps", u"T:3:3,T:3:3,T:3:3"_s, 1, u"text:3=first"_s);
    row("T second section", u"T:3:3,T:3:3"_s, 1, u"text:3=second"_s);
    row("T of a text without markers, stepped twice", u"T:5:3,T:5:3"_s, 1,
        u"text:3=plain;state:3=1"_s);
    row("R starts at the first, then wraps back", u"R:3:3,R:3:3"_s, 1, u"text:3=second"_s);
    row("I takes the label from the acting item", u"I:9:3"_s, 1,
        u"text:3=alpha\r\n;state:3=4;source:3=9"_s);
    row("I from a macro takes the label from the focused item", u"A:8"_s, 1,
        u"text:3=alpha\r\n;state:3=4"_s);
    row("B F H", u"B:5:2,F:6:2,H:0:3"_s, 1, u"bcolor:2=5;color:2=6;visible:3=0"_s);
    row("H shows a hidden item", u"H:1:22"_s, 1, u"visible:22=1"_s);
    row("K has no effect and the action goes on", u"K:1:2,B:4:2"_s, 1, u"bcolor:2=4"_s);
    row("item ids outside the tables are refused", u"B:4:300,H:0:-2,P:1:999,B:4:2"_s, 1,
        u"bcolor:2=4;page=1"_s);
    // Number commands.
    row("G", u"G:3"_s, 1, u"page=3"_s);
    row("C", u"C:0"_s, 1, u"page=1000"_s);
    row("W", u"W:0"_s, 1, u"page=2000"_s);
    row("M moves the focus without the focusability test", u"M:20"_s, 1, u"focus=20"_s);
    row("S labels the items", u"S:6"_s, 1,
        u"text:10=ten;text:11=eleven;state:10=2;source:11=6;text:3=item3"_s);
    row("O has no effect", u"O:1,B:4:2"_s, 1, u"bcolor:2=4"_s);
    row("A runs the macro and ends the action", u"A:4,G:2"_s, 1, u"page=1;bcolor:2=1"_s);
    row("E runs the macro", u"E:5"_s, 1, u"image:3=205"_s);
    row("Z stops the page and item timers", u"Z:1,Z:4"_s, 1, u"timer:100=off;timer:400=off"_s);
    row("Z:2 leaves the page timer", u"Z:2"_s, 1, u"timer:100=on"_s);
    row("U:7 turns the key restart on", u"U:7"_s, 1, u"restart=1"_s);
    row("U:0 shows the page again", u"B:4:2,U:0"_s, 1, u"bcolor:2=8;page=1"_s);
    row("V", u"V:3"_s, 1, u"tvitem=3"_s);
    row("no command ends the action", u"Y:1,B:4:2"_s, 1, u"bcolor:2=8"_s);
    row("lower case letters", u"b:4:2,g:2"_s, 1, u"page=2"_s);
    // Memory commands.
    row("Xn to a register and to input", u"Xn:42:1,Xn:43:0"_s, 1, u"mem:1=42;input=43"_s);
    row("Xc copies to input", u"Xn:12:1,Xc:1:0"_s, 1, u"input=12"_s);
    row("Xc copies to a register", u"Xn:12:1,Xc:1:5"_s, 1, u"mem:5=12"_s);
    row("Xl appends", u"Xn:12:1,Xl:1:2,Xl:1:2,Xl:1:0"_s, 1, u"mem:2=1212;input=12"_s);
    row("Xd removes the last character", u"Xn:12:1,Xd:1,Xd:9"_s, 1, u"mem:1=1;mem:9="_s);
    row("Xe compares", u"Xn:5:1,Xn:5:2,Xe:1:2"_s, 1, u"input=1"_s);
    row("Xe differs", u"Xn:5:1,Xn:6:2,Xe:1:2"_s, 1, u"input=0"_s);
    row("Xi and Xa", u"Xn:7:0,Xi:4,Xa:4,Xa:4"_s, 1, u"mem:4=777"_s);
    row("Xr clears", u"Xn:7:1,Xn:7:0,Xr:1,Xr:0"_s, 1, u"mem:1=;input="_s);
    row("Xs shows a register", u"Xn:9:1,Xs:1:2"_s, 1, u"text:2=9"_s);
    row("Xk takes a labelled section cut at the return", u"Xk:9:2"_s, 1, u"input=beta"_s);
    row("Xk with 0 empties input", u"Xn:5:0,Xk:0:0"_s, 1, u"input="_s);
    row("Xp splits input", u"Xk:12:0,Xp:10:2"_s, 1, u"mem:10=a;mem:11=b;mem:12="_s);
    row("Xp beyond the registers is refused", u"Xk:12:0,Xp:254:3"_s, 1, u"mem:254="_s);
    row("Xf turns digit entry on", u"Xn:5:0,Xf:1:2"_s, 1, u"digits=on;input="_s);
    row("Xt", u"Xn:5:0,Xt"_s, 1, u"input="_s);
    row("Xg", u"Xn:2:1,Xg:1"_s, 1, u"page=2"_s);
    row("Xh", u"Xn:3:1,Xh:1"_s, 1, u"page=3"_s);
    row("Xj with 0 stays", u"Xj:1"_s, 1, u"page=1"_s);
    row("Xm posts the macro", u"Xn:5:1,Xm:1"_s, 1, u"image:3=205"_s);
    row("Xv reads indirectly", u"Xn:2:1,Xn:77:2,Xv:1:3"_s, 1, u"mem:3=77"_s);
    row("Xq reverse lookup into input", u"Xk:9:7,Xq:0:9"_s, 1, u"input=7"_s);
    row("Xq without a match leaves input", u"Xn:5:0,Xq:0:9"_s, 1, u"input=5"_s);
    row("Xq from a register runs the macro", u"Xk:9:2,Xi:1,Xq:1:13"_s, 1, u"bcolor:2=1"_s);
    row("Qm", u"Qm:5"_s, 1, u"image:3=205"_s);
    row("Qn runs a register", u"Xk:14:0,Xi:1,Qn:1"_s, 1, u"bcolor:2=9"_s);
    row("Qk takes a macro section", u"Xn:3:1,Qk:6:1"_s, 1, u"input=hello"_s);
    row("Ql takes a text section", u"Xn:6:1,Xn:11:2,Ql:1:2"_s, 1, u"input=eleven"_s);
    row("Qa runs the macro backwards", u"Qa:4"_s, 1, u"bcolor:2=2"_s);
    row("Qc and Qg move", u"Qc:1:2,Qg:100:50"_s, 1, u"geometry:2=100,50,100,40"_s);
    row("Qc and Qg resize", u"Qc:2:2,Qg:30:40"_s, 1, u"geometry:2=20,20,30,40"_s);
    row("Qg without a target", u"Qg:30:40"_s, 1, u"geometry:2=20,20,100,40"_s);
    row("Qc switches a cursor-only item on", u"Qc:1:21"_s, 1, u"cursoron=21"_s);
    row("Qc switches it off", u"Qc:1:21,Qc:0:21"_s, 1, u"cursoron=0"_s);
    row("Qs counts the sections", u"Qs:4:0"_s, 1, u"input=2;limit:4=0"_s);
    row("Qs sets the limit", u"Xn:1:1,Qs:4:1"_s, 1, u"limit:4=1"_s);
    row("Qo counts text sections", u"Qo:3:1,Qo:5:2"_s, 1, u"mem:1=2;mem:2=1"_s);
    row("Qb runs an item's string", u"Qb:2:1"_s, 1, u"bcolor:3=3"_s);
    row("Qd has no effect", u"Qd:1:1,B:4:2"_s, 1, u"bcolor:2=4"_s);
    row("registers outside the table are refused",
        u"Xn:1:300,Xc:300:1,Xs:-1:2,Xv:1:2,Qn:999,B:4:2"_s, 1, u"mem:1=;bcolor:2=4"_s);
}

void TestPreviewCommands::commands()
{
    QFETCH(QString, action);
    QFETCH(int, kind);
    QFETCH(QString, expected);
    CPreviewEngine &engine = m_f.Start(1);
    QCOMPARE(engine.FocusItem(), 1);
    engine.RunAction(engine.IndexOfItem(1), kind, action, 0);
    QVERIFY(m_f.sim->Settle());
    const QStringList probes = expected.split(u';');
    for (const QString &probe : probes) {
        const qsizetype eq = probe.indexOf(u'=');
        const QString name = probe.left(eq);
        QCOMPARE(name + u'=' + Probe(name), probe);
    }
}

ORIN_TEST_CLASS(TestPreviewCommands)
#include "tst_preview_commands.moc"
