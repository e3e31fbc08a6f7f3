// SPDX-License-Identifier: MIT
// "サーバーロード": the type, the number in its range and the record time built from the
// pickers, for the data-broadcast server and the online server.

#include "prompt_fixtures.h"
#include "test_registry.h"

#include "dialogs/dlg_server.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QtTest>

using namespace orin;
using namespace orin::test;

class TestDlgServer : public QObject {
    Q_OBJECT

private slots:
    void opensWithTheGivenValuesAndReturnsTheChosen()
    {
        CScriptedPrompt prompt;
        const QDateTime time(QDate(2024, 5, 5), QTime(7, 8, 9));
        CDlgServer dialog(1, 3, time, prompt);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("サーバーロード"));
        QVERIFY(dialog.TypeButton(1)->isChecked());
        QCOMPARE(dialog.TypeButton(0)->text(), QStringLiteral("放送中データ (エディト中のデータ)"));
        QCOMPARE(dialog.NumberField()->text(), QStringLiteral("3"));
        QCOMPARE(dialog.DateField()->date(), time.date());
        QCOMPARE(dialog.TimeField()->time(), time.time());

        dialog.TypeButton(2)->setChecked(true);
        dialog.DateField()->setDate(QDate(2023, 12, 31));
        dialog.TimeField()->setTime(QTime(23, 59, 58));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Type(), 2);
        QCOMPARE(dialog.Number(), 3);
        QCOMPARE(dialog.RecordTime(), QDateTime(QDate(2023, 12, 31), QTime(23, 59, 58)));
        QVERIFY(prompt.records.isEmpty());
    }

    void numbersOutsideTheRangeKeepTheDialogOpen_data()
    {
        QTest::addColumn<bool>("online");
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("server 8") << false << QStringLiteral("8") << true;
        QTest::newRow("server 9") << false << QStringLiteral("9") << false;
        QTest::newRow("server 0") << false << QStringLiteral("0") << false;
        QTest::newRow("server text") << false << QStringLiteral("x") << false;
        QTest::newRow("online 15") << true << QStringLiteral("15") << true;
        QTest::newRow("online 16") << true << QStringLiteral("16") << false;
    }
    void numbersOutsideTheRangeKeepTheDialogOpen()
    {
        QFETCH(bool, online);
        QFETCH(QString, number);
        QFETCH(bool, accepted);
        CScriptedPrompt prompt;
        const QDateTime time(QDate(2024, 5, 5), QTime(7, 8, 9));
        std::unique_ptr<CDlgServer> dialog(online ? new CDlgOnline(1, 1, time, prompt, {})
                                                  : new CDlgServer(1, 1, time, prompt));
        dialog->NumberField()->setText(number);
        dialog->accept();
        QCOMPARE(dialog->result() == QDialog::Accepted, accepted);
        QCOMPARE(prompt.Messages().isEmpty(), accepted);
        if (!accepted)
            QCOMPARE(prompt.Messages().first(),
                     QStringLiteral("1 から %1 までの整数を入力してください。").arg(online ? 15 : 8));
    }

    void onlineDialogHasNoOnAirChoiceAndOpensTheChannelList()
    {
        CScriptedPrompt prompt;
        int opened = 0;
        CDlgOnline dialog(1, 4, QDateTime::currentDateTime(), prompt,
                          [&opened](QWidget *) { ++opened; });
        QVERIFY(dialog.TypeButton(0)->isHidden());
        QCOMPARE(dialog.TypeButton(1)->text(), QStringLiteral("最新データ"));
        QCOMPARE(dialog.TypeButton(2)->text(), QStringLiteral("日時指定"));
        QTest::mouseClick(dialog.ChannelListButton(), Qt::LeftButton);
        QCOMPARE(opened, 1);
        // "現在値セット" puts the current time, to the second, into the pickers.
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        QTest::mouseClick(dialog.NowButton(), Qt::LeftButton);
        const QDateTime shown(dialog.DateField()->date(), dialog.TimeField()->time());
        QVERIFY(shown >= QDateTime(before.date(), QTime(before.time().hour(), before.time().minute(), before.time().second())));
        QVERIFY(shown <= QDateTime::currentDateTime());
    }
};

ORIN_TEST_CLASS(TestDlgServer)
#include "tst_dlg_server.moc"
