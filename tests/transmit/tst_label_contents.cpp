// SPDX-License-Identifier: MIT
// The label contents of server content: what is read from them, what is refused, and how the
// lists they fill decide what counts as editable and edited in the server access mode.

#include "test_registry.h"

#include "model/content_model.h"
#include "transmit/server_content.h"

#include <QtTest>

using namespace orin;

namespace {

constexpr int kServerMode = 2;

// Two texts, a picture and a material, labelled A, B, P and M; text 2 and the material are
// marked changed.
void FillModel(CContentModel &model)
{
    const char16_t *labels[] = {u"A", u"B"};
    for (int i = 0; i < 2; ++i) {
        auto text = std::make_unique<CMyTextInfo>();
        text->id = i + 1;
        text->label = QString::fromUtf16(labels[i]);
        text->changed = i;
        model.texts.Add(std::move(text));
    }
    auto picture = std::make_unique<CMyPictureInfo>();
    picture->id = 5;
    picture->label = QStringLiteral("P");
    model.pictures.Add(std::move(picture));
    auto material = std::make_unique<CMyPictureInfo>();
    material->id = 200;
    material->label = QStringLiteral("M");
    material->changed = 1;
    model.materials.Add(std::move(material));
    auto unlabelled = std::make_unique<CMyTextInfo>();
    unlabelled->id = 3;
    model.texts.Add(std::move(unlabelled));
}

} // namespace

class LabelContentsTest : public QObject {
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("pictures");
        QTest::addColumn<bool>("background");
        QTest::newRow("all three kinds")
            << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<LabelContents>"
                          "<Text label=\"見出し\"/><Text label=\"本文\"/>"
                          "<Picture label=\"写真1\"/><Background/></LabelContents>")
            << QStringList{QStringLiteral("見出し"), QStringLiteral("本文")}
            << QStringList{QStringLiteral("写真1")} << true;
        QTest::newRow("empty root") << QByteArray("<LabelContents/>") << QStringList()
                                    << QStringList() << false;
        QTest::newRow("byte-order mark, entities, any order, twice, empty and missing labels")
            << QByteArray("\xef\xbb\xbf<LabelContents><Picture label=\"a&amp;b\"/>"
                          "<Text label=\"&lt;t&gt;\"></Text><Text label=\"\"/><Text/>"
                          "<Picture label=\"a&amp;b\"/><Other label=\"x\"><Text label=\"in\"/>"
                          "</Other><!-- note --></LabelContents>\n")
            << QStringList{QStringLiteral("<t>")} << QStringList{QStringLiteral("a&b")}
            << false;
        QTest::newRow("a declaration naming another encoding is still read as UTF-8")
            << QByteArray("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>"
                          "<LabelContents><Text label=\"文字\"/></LabelContents>")
            << QStringList{QStringLiteral("文字")} << QStringList() << false;
    }

    void parse()
    {
        QFETCH(QByteArray, xml);
        CLabelContents contents;
        contents.texts = QStringList{QStringLiteral("old")};
        QString error = QStringLiteral("old");
        QVERIFY2(ParseLabelContents(xml, &contents, &error), qPrintable(error));
        QVERIFY(error.isEmpty());
        QTEST(contents.texts, "texts");
        QTEST(contents.pictures, "pictures");
        QTEST(contents.background, "background");
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("other root") << QByteArray("<Labels><Text label=\"a\"/></Labels>");
        QTest::newRow("not closed") << QByteArray("<LabelContents><Text label=\"a\"/>");
        QTest::newRow("second root")
            << QByteArray("<LabelContents/><LabelContents><Background/></LabelContents>");
        QTest::newRow("not UTF-8") << QByteArray("<LabelContents><Text label=\"\x8c\xa9\"/>"
                                                 "</LabelContents>");
        QTest::newRow("undeclared entity")
            << QByteArray("<LabelContents><Text label=\"&x;\"/></LabelContents>");
    }

    void refused()
    {
        QFETCH(QByteArray, xml);
        CLabelContents contents;
        contents.background = true;
        contents.texts = QStringList{QStringLiteral("old")};
        QString error;
        QVERIFY(!ParseLabelContents(xml, &contents, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(contents.texts.isEmpty() && contents.pictures.isEmpty() && !contents.background);
    }

    // At most kMaxLabels different labels of each kind; a label said again does not count.
    void labelCountIsBounded_data()
    {
        QTest::addColumn<QByteArray>("element");
        QTest::addColumn<int>("distinct");
        QTest::addColumn<int>("repeats"); // extra mentions of the first label
        QTest::addColumn<bool>("accepted");
        QTest::newRow("texts at the bound") << QByteArray("Text") << kMaxLabels << 0 << true;
        QTest::newRow("texts one over") << QByteArray("Text") << kMaxLabels + 1 << 0 << false;
        QTest::newRow("pictures one over") << QByteArray("Picture") << kMaxLabels + 1 << 0 << false;
        QTest::newRow("at the bound, one label said 200,000 times more")
            << QByteArray("Picture") << kMaxLabels << 200000 << true;
    }
    void labelCountIsBounded()
    {
        QFETCH(QByteArray, element);
        QFETCH(int, distinct);
        QFETCH(int, repeats);
        QFETCH(bool, accepted);
        QByteArray xml("<LabelContents>");
        for (int i = 0; i < distinct; ++i)
            xml += '<' + element + " label=\"L" + QByteArray::number(i) + "\"/>";
        for (int i = 0; i < repeats; ++i)
            xml += '<' + element + " label=\"L0\"/>";
        xml += "</LabelContents>";
        CLabelContents contents;
        QString error;
        QCOMPARE(ParseLabelContents(xml, &contents, &error), accepted);
        if (!accepted) {
            QVERIFY2(error.contains(QString::number(kMaxLabels)), qPrintable(error));
            QVERIFY(contents.texts.isEmpty() && contents.pictures.isEmpty());
            return;
        }
        const QStringList &list = element == "Text" ? contents.texts : contents.pictures;
        QCOMPARE(list.size(), distinct);
        QCOMPARE(list.first(), QStringLiteral("L0"));
        QCOMPARE(list.last(), QStringLiteral("L%1").arg(distinct - 1));
    }

    void labelsDecideWhatIsEditable()
    {
        CContentModel model;
        FillModel(model);
        // Fetched content without label contents: nothing may be edited in the server mode,
        // everything outside it.
        QVERIFY(!IsTextEditable(model, kServerMode, 1));
        QVERIFY(!IsPictureEditable(model, kServerMode, 5));
        QVERIFY(!IsBackgroundEditable(model, kServerMode));
        QVERIFY(IsTextEditable(model, 0, 0) && IsTextEditable(model, 1, 99));
        QVERIFY(IsPictureEditable(model, 0, 5) && !IsPictureEditable(model, 0, 0));
        QVERIFY(IsBackgroundEditable(model, 1));

        CLabelContents contents;
        contents.texts = QStringList{QStringLiteral("A")};
        contents.pictures = QStringList{QStringLiteral("M"), QStringLiteral("")};
        contents.background = true;
        ApplyLabelContents(model, contents);
        QCOMPARE(model.serverLabels.current, QStringLiteral("[BACKGROUND]"));
        QVERIFY(IsBackgroundEditable(model, kServerMode));
        QVERIFY(IsTextEditable(model, kServerMode, 1));
        QVERIFY(!IsTextEditable(model, kServerMode, 2));  // label B is not listed
        QVERIFY(!IsTextEditable(model, kServerMode, 3));  // no label, though "" is listed
        QVERIFY(!IsTextEditable(model, kServerMode, 0));  // the item's own text
        QVERIFY(!IsTextEditable(model, kServerMode, 99)); // no such record
        QVERIFY(IsPictureEditable(model, kServerMode, 200));
        QVERIFY(!IsPictureEditable(model, kServerMode, 5));

        // Edited: the changed flags, in the server mode only.
        QVERIFY(IsTextChanged(model, kServerMode, 2) && !IsTextChanged(model, kServerMode, 1));
        QVERIFY(IsPictureChanged(model, kServerMode, 200));
        QVERIFY(!IsPictureChanged(model, kServerMode, 5));
        QVERIFY(!IsTextChanged(model, 0, 2) && !IsPictureChanged(model, 1, 200));

        // A deleted text (id -1) is not found by its id.
        model.texts.At(0)->id = kDeletedId;
        QVERIFY(!IsTextEditable(model, kServerMode, kDeletedId));

        // Recorded content comes without label contents; loading another content set empties
        // the lists as well.
        ApplyLabelContents(model, CLabelContents());
        QVERIFY(model.serverLabels.IsEmpty());
        ApplyLabelContents(model, contents);
        model.ClearModel();
        QVERIFY(model.serverLabels.IsEmpty());
    }
};

ORIN_TEST_CLASS(LabelContentsTest)

#include "tst_label_contents.moc"
