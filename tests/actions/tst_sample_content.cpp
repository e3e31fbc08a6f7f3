// SPDX-License-Identifier: MIT
// Renumbering and slimming on the real sample content set of examples/.

#include "test_paths.h"
#include "test_registry.h"

#include "actions/action_strings.h"
#include "actions/data_slimming.h"
#include "images/load_services.h"
#include "model/project_reader.h"

#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

void LoadSample(CContentModel &model)
{
    ProgramSettings settings;
    QVERIFY(LoadProject((SourceDir() + QStringLiteral("/examples/sample.bjpx")), true, settings,
                        model.usedSize, model, StandardLoadServices()));
    QCOMPARE(model.pages.Count(), 4);
}

} // namespace

class SampleContentTest : public QObject {
    Q_OBJECT

private slots:
    void renumberingFollowsTheListOrder()
    {
        CContentModel m;
        LoadSample(m);
        // The notice page (id 4) moves to the front of the list.
        m.pages.Insert(0, m.pages.Take(3));
        RenumberPages(m);
        QCOMPARE(m.pages.At(0)->comment, QStringLiteral("お知らせ"));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(m.pages.At(i)->id, i + 1);
        const CMyProgramInfo &top = *m.pages.At(1);
        QCOMPARE(top.items[0].ret, QStringLiteral("3"));    // was page 2, now third in the list
        QCOMPARE(top.items[1].ret, QStringLiteral("G:4"));  // the weather page
        QCOMPARE(top.items[2].ret, QStringLiteral("G:1"));  // the notice page, now first
        QCOMPARE(top.items[0].down, QStringLiteral("2"));   // item ids stay
        QCOMPARE(top.blue, 3);
        QCOMPARE(top.red, 4);
        QCOMPARE(m.pages.At(0)->items[1].ret, QStringLiteral("2")); // back to the top page
        QCOMPARE(m.pages.At(2)->items[1].ret, QStringLiteral("A:1")); // macro: unchanged
        QCOMPARE(m.pages.At(3)->items[1].ret, QStringLiteral("T:2:5"));
        QCOMPARE(m.pages.At(3)->items[2].ret, QStringLiteral("G:2"));
        QCOMPARE(m.pages.At(3)->return_, 2);
    }

    void renumberingFollowsBehindEveryCommand()
    {
        CContentModel m;
        LoadSample(m);
        // The weather button of the top page starts the guide's animation before the jump, and
        // the news page's back button runs the macro as in the sample, then hides its item.
        CMyProgramInfo &top = *m.pages.At(0);
        top.items[1].ret = QStringLiteral("$slider:p1/2/3:i5:w3000,G:3");
        m.pages.At(1)->items[1].ret = QStringLiteral("A:1,H:0:5,G:1");
        m.pages.Insert(0, m.pages.Take(3));
        RenumberPages(m);
        QCOMPARE(m.pages.At(1)->items[1].ret, QStringLiteral("$slider:p1/2/3:i5:w3000,G:4"));
        QCOMPARE(m.pages.At(2)->items[1].ret, QStringLiteral("A:1,H:0:5,G:2"));
    }

    void slimmingKeepsTheImagesOfAnAnimation()
    {
        CContentModel m;
        LoadSample(m);
        // The sample's own animations are taken away first: here only the one set below may
        // keep the photo.
        for (const auto &page : m.pages) {
            for (int i = 0; i < kItemSlots; ++i) {
                PageItem &item = page->items[i];
                for (QString *action : {&item.focus, &item.outfocus, &item.ret, &item.up,
                                        &item.down, &item.left, &item.right}) {
                    if (action->contains(QStringLiteral("$slider")))
                        *action = QStringLiteral("0");
                }
            }
        }
        // Item 10 no longer shows the photo itself; the guide's animation on the top page does.
        CMyProgramInfo &top = *m.pages.At(0);
        const int slot = FindItemSlot(top, 10);
        QVERIFY(slot >= 0);
        top.items[slot].pic_no = 0;
        top.items[0].focus = QStringLiteral("$slider:p1/2/3:i5:w3000");
        QVERIFY(SlimUnusedImages(m).isEmpty());
        QCOMPARE(m.pictures.Count(), 1);
        // Without it the photo goes.
        top.items[0].focus = QStringLiteral("0");
        QCOMPARE(SlimUnusedImages(m).size(), 1);
        QCOMPARE(m.pictures.Count(), 0);
    }

    void slimmingRemovesWhatNoItemShowsAnyMore()
    {
        CContentModel m;
        LoadSample(m);
        QVERIFY(SlimUnusedImages(m).isEmpty());
        // The photo is only shown by item 10 of the top page; take that item away.
        CMyProgramInfo &top = *m.pages.At(0);
        const int slot = FindItemSlot(top, 10);
        QVERIFY(slot >= 0);
        for (int i = slot; i + 1 < top.itemCount; ++i)
            top.items[i] = top.items[i + 1];
        --top.itemCount;
        // An action that shows the logo keeps it although no item has it as its picture.
        top.items[top.itemCount - 1].pic_no = 0;
        top.items[0].focus = QStringLiteral("xk:1:,P:201:11");
        const QList<RemovedImage> removed = SlimUnusedImages(m);
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed.first().id, 1);
        QVERIFY(!removed.first().material);
        QCOMPARE(m.pictures.Count(), 0);
        QCOMPARE(m.materials.Count(), 2);
    }
};

ORIN_TEST_CLASS(SampleContentTest)
#include "tst_sample_content.moc"
