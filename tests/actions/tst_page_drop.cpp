// SPDX-License-Identifier: MIT
#include "actions/page_drop.h"

#include "model/text_codec.h"

#include "test_registry.h"

#include <QMimeData>
#include <QtTest>

using namespace orin;

namespace {

const QString kPages = QStringLiteral("<CopyProgram><Program><BMLJPEG id=\"1\" comment = \"ページ\">");

} // namespace

class TestPageDrop : public QObject {
    Q_OBJECT

private slots:
    void decision_data()
    {
        QTest::addColumn<int>("modeAction");
        QTest::addColumn<bool>("hasText");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<int>("expected");
        QTest::newRow("pages onto a content set") << 1 << true << kPages << true << int(PageDrop::Merge);
        QTest::newRow("ModeAction 0 refuses") << 0 << true << kPages << true << int(PageDrop::Refuse);
        QTest::newRow("no text") << 1 << false << QString() << true << int(PageDrop::Refuse);
        QTest::newRow("text without pages") << 1 << true << u"<CopyProgram><Program>"_qs << true << int(PageDrop::Refuse);
        QTest::newRow("lower case is not a page") << 1 << true << u"<bmljpeg id=1>"_qs << true << int(PageDrop::Refuse);
        QTest::newRow("nothing open yet") << 2 << true << kPages << false << int(PageDrop::ContentFirst);
        QTest::newRow("nothing open, no pages") << 1 << true << u"hello"_qs << false << int(PageDrop::Refuse);
    }

    void decision()
    {
        QFETCH(int, modeAction);
        QFETCH(bool, hasText);
        QFETCH(QString, text);
        QFETCH(bool, loaded);
        QFETCH(int, expected);
        const std::optional<QString> dropped = hasText ? std::optional<QString>(text) : std::nullopt;
        QCOMPARE(int(DecidePageDrop(modeAction, dropped, loaded)), expected);
    }

    void droppedText_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("offered");
        QTest::newRow("UTF-8 plain text") << u"text/plain"_qs << kPages.toUtf8() << true;
        QTest::newRow("UTF-8 labelled") << u"text/plain;charset=utf-8"_qs << kPages.toUtf8() << true;
        QByteArray utf16("\xff\xfe", 2);
        utf16 += QByteArray(reinterpret_cast<const char *>(kPages.utf16()), kPages.size() * 2);
        QTest::newRow("UTF-16 with its mark") << u"text/plain;charset=utf-16"_qs << utf16 << true;
        QTest::newRow("code page 932 labelled") << u"text/plain;charset=Shift_JIS"_qs << EncodeCp932(kPages) << true;
        QTest::newRow("code page 932 unlabelled") << u"text/plain"_qs << EncodeCp932(kPages) << true;
        QTest::newRow("no text at all") << u"image/png"_qs << QByteArray("\x89PNG") << false;
    }

    void droppedText()
    {
        QFETCH(QString, format);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, offered);
        QMimeData data;
        data.setData(format, bytes);
        const std::optional<QString> text = DroppedText(data);
        QCOMPARE(text.has_value(), offered);
        if (offered)
            QCOMPARE(*text, kPages);
    }
};

ORIN_TEST_CLASS(TestPageDrop)
#include "tst_page_drop.moc"
