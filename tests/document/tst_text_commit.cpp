// SPDX-License-Identifier: MIT
// Where a text edited on the canvas goes: the route by text state and Shift, the write-back of a
// text typed in place by the text state recorded when typing began, and the text dialog's
// "更新" on the target it was opened with.

#include "document_fixture.h"
#include "page_fixtures.h"
#include "test_registry.h"

#include "document/document.h"
#include "document/document_edits.h"
#include "document/text_commit.h"

#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

// Page 10 with item 3 ("own") and page 20 with item 3 ("other"); text 1 has sections
// labelled 3 and 4, text 2 has none.
struct Fixture : DocumentParts {
    Fixture()
    {
        for (const int id : {10, 20}) {
            auto page = std::make_unique<CMyProgramInfo>();
            page->id = id;
            AddItem(*page, 3, 0, 0).text = id == 10 ? QStringLiteral("own") : QStringLiteral("other");
            model.pages.Add(std::move(page));
        }
        AddText(1, QStringLiteral("[#3]three[#4]four"));
        AddText(2, QStringLiteral("plain"));
    }
    void AddText(int id, const QString &text)
    {
        auto record = std::make_unique<CMyTextInfo>();
        record->id = id;
        record->text = text;
        model.texts.Add(std::move(record));
    }
    TextEditTarget Target(int state, int source, int section = 0) const
    {
        return {model.pages.At(0)->serial.Value(), 3, state, source, section};
    }
    QString ItemText(int row) const { return model.pages.At(row)->items[0].text; }
    QString Text(int id) const { return model.texts.FindById(id)->text; }
};

} // namespace

class TextCommitTest : public QObject {
    Q_OBJECT

private slots:
    void routeByTextStateAndShift_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<int>("route");
        const int inPlace = int(TextEditRoute::InPlace);
        const int group = int(TextEditRoute::GroupDialog);
        const int item = int(TextEditRoute::ItemDialog);
        QTest::newRow("own text") << 0 << false << inPlace;
        QTest::newRow("own text, Shift") << 0 << true << item;
        QTest::newRow("record") << 1 << false << inPlace;
        QTest::newRow("record, Shift") << 1 << true << item;
        QTest::newRow("group text") << 2 << false << inPlace;
        QTest::newRow("group text, Shift") << 2 << true << group;
        QTest::newRow("sectioned record") << 3 << false << group;
        QTest::newRow("sectioned record, Shift") << 3 << true << group;
        QTest::newRow("chosen section") << 4 << false << inPlace;
        QTest::newRow("chosen section, Shift") << 4 << true << group;
    }

    void routeByTextStateAndShift()
    {
        QFETCH(int, state);
        QFETCH(bool, shift);
        QFETCH(int, route);
        QCOMPARE(int(RouteTextEdit(state, shift)), route);
    }

    void typedTextFollowsTheTextState_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("section");
        QTest::addColumn<QString>("itemText");
        QTest::addColumn<QString>("text1");
        QTest::addColumn<QString>("text2");
        const QString sectioned = QStringLiteral("[#3]three[#4]four");
        QTest::newRow("own text") << 0 << 0 << 0 << QStringLiteral("typed") << sectioned << QStringLiteral("plain");
        QTest::newRow("record without sections") << 1 << 2 << 0 << QStringLiteral("own") << sectioned << QStringLiteral("typed");
        QTest::newRow("group text: the item's section")
            << 2 << 1 << 0 << QStringLiteral("own") << QStringLiteral("[#3]typed[#4]four") << QStringLiteral("plain");
        // The item shows its own text when the group text has no sections.
        QTest::newRow("group text without sections") << 2 << 2 << 0 << QStringLiteral("typed") << sectioned
                                                     << QStringLiteral("plain");
        QTest::newRow("section chosen by I") << 4 << 1 << 4 << QStringLiteral("own") << QStringLiteral("[#3]three[#4]typed")
                                             << QStringLiteral("plain");
        QTest::newRow("sectioned record shown whole") << 3 << 1 << 1 << QStringLiteral("own") << sectioned
                                                      << QStringLiteral("plain");
    }

    void typedTextFollowsTheTextState()
    {
        QFETCH(int, state);
        QFETCH(int, source);
        QFETCH(int, section);
        QFETCH(QString, itemText);
        QFETCH(QString, text1);
        QFETCH(QString, text2);
        Fixture f;
        const bool written =
            CommitTypedText(f.edits, f.model, f.Target(state, source, section), QStringLiteral("typed"));
        QCOMPARE(f.ItemText(0), itemText);
        QCOMPARE(f.ItemText(1), QStringLiteral("other"));
        QCOMPARE(f.Text(1), text1);
        QCOMPARE(f.Text(2), text2);
        QCOMPARE(written, state != 3);
        QCOMPARE(f.document.UndoStack().count(), written ? 1 : 0);
        QCOMPARE(f.document.IsModified(), written);
    }

    void targetPageIsFollowedByItsRecord()
    {
        Fixture f;
        const TextEditTarget target = f.Target(0, 0);
        // Renumbered: the id changed, the record is the same.
        f.model.pages.At(0)->id = 30;
        QVERIFY(CommitTypedText(f.edits, f.model, target, QStringLiteral("typed")));
        QCOMPARE(f.ItemText(0), QStringLiteral("typed"));
        QCOMPARE(f.ItemText(1), QStringLiteral("other"));
        // The same text again changes nothing.
        QVERIFY(!CommitTypedText(f.edits, f.model, target, QStringLiteral("typed")));

        // Another content set: the ids may be the same, the records are not.
        Fixture other;
        QVERIFY(!CommitTypedText(other.edits, other.model, target, QStringLiteral("lost")));
        QVERIFY(!CommitDialogText(other.edits, other.model, target, 2, QStringLiteral("lost")));
        QCOMPARE(other.Text(2), QStringLiteral("plain"));
        QCOMPARE(other.document.UndoStack().count(), 0);
    }

    void dialogTextGoesToTheRecordOrTheShownSource()
    {
        Fixture f;
        // Opened on a whole record.
        QVERIFY(CommitDialogText(f.edits, f.model, f.Target(3, 1), 1, QStringLiteral("[#3]x")));
        QCOMPARE(f.Text(1), QStringLiteral("[#3]x"));
        QCOMPARE(f.model.texts.FindById(1)->changed, 1);
        // Opened on the displayed text (id 0): the record the item showed, else its own text.
        QVERIFY(CommitDialogText(f.edits, f.model, f.Target(1, 2), 0, QStringLiteral("p")));
        QCOMPARE(f.Text(2), QStringLiteral("p"));
        QVERIFY(CommitDialogText(f.edits, f.model, f.Target(0, 0), 0, QStringLiteral("o")));
        QCOMPARE(f.ItemText(0), QStringLiteral("o"));
        QCOMPARE(f.document.UndoStack().count(), 3);
    }
};

ORIN_TEST_CLASS(TextCommitTest)

#include "tst_text_commit.moc"
