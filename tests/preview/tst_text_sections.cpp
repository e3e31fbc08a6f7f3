// SPDX-License-Identifier: MIT
#include "preview/text_sections.h"

#include "preview_fixture.h"
#include "test_registry.h"

#include <QtTest>

#include <climits>

using namespace orin;
using namespace Qt::StringLiterals;

// Sections of texts and macros, by position and by label, with the corner rules that differ
// between the two.
class TestTextSections : public QObject {
    Q_OBJECT

private slots:
    void init();
    void textSteps_data();
    void textSteps();
    void macroSteps_data();
    void macroSteps();
    void lookups_data();
    void lookups();

private:
    test::CPreviewFixture m_f;
};

void TestTextSections::init()
{
    m_f.model.ClearModel();
    m_f.AddText(3, u"[#1]first[#2]second[#5]third"_s);
    m_f.AddText(4, u"plain"_s);
    m_f.AddText(-1, u"[#1]deleted"_s);
    m_f.AddMacro(4, u"[#1]B:1:2[#2]B:2:2[#3]B:3:2"_s);
    m_f.AddMacro(5, u"P:205:3"_s);
}

void TestTextSections::textSteps_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("next");
    QTest::addColumn<int>("previous");
    QTest::addColumn<int>("count");
    QTest::newRow("k 0 gives 1 before any lookup") << 99 << 0 << 1 << 1 << 0;
    QTest::newRow("middle") << 3 << 2 << 3 << 1 << 3;
    QTest::newRow("wraps at both ends") << 3 << 3 << 1 << 2 << 3;
    QTest::newRow("first goes back to last") << 3 << 1 << 2 << 3 << 3;
    QTest::newRow("no marker") << 4 << 1 << 0 << 0 << 1;
    QTest::newRow("absent") << 9 << 1 << 0 << 0 << 0;
    QTest::newRow("past the last (an item id as section)") << 3 << INT_MAX << 1 << INT_MAX - 1 << 3;
    QTest::newRow("deleted record is absent") << -1 << 1 << 0 << 0 << 0;
}

void TestTextSections::textSteps()
{
    QFETCH(int, id);
    QFETCH(int, k);
    QFETCH(int, next);
    QFETCH(int, previous);
    QFETCH(int, count);
    QCOMPARE(TextNextSection(m_f.model, id, k), next);
    QCOMPARE(TextPreviousSection(m_f.model, id, k), previous);
    QCOMPARE(TextSectionCount(m_f.model, id), count);
}

void TestTextSections::macroSteps_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("next");
    QTest::addColumn<int>("previous");
    QTest::newRow("k 0 steps to 1 and back to n") << 4 << 0 << 0 << 1 << 3;
    QTest::newRow("limit caps the count") << 4 << 2 << 2 << 1 << 1;
    QTest::newRow("limit above the count") << 4 << 3 << 5 << 1 << 2;
    QTest::newRow("negative limit caps nothing") << 4 << 3 << -2 << 1 << 2;
    QTest::newRow("no marker") << 5 << 0 << 0 << 0 << 0;
    QTest::newRow("absent") << 8 << 0 << 0 << 0 << 0;
}

void TestTextSections::macroSteps()
{
    QFETCH(int, id);
    QFETCH(int, k);
    QFETCH(int, limit);
    QFETCH(int, next);
    QFETCH(int, previous);
    QCOMPARE(MacroNextSection(m_f.model, id, k, limit), next);
    QCOMPARE(MacroPreviousSection(m_f.model, id, k, limit), previous);
}

void TestTextSections::lookups_data()
{
    QTest::addColumn<bool>("macro");
    QTest::addColumn<bool>("byLabel");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result"); // by position: 1 found, 0 not
    QTest::addColumn<QString>("text");
    QTest::newRow("text position 2") << false << false << 3 << 2 << 1 << u"second"_s;
    QTest::newRow("text position past the end") << false << false << 3 << 4 << 0 << QString();
    QTest::newRow("text id 0 is the empty text") << false << false << 0 << 1 << 1 << QString();
    QTest::newRow("text without markers: whole") << false << false << 4 << 7 << 1 << u"plain"_s;
    QTest::newRow("text label 5 is the third") << false << true << 3 << 5 << 1 << u"third"_s;
    QTest::newRow("text label 0 is the whole text")
        << false << true << 3 << 0 << 1 << u"[#1]first[#2]second[#5]third"_s;
    QTest::newRow("text without markers: result 2") << false << true << 4 << 3 << 2 << u"plain"_s;
    QTest::newRow("text label missing") << false << true << 3 << 4 << 0 << QString();
    QTest::newRow("text absent") << false << true << 8 << 1 << 0 << QString();
    QTest::newRow("macro position 3") << true << false << 4 << 3 << 1 << u"B:3:2"_s;
    QTest::newRow("macro without markers: whole") << true << false << 5 << 0 << 1 << u"P:205:3"_s;
    QTest::newRow("macro label without markers") << true << true << 5 << 2 << 0 << QString();
    QTest::newRow("macro label 2") << true << true << 4 << 2 << 1 << u"B:2:2"_s;
}

void TestTextSections::lookups()
{
    QFETCH(bool, macro);
    QFETCH(bool, byLabel);
    QFETCH(int, id);
    QFETCH(int, key);
    QFETCH(int, result);
    QFETCH(QString, text);
    if (byLabel) {
        const SectionLabelled s = macro ? MacroSectionByLabel(m_f.model, id, key)
                                        : TextSectionByLabel(m_f.model, id, key);
        QCOMPARE(s.result, result);
        QCOMPARE(s.text, text);
    } else {
        const SectionFound s = macro ? MacroSectionByPosition(m_f.model, id, key)
                                     : TextSectionByPosition(m_f.model, id, key);
        QCOMPARE(s.found, result == 1);
        QCOMPARE(s.text, text);
    }
}

ORIN_TEST_CLASS(TestTextSections)
#include "tst_text_sections.moc"
