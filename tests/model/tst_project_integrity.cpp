// SPDX-License-Identifier: MIT
// Telling a complete project from a damaged file, and reading a file cut short up to the cut.

#include "test_files.h"
#include "test_registry.h"

#include "model/project_reader.h"
#include "model/project_writer.h"
#include "model/text_codec.h"

#include <QtTest>

using namespace orin;

Q_DECLARE_METATYPE(orin::ProjectIntegrity)

namespace {

struct Read {
    CContentModel model;
    ProgramSettings settings;
    qint64 used = 0;
    ProjectIntegrity integrity = ProjectIntegrity::Complete;
};

Read ReadText(const QString &text)
{
    Read r;
    r.integrity = LoadProjectText(text, QStringLiteral("/p/"), r.settings, r.used, r.model,
                                  LoadServices());
    return r;
}

// Three pages with two items each, the third item text long enough to be cut in the middle.
QString ThreePageProject()
{
    CContentModel model;
    for (int p = 1; p <= 3; ++p) {
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = p;
        page->itemCount = 2;
        page->items[0].id = 1;
        page->items[0].text = QStringLiteral("first of page %1").arg(p);
        page->items[1].id = 2;
        page->items[1].text = QStringLiteral("second of page %1, a longer text").arg(p);
        model.pages.Add(std::move(page));
    }
    auto text = std::make_unique<CMyTextInfo>();
    text->id = 5;
    text->text = QStringLiteral("record");
    model.texts.Add(std::move(text));
    ProgramSettings settings;
    settings.TransChannel = 4;
    return ComposeProject(model, SaveMode::Plain, QString(), settings);
}

} // namespace

class ProjectIntegrityTest : public QObject {
    Q_OBJECT

private slots:
    void integrity_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<ProjectIntegrity>("expected");
        const auto complete = ProjectIntegrity::Complete;
        const auto truncated = ProjectIntegrity::Truncated;
        const auto foreign = ProjectIntegrity::ForeignRoot;
        const auto none = ProjectIntegrity::NoRoot;
        QTest::newRow("empty") << QString() << none;
        QTest::newRow("bytes without markup") << QStringLiteral("\x01\x7f garbage ") << none;
        QTest::newRow("declaration and comment only") << QStringLiteral("<?xml version=\"1.0\"?><!-- x -->") << none;
        QTest::newRow("cut inside the root's start tag") << QStringLiteral("<BMLCA") << none;
        QTest::newRow("another kind of document") << QStringLiteral("<html><body/></html>") << foreign;
        QTest::newRow("name differs in case") << QStringLiteral("<bmlcast></bmlcast>") << foreign;
        QTest::newRow("root only opened") << QStringLiteral("<BMLCAST>") << truncated;
        QTest::newRow("cut inside a section") << QStringLiteral("<BMLCAST><Program><BMLJPEG id=\"1\">") << truncated;
        QTest::newRow("cut inside the end tag") << QStringLiteral("<BMLCAST></BMLCAST") << truncated;
        QTest::newRow("closed root") << QStringLiteral("<BMLCAST></BMLCAST>") << complete;
        QTest::newRow("empty root") << QStringLiteral("<BMLCAST/>") << complete;
        // Markup inside the root that does not parse: what the reader finds is not what the
        // file holds (the pages of an unended Program, a page whose start tag a "<" swallowed).
        const auto malformed = ProjectIntegrity::Malformed;
        const QString written = ThreePageProject();
        const qsizetype secondPage = written.indexOf(QStringLiteral("<BMLJPEG id=\"2\""));
        QTest::newRow("inner element unended, root closed") << QStringLiteral("<BMLCAST><Program></BMLCAST>") << malformed;
        QTest::newRow("stray < before a page") << QString(written).insert(secondPage, u'<') << malformed;
        QTest::newRow("stray < inside a page") << QString(written).insert(written.indexOf(QStringLiteral("<Items"), secondPage), QStringLiteral("< ")) << malformed;
        QTest::newRow("end tag without its start") << QString(written).insert(secondPage, QStringLiteral("</Item>")) << malformed;
        QTest::newRow("markup after the root's end") << written + QStringLiteral("<\n") << complete;
        QString items;
        for (int i = 0; i <= kItemSlots; ++i)
            items += QStringLiteral("<Item/>");
        QTest::newRow("more items than a page holds")
            << QStringLiteral("<BMLCAST><Program><BMLJPEG><Items Num=\"1\">") + items + QStringLiteral("</Items></BMLJPEG></Program></BMLCAST>")
            << ProjectIntegrity::Overfull;
        QTest::newRow("written project") << written << complete;
    }
    void integrity()
    {
        QFETCH(QString, text);
        QFETCH(ProjectIntegrity, expected);
        QCOMPARE(ReadText(text).integrity, expected);
    }

    // Every cut of a project reads what stands before it: never more pages than a longer cut,
    // the pages complete before the cut with their items, and the whole file at the end.
    void aFileCutShortIsReadUpToTheCut()
    {
        const QString full = ThreePageProject();
        const qsizetype secondPageEnd = full.indexOf(QStringLiteral("</BMLJPEG>"), full.indexOf(QStringLiteral("<BMLJPEG id=\"2\""))) + 10;
        const qsizetype rootEnd = full.lastIndexOf(QStringLiteral("</BMLCAST>")) + 10;
        int pagesBefore = 0;
        for (qsizetype cut = 0; cut < rootEnd; ++cut) {
            const Read r = ReadText(full.left(cut));
            QVERIFY2(r.integrity == ProjectIntegrity::Truncated || r.integrity == ProjectIntegrity::NoRoot,
                     qPrintable(QString::number(cut)));
            QVERIFY2(r.model.pages.Count() >= pagesBefore, qPrintable(QString::number(cut)));
            pagesBefore = r.model.pages.Count();
            if (cut == secondPageEnd) {
                QCOMPARE(r.model.pages.Count(), 2);
                QCOMPARE(r.settings.TransChannel, 4);
                QCOMPARE(r.model.pages.At(1)->items[1].text, QStringLiteral("second of page 2, a longer text"));
            }
        }
        QCOMPARE(pagesBefore, 3);

        // Cut in the middle of an item text: the text up to the cut is kept.
        const qsizetype middle = full.indexOf(QStringLiteral("second of page 3")) + 9;
        const Read cutText = ReadText(full.left(middle));
        QCOMPARE(cutText.model.pages.Count(), 3);
        QCOMPARE(cutText.model.pages.At(2)->items[1].text, QStringLiteral("second of"));
        QCOMPARE(cutText.model.texts.Count(), 0);

        const Read whole = ReadText(full);
        QCOMPARE(whole.integrity, ProjectIntegrity::Complete);
        QCOMPARE(whole.model.texts.Count(), 1);
    }

    void loadProjectTellsTheIntegrityOfTheFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<ProjectIntegrity>("expected");
        const QByteArray full = EncodeUnicodeTextFile(ThreePageProject());
        QTest::newRow("complete") << full << ProjectIntegrity::Complete;
        QTest::newRow("truncated") << full.left(full.size() / 2) << ProjectIntegrity::Truncated;
        const QString text = ThreePageProject();
        QTest::newRow("stray <") << EncodeUnicodeTextFile(QString(text).insert(text.indexOf(QStringLiteral("<BMLJPEG id=\"3\"")), u'<')) << ProjectIntegrity::Malformed;
        QTest::newRow("empty file") << QByteArray() << ProjectIntegrity::NoRoot;
        QTest::newRow("code page 932 bytes read as UTF-16") << EncodeCp932(ThreePageProject()) << ProjectIntegrity::NoRoot;
    }
    void loadProjectTellsTheIntegrityOfTheFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(ProjectIntegrity, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.bjpx"));
        QVERIFY(test::WriteBytes(path, bytes));
        Read r;
        r.integrity = ProjectIntegrity::Complete == expected ? ProjectIntegrity::NoRoot : ProjectIntegrity::Complete;
        QVERIFY(LoadProject(path, true, r.settings, r.used, r.model, LoadServices(), &r.integrity));
        QCOMPARE(r.integrity, expected);
    }
};

ORIN_TEST_CLASS(ProjectIntegrityTest)
#include "tst_project_integrity.moc"
