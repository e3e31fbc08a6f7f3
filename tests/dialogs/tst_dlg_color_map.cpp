// SPDX-License-Identifier: MIT
// The colour-index picker, driven headless: the grid, the swatch, trackbars and edit boxes, the
// range rules, the hidden range-edit controls, OK and cancel.

#include "prompt_fixtures.h"
#include "test_registry.h"

#include "dialogs/color_map_grid.h"
#include "dialogs/dlg_color_map.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

using namespace orin;
using orin::test::CScriptedPrompt;

namespace {

struct Picker {
    CColourMap map;
    CScriptedPrompt prompt;
    CDlgColorMap dialog;

    Picker(int selected, int start, int end) : dialog(map, selected, start, end, prompt) {}

    template <typename T> T *Child(const char *name) const
    {
        return dialog.findChild<T *>(QLatin1String(name));
    }
    QSlider *Trackbar(const char *channel) const
    {
        return Child<QSlider>((QByteArray("trackbar") + channel).constData());
    }
    QLineEdit *Edit(const char *channel) const
    {
        return Child<QLineEdit>((QByteArray("edit") + channel).constData());
    }
    QString IndexText() const { return Child<QLineEdit>("colorIndex")->text(); }
    void ClickGrid(QPoint position) const
    {
        QTest::mouseClick(Child<CColorMapGrid>("grid"), Qt::LeftButton, {}, position);
    }
    QRgb SwatchColour() const
    {
        return Child<QLabel>("swatch")->pixmap().toImage().pixel(24, 24);
    }
    // The pixel of the grid's frame around a cell (its top-left corner).
    QRgb FrameOf(int index) const
    {
        return dialog.GridPicture().pixel((index % 16) * 16, (index / 16) * 16);
    }
    QList<int> Controls() const
    {
        QList<int> values;
        for (const char *c : {"R", "G", "B", "Alpha"})
            values << 255 - Trackbar(c)->value() << Edit(c)->text().toInt();
        return values;
    }
};

} // namespace

class DlgColorMapTest : public QObject {
    Q_OBJECT

private slots:
    void opening()
    {
        Picker p(10, 5, 20);
        QCOMPARE(p.dialog.windowTitle(), QStringLiteral("カラーマップ編集"));
        QCOMPARE(p.IndexText(), QStringLiteral("10"));
        // Index 10 is (0, 170, 0), opaque: trackbars at 255 - value, edits with the value.
        QCOMPARE(p.Trackbar("R")->value(), 255);
        QCOMPARE(p.Trackbar("G")->value(), 85);
        QCOMPARE(p.Edit("G")->text(), QStringLiteral("170"));
        QCOMPARE(p.Edit("Alpha")->text(), QStringLiteral("255"));
        QCOMPARE(p.SwatchColour(), qRgb(0, 170, 0));
        QVERIFY(p.Trackbar("R")->isEnabled());
        // The grid: cells filled 15 x 15, frames red over the range, white around the selection.
        QCOMPARE(p.dialog.GridPicture().pixel(16 * 3 + 7, 7), qRgb(255, 255, 0));
        QCOMPARE(p.dialog.GridPicture().pixel(16 * 3 + 15, 7), qRgb(0, 0, 0));
        QCOMPARE(p.FrameOf(5), qRgb(255, 0, 0));
        QCOMPARE(p.FrameOf(20), qRgb(255, 0, 0));
        QCOMPARE(p.FrameOf(10), qRgb(255, 255, 255));
        // Outside the range no frame: the corner shows the cell's own colour.
        for (const int index : {4, 21}) {
            const ColourEntry e = p.map.ColourOf(index);
            QCOMPARE(p.FrameOf(index), qRgb(e.r, e.g, e.b));
        }
        // The range controls exist, hidden and disabled.
        QVERIFY(p.Child<QCheckBox>("rangeCheck")->isHidden());
        QVERIFY(p.Child<QPushButton>("store")->isHidden());
        QCOMPARE(p.Child<QLineEdit>("rangeStart")->text(), QStringLiteral("5"));
        QVERIFY(!p.Child<QLineEdit>("rangeEnd")->isEnabled());
    }

    void clicksOnTheGrid()
    {
        Picker p(10, 5, 20);
        p.ClickGrid(QPoint(16 * 2 + 3, 16 * 1 + 9)); // row 1, column 2: index 18
        QCOMPARE(p.IndexText(), QStringLiteral("18"));
        QCOMPARE(p.dialog.SelectedIndex(), 18);
        const ColourEntry e = p.map.ColourOf(18);
        QCOMPARE(p.Controls(), (QList<int>{e.r, e.r, e.g, e.g, e.b, e.b, e.a, e.a}));
        QCOMPARE(p.FrameOf(18), qRgb(255, 255, 255));
        QCOMPARE(p.FrameOf(10), qRgb(255, 0, 0));

        // Outside the range: shown, but the colour controls are disabled.
        p.ClickGrid(QPoint(16 * 1 + 1, 1)); // index 1
        QCOMPARE(p.IndexText(), QStringLiteral("1"));
        QVERIFY(!p.Trackbar("R")->isEnabled());
        QVERIFY(!p.Edit("B")->isEnabled());

        // Index 200 is shown, the controls stay as they were.
        const QList<int> before = p.Controls();
        p.ClickGrid(QPoint(16 * 8 + 4, 16 * 12 + 4));
        QCOMPARE(p.IndexText(), QStringLiteral("200"));
        QCOMPARE(p.Controls(), before);
        QVERIFY(!p.Trackbar("R")->isEnabled());

        // A click beside the grid does not wrap into another row.
        p.ClickGrid(QPoint(300, 5));
        p.ClickGrid(QPoint(5, 260));
        QCOMPARE(p.IndexText(), QStringLiteral("200"));
    }

    void trackbarsAndEditBoxes()
    {
        Picker p(12, 0, 100); // (0, 0, 170)
        p.Trackbar("R")->setValue(55);
        QCOMPARE(p.Edit("R")->text(), QStringLiteral("200"));
        QCOMPARE(p.dialog.CurrentColour().r, quint8(200));
        QCOMPARE(p.SwatchColour(), qRgb(200, 0, 170));

        p.Edit("G")->clear();
        QTest::keyClicks(p.Edit("G"), QStringLiteral("77"));
        QCOMPARE(p.Trackbar("G")->value(), 178);
        QCOMPARE(p.SwatchColour(), qRgb(200, 77, 170));

        p.Edit("Alpha")->setText(QStringLiteral("64"));
        QCOMPARE(p.dialog.CurrentColour().a, quint8(64));
        QCOMPARE(p.Trackbar("Alpha")->value(), 191);
        // Out of range or not a number: ignored.
        p.Edit("Alpha")->setText(QStringLiteral("256"));
        p.Edit("B")->setText(QStringLiteral("x"));
        QCOMPARE(p.dialog.CurrentColour().a, quint8(64));
        QCOMPARE(p.Trackbar("Alpha")->value(), 191);
        QCOMPARE(p.dialog.CurrentColour().b, quint8(170));
        // The private copy is not touched by the controls.
        QVERIFY(p.dialog.EntryAt(12) == p.map.ColourOf(12));
    }

    void okAndCancel()
    {
        Picker p(10, 5, 20);
        p.dialog.show();
        p.ClickGrid(QPoint(16 * 4 + 2, 2));
        QTest::mouseClick(p.Child<QPushButton>("ok"), Qt::LeftButton);
        QCOMPARE(p.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(p.dialog.SelectedIndex(), 4);

        Picker q(10, 5, 20);
        q.dialog.show();
        QTest::mouseClick(q.Child<QPushButton>("cancel"), Qt::LeftButton);
        QCOMPARE(q.dialog.result(), int(QDialog::Rejected));
    }

    void hiddenRangeEditing()
    {
        Picker p(25, 20, 30);
        QCheckBox *check = p.Child<QCheckBox>("rangeCheck");
        check->setChecked(true);
        QVERIFY(p.dialog.IsRangeEditMode());
        QVERIFY(p.Child<QLineEdit>("rangeStart")->isEnabled());
        QVERIFY(!p.Trackbar("R")->isEnabled());
        p.ClickGrid(QPoint(2, 2)); // ignored in range-edit mode
        QCOMPARE(p.dialog.SelectedIndex(), 25);

        // The start must lie in 17..end, the end in start..255.
        for (const auto &range : {std::pair{16, 30}, std::pair{31, 40}, std::pair{20, 19},
                                  std::pair{20, 256}}) {
            p.prompt.Clear();
            p.Child<QLineEdit>("rangeStart")->setText(QString::number(range.first));
            p.Child<QLineEdit>("rangeEnd")->setText(QString::number(range.second));
            check->setChecked(false);
            QCOMPARE(p.prompt.Messages(), QStringList{QStringLiteral("指定値に間違いがあります")});
            QCOMPARE(p.prompt.records.at(0).caption, QStringLiteral("エラー"));
            QVERIFY(check->isChecked());
            QVERIFY(p.dialog.IsRangeEditMode());
        }
        p.prompt.Clear();
        p.Child<QLineEdit>("rangeStart")->setText(QStringLiteral("17"));
        p.Child<QLineEdit>("rangeEnd")->setText(QStringLiteral("40"));
        check->setChecked(false);
        QVERIFY(p.prompt.records.isEmpty());
        QVERIFY(!p.dialog.IsRangeEditMode());
        QCOMPARE(p.dialog.RangeStart(), 17);
        QCOMPARE(p.dialog.RangeEnd(), 40);
        QCOMPARE(p.FrameOf(17), qRgb(255, 0, 0));
        QCOMPARE(p.FrameOf(40), qRgb(255, 0, 0));
        QVERIFY(p.Trackbar("R")->isEnabled());
        QVERIFY(!p.Child<QLineEdit>("rangeStart")->isEnabled());
    }

    void storingIntoThePrivateCopy()
    {
        Picker p(25, 20, 30);
        p.Edit("R")->setText(QStringLiteral("9"));
        p.Child<QPushButton>("store")->click();
        QCOMPARE(p.dialog.EntryAt(25).r, quint8(9));
        QVERIFY(p.dialog.IsModifiedAt(25));
        QVERIFY(!p.dialog.IsModifiedAt(24));
        QCOMPARE(qRed(p.dialog.GridPicture().pixel(16 * 9 + 7, 16 + 7)), 9);
        p.ClickGrid(QPoint(2, 16 + 2)); // select 16: 25's frame is green now
        QCOMPARE(p.FrameOf(25), qRgb(0, 255, 0));
        QCOMPARE(p.map.ColourOf(25).r, CColourMap().ColourOf(25).r); // the map is untouched
    }
};

ORIN_TEST_CLASS(DlgColorMapTest)
#include "tst_dlg_color_map.moc"
