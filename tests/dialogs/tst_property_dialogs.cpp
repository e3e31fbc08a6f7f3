// SPDX-License-Identifier: MIT
// The property dialogs: the number check, page properties by TimerMode, item properties with
// their tips and colour buttons, the action edit's timer rule, the text dialog and the channel
// list; the item and action edits reach the page they were opened for.

#include "document_fixture.h"
#include "test_registry.h"

#include "dialogs/color_map_grid.h"
#include "dialogs/dlg_action.h"
#include "dialogs/dlg_clist.h"
#include "dialogs/dlg_color_map.h"
#include "dialogs/dlg_gtext.h"
#include "dialogs/dlg_item_prop.h"
#include "dialogs/dlg_page_prop.h"
#include "dialogs/number_fields.h"
#include "document/document.h"
#include "document/document_edits.h"
#include "document/image_edits.h"
#include "document/recent_files.h"
#include "images/colour_map.h"
#include "images/load_services.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>

#include <functional>

using namespace orin;
using namespace orin::test;

namespace {

struct Fixture : DocumentParts {
    CColourMap colours;

    Fixture()
    {
        for (int i = 0; i < 2; ++i) {
            auto page = std::make_unique<CMyProgramInfo>();
            page->id = i + 1;
            page->itemCount = 2;
            page->timer_ino = 2;
            page->timer_item = 4;
            for (int s = 0; s < 2; ++s) {
                PageItem &item = page->items[static_cast<size_t>(s)];
                item.id = s + 1;
                item.x = 10.9f;
                item.focus = QStringLiteral("T:1:0");
                item.text = QStringLiteral("keep");
                item.ret = QStringLiteral("2");
            }
            model.pages.Add(std::move(page));
        }
    }
};

// Runs `act` on the modal dialog of type T as soon as it is shown.
template <typename T>
void WhenShown(std::function<void(T *)> act)
{
    QTimer::singleShot(0, [act] {
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(dialog);
    });
}

QByteArray Utf16(const QString &text)
{
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

} // namespace

class PropertyDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void numberFieldsTakeZeroToIntMax_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("zero") << QStringLiteral("0") << true;
        QTest::newRow("int max") << QStringLiteral("2147483647") << true;
        QTest::newRow("blanks") << QStringLiteral(" 7 ") << true;
        QTest::newRow("beyond int") << QStringLiteral("2147483648") << false;
        QTest::newRow("huge") << QStringLiteral("99999999999999999999") << false;
        QTest::newRow("negative") << QStringLiteral("-1") << false;
        QTest::newRow("letters") << QStringLiteral("abc") << false;
        QTest::newRow("unit") << QStringLiteral("12px") << false;
        QTest::newRow("empty") << QString() << false;
    }

    void numberFieldsTakeZeroToIntMax()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        CScriptedPrompt prompt;
        CDlgPageProp dialog(3, PageProperties(), 1, prompt);
        dialog.show();
        dialog.Field(1073)->setText(text);
        dialog.accept();
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        QCOMPARE(dialog.isVisible(), !accepted);
        if (accepted) {
            QVERIFY(prompt.records.isEmpty());
            QCOMPARE(dialog.Values().marquee_speed, text.trimmed().toInt());
        } else {
            QCOMPARE(prompt.Messages(), QStringList{QStringLiteral("正の整数を入力してください。")});
            QCOMPARE(dialog.focusWidget(), dialog.Field(1073));
        }
    }

    void pageDialogFollowsTheTimerMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("note");
        QTest::newRow("0") << 0 << false << QStringLiteral("（ページ順送り）");
        QTest::newRow("1") << 1 << true << QStringLiteral("（→のページ）");
        QTest::newRow("2") << 2 << true << QStringLiteral("（↓のページ）");
    }

    void pageDialogFollowsTheTimerMode()
    {
        QFETCH(int, mode);
        QFETCH(bool, enabled);
        QFETCH(QString, note);
        CScriptedPrompt prompt;
        PageProperties values;
        values.next = 5;
        CDlgPageProp dialog(3, values, mode, prompt);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("ページ属性設定"));
        QCOMPARE(dialog.Field(1069)->text(), QStringLiteral("3"));
        QCOMPARE(dialog.Field(1068)->text(), QStringLiteral("5"));
        QCOMPARE(dialog.Field(1068)->isEnabled(), enabled);
        QCOMPARE(dialog.NextPageNote(), note);
        dialog.Field(1068)->setText(QStringLiteral("7"));
        dialog.Field(1016)->setText(QStringLiteral("9"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Values().next, 7);
        QCOMPARE(dialog.Values().timer, 9);
    }

    void itemDialogShowsGeometryAsStoredAndKeepsHiddenFields()
    {
        Fixture f;
        CDlgItemProp dialog(f.model.pages.At(0)->items[0], f.colours, f.prompt);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("アイテム属性"));
        QCOMPARE(dialog.Field(1021)->text(), QStringLiteral("10.9"));
        QVERIFY(dialog.Field(1020)->isReadOnly());
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const PageItem item = dialog.Item();
        QCOMPARE(item.x, 10.9f);
        QCOMPARE(item.focus, QStringLiteral("T:1:0"));
        QCOMPARE(item.text, QStringLiteral("keep"));
        QCOMPARE(item.ret, QStringLiteral("2"));
    }

    // The design surface moves items partly off the page and to fractions of a unit: the
    // dialog shows such a position as it is, keeps it on OK, and takes one typed in.
    void itemDialogTakesTheSurfacesGeometry_data()
    {
        QTest::addColumn<float>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed"); // empty: OK without a change
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<float>("result");
        QTest::newRow("negative fraction kept") << -5.5f << QStringLiteral("-5.5") << 1021 << QString() << true
                                                << -5.5f;
        QTest::newRow("float fraction kept") << 0.1f << QStringLiteral("0.1") << 1022 << QString() << true << 0.1f;
        QTest::newRow("large kept") << 1e9f << QStringLiteral("1000000000") << 1021 << QString() << true << 1e9f;
        QTest::newRow("whole") << 10.0f << QStringLiteral("10") << 1021 << QString() << true << 10.0f;
        QTest::newRow("negative typed") << 10.0f << QStringLiteral("10") << 1022 << QStringLiteral(" -17.25 ") << true << -17.25f;
        QTest::newRow("leading point") << 10.0f << QStringLiteral("10") << 1021 << QStringLiteral(".5") << true << 0.5f;
        QTest::newRow("width fraction") << 99.5f << QStringLiteral("99.5") << 1023 << QString() << true << 99.5f;
        QTest::newRow("negative width") << 10.0f << QStringLiteral("10") << 1023 << QStringLiteral("-1") << false << 10.0f;
        QTest::newRow("exponent") << 10.0f << QStringLiteral("10") << 1021 << QStringLiteral("1e3") << false << 10.0f;
        QTest::newRow("beyond the surface") << 10.0f << QStringLiteral("10") << 1021 << QStringLiteral("-2000000000") << false
                                            << 10.0f;
        QTest::newRow("letters") << 10.0f << QStringLiteral("10") << 1022 << QStringLiteral("x") << false << 10.0f;
        QTest::newRow("empty") << 10.0f << QStringLiteral("10") << 1022 << QStringLiteral(" ") << false << 10.0f;
    }

    void itemDialogTakesTheSurfacesGeometry()
    {
        QFETCH(float, stored);
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(float, result);
        Fixture f;
        PageItem item = f.model.pages.At(0)->items[0];
        float *const fields[] = {&item.x, &item.y, &item.width, &item.height};
        *fields[field - 1021] = stored;
        CDlgItemProp dialog(item, f.colours, f.prompt);
        dialog.show();
        QTEST(dialog.Field(field)->text(), "shown");
        if (!typed.isEmpty())
            dialog.Field(field)->setText(typed);
        dialog.accept();
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        if (!accepted) {
            QCOMPARE(f.prompt.Messages(), QStringList{QStringLiteral("数値を入力してください。")});
            QCOMPARE(dialog.focusWidget(), dialog.Field(field));
            return;
        }
        QVERIFY(f.prompt.records.isEmpty());
        const PageItem out = dialog.Item();
        const float values[] = {out.x, out.y, out.width, out.height};
        QCOMPARE(values[field - 1021], result);
    }

    void itemDialogTipsNearTheirFields()
    {
        Fixture f;
        CDlgItemProp dialog(f.model.pages.At(0)->items[0], f.colours, f.prompt);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QLineEdit *wrap = dialog.Field(1028);
        const QRect rect(wrap->mapTo(&dialog, QPoint(0, 0)), wrap->size());
        QCOMPARE(dialog.TipAt(rect.center()), WordWrapTip());
        QCOMPARE(dialog.TipAt(QPoint(rect.right() + 5, rect.center().y())), WordWrapTip());
        QVERIFY(dialog.TipAt(QPoint(rect.right() + 6, rect.center().y())).isEmpty());
        const QLineEdit *mode = dialog.Field(1029);
        QCOMPARE(dialog.TipAt(mode->mapTo(&dialog, mode->rect().center())), ItemModeTip());
        QCOMPARE(WordWrapTip().count(u'\n'), 13);
        QVERIFY(WordWrapTip().endsWith(QStringLiteral("入れて指定します。\n")));
        QCOMPARE(ItemModeTip().split(u'\n').size(), 11);
        QVERIFY(ItemModeTip().contains(QStringLiteral("  1:\u3000カーソル専用アイテム")));
    }

    void colourButtonPutsThePickedIndex()
    {
        Fixture f;
        CDlgItemProp dialog(f.model.pages.At(0)->items[0], f.colours, f.prompt);
        WhenShown<CDlgColorMap>([](CDlgColorMap *picker) {
            // Index 5 is the sixth cell (16 pixels) of the first grid row.
            QTest::mouseClick(picker->findChild<CColorMapGrid *>(), Qt::LeftButton, {},
                              QPoint(5 * 16 + 8, 8));
            picker->accept();
        });
        dialog.PickColour(1027);
        QCOMPARE(dialog.Field(1027)->text(), QStringLiteral("5"));
        WhenShown<CDlgColorMap>([](CDlgColorMap *picker) { picker->reject(); });
        dialog.PickColour(1025);
        QCOMPARE(dialog.Field(1025)->text(), QStringLiteral("0"));
    }

    void itemEditGoesToThePageItWasOpenedFor()
    {
        Fixture f;
        WhenShown<CDlgItemProp>([&f](CDlgItemProp *dialog) {
            dialog->Field(1023)->setText(QStringLiteral("77"));
            // The page moves before OK (another edit): the edit follows it.
            QCOMPARE(f.edits.DropPageRow(0, 2, false), 1);
            dialog->accept();
        });
        QVERIFY(OpenItemProperties(nullptr, f.model, f.edits, 0, 1, f.colours, f.prompt));
        QCOMPARE(f.model.pages.At(1)->id, 1);
        QCOMPARE(f.model.pages.At(1)->items[1].width, 77.0f);
        QCOMPARE(f.model.pages.At(0)->items[1].width, 0.0f);
        QCOMPARE(f.document.UndoStack().undoText(), QStringLiteral("アイテム属性"));
        f.document.UndoStack().undo();
        QCOMPARE(f.model.pages.At(1)->items[1].width, 0.0f);

        WhenShown<CDlgItemProp>([](CDlgItemProp *dialog) { dialog->reject(); });
        QVERIFY(!OpenItemProperties(nullptr, f.model, f.edits, 0, 1, f.colours, f.prompt));
    }

    void actionEditTimerOnlyForThePushTextItem()
    {
        Fixture f;
        // Slot 0 is item 1, not the push-text item: no timer field, timer_item stays.
        WhenShown<CDlgAction>([](CDlgAction *dialog) {
            QVERIFY(!dialog->IsTimerShown());
            QVERIFY(dialog->TimerField()->isHidden());
            dialog->TimerField()->setText(QStringLiteral("x"));
            dialog->RetField()->setText(QStringLiteral("G:2"));
            dialog->accept();
        });
        QVERIFY(OpenActionEdit(nullptr, f.model, f.edits, 0, 0, f.prompt));
        QCOMPARE(f.model.pages.At(0)->items[0].ret, QStringLiteral("G:2"));
        QCOMPARE(f.model.pages.At(0)->timer_item, 4);
        // Slot 1 is item 2, the push-text item.
        WhenShown<CDlgAction>([](CDlgAction *dialog) {
            QVERIFY(dialog->IsTimerShown());
            QCOMPARE(dialog->TimerField()->text(), QStringLiteral("4"));
            dialog->TimerField()->setText(QStringLiteral("9"));
            dialog->accept();
        });
        QVERIFY(OpenActionEdit(nullptr, f.model, f.edits, 0, 1, f.prompt));
        QCOMPARE(f.model.pages.At(0)->timer_item, 9);
        QCOMPARE(f.model.pages.At(0)->items[1].ret, QStringLiteral("2"));
        // Unchanged values push nothing.
        const int steps = f.document.UndoStack().count();
        WhenShown<CDlgAction>([](CDlgAction *dialog) { dialog->accept(); });
        QVERIFY(!OpenActionEdit(nullptr, f.model, f.edits, 0, 1, f.prompt));
        QCOMPARE(f.document.UndoStack().count(), steps);
    }

    void textDialogCommitsHidesAndLaysOut()
    {
        CDlgGText dialog;
        dialog.setWindowTitle(QStringLiteral("テキスト編集"));
        dialog.SetText(QStringLiteral("line 1\nline 2"));
        dialog.show();
        QVERIFY(!dialog.isModal());
        QSignalSpy committed(&dialog, &CDlgGText::TextCommitted);
        dialog.Editor()->append(QStringLiteral("line 3"));
        QTest::mouseClick(dialog.UpdateButton(), Qt::LeftButton);
        QCOMPARE(committed.count(), 1);
        QCOMPARE(committed.at(0).at(0).toString(), QStringLiteral("line 1\nline 2\nline 3"));
        QVERIFY(dialog.isHidden());
        dialog.show();
        QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
        QVERIFY(dialog.isHidden());
        QCOMPARE(committed.count(), 1);
        dialog.show();
        dialog.close();
        QVERIFY(dialog.isHidden());
        dialog.resize(500, 400);
        dialog.show();
        QCOMPARE(dialog.Editor()->geometry(), QRect(4, 4, 496, 350));
        QCOMPARE(dialog.UpdateButton()->geometry(), QRect(340, 360, 70, 30));
        QCOMPARE(dialog.CancelButton()->geometry(), QRect(420, 360, 70, 30));
    }

    void channelListRows_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("types");
        QString twenty = QStringLiteral("<L>");
        for (int i = 0; i < 20; ++i)
            twenty += QStringLiteral("<Channel>%1</Channel>").arg(i % 10);
        twenty += QStringLiteral("</L>");
        QStringList fifteen;
        for (int i = 0; i < 15; ++i)
            fifteen.append(QString::number(i % 10));
        QTest::newRow("twenty") << Utf16(twenty) << fifteen << QStringList(15, QString());
        QTest::newRow("stops at another name")
            << Utf16(QStringLiteral("<X><Channel type=\"1\">NHK</Channel><Info>i</Info>"
                                    "<Channel>late</Channel></X>"))
            << QStringList{QStringLiteral("NHK")} << QStringList{QStringLiteral("H")};
        QTest::newRow("other type")
            << Utf16(QStringLiteral("<X><Channel type=\"2\">a</Channel></X>"))
            << QStringList{QStringLiteral("a")} << QStringList{QString()};
        QTest::newRow("empty") << QByteArray() << QStringList() << QStringList();
        QTest::newRow("no root") << Utf16(QStringLiteral("just text")) << QStringList()
                                 << QStringList();
        // Past 1024 bytes the file is cut: the second channel's end is never read.
        QString longer = QStringLiteral("<X><Channel type=\"0\">a</Channel><Channel type=\"1\">");
        longer += QString(600, u'b') + QStringLiteral("</Channel></X>");
        QTest::newRow("cut at 1024 bytes") << Utf16(longer) << QStringList{QStringLiteral("a")}
                                           << QStringList{QStringLiteral("D")};
    }

    void channelListRows()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, names);
        QFETCH(QStringList, types);
        const QList<ChannelListRow> rows = ParseChannelList(file);
        QStringList gotNames;
        QStringList gotTypes;
        for (const ChannelListRow &row : rows) {
            gotNames.append(row.name);
            gotTypes.append(row.type);
        }
        // A longer file reads as its first 1024 bytes: nothing after them reaches a row.
        if (QByteArray(QTest::currentDataTag()) == "cut at 1024 bytes") {
            QVERIFY(file.size() > 1024);
            const QList<ChannelListRow> cut = ParseChannelList(file.left(1024));
            QCOMPARE(rows.size(), cut.size());
            for (const ChannelListRow &row : rows)
                QVERIFY(row.name.size() < 500);
            return;
        }
        QCOMPARE(gotNames, names);
        QCOMPARE(gotTypes, types);
        CDlgCList dialog(file);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("チャンネルリスト"));
        QCOMPARE(dialog.NameAt(0), names.value(0));
        QCOMPARE(dialog.TypeAt(0), types.value(0));
        QCOMPARE(dialog.NameAt(14), names.value(14));
    }
};

ORIN_TEST_CLASS(PropertyDialogsTest)

#include "tst_property_dialogs.moc"
