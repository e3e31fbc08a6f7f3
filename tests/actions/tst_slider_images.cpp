// SPDX-License-Identifier: MIT
#include "actions/action_strings.h"

#include "test_registry.h"

#include <QtTest>

using namespace orin;

class TestSliderImages : public QObject {
    Q_OBJECT

private slots:
    void sliderLists_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QList<int>>("extracted");
        QTest::addColumn<QString>("rewritten"); // lower-case lists, map 3 -> 7 and 4 -> 8
        QTest::newRow("the guide's example") << u"$slider:p3/4/5:i2:w5000"_qs << QList<int>{3, 4, 5}
                                             << u"$slider:p7/8/5:i2:w5000"_qs;
        QTest::newRow("list after other parameters") << u"G:3,$slider:i4:p4:w9"_qs << QList<int>{4}
                                                     << u"G:3,$slider:i4:p8:w9"_qs;
        QTest::newRow("upper-case list is found, rewritten only for P")
            << u"$slider:P3/4"_qs << QList<int>{3, 4} << u"$slider:P3/4"_qs;
        QTest::newRow("after a section marker, up to the next")
            << u"[#1]$slider:p3[#2]p:4:"_qs << QList<int>{3} << u"[#1]$slider:p7[#2]p:4:"_qs;
        QTest::newRow("ids that are not numbers stay") << u"$slider:p3/x4/ 4"_qs << QList<int>{3, 0, 4}
                                                       << u"$slider:p7/x4/ 4"_qs;
        QTest::newRow("not where an entry begins") << u"B:$slider:p3"_qs << QList<int>{}
                                                   << u"B:$slider:p3"_qs;
        QTest::newRow("no colon after the name") << u"$sliderp3"_qs << QList<int>{} << u"$sliderp3"_qs;
    }

    void sliderLists()
    {
        QFETCH(QString, action);
        QFETCH(QList<int>, extracted);
        QFETCH(QString, rewritten);
        QList<int> ids;
        ExtractSliderImages(action, ids);
        QCOMPARE(ids, extracted);
        QString text = action;
        RewriteSliderImages(text, u'p', {3, 4}, {7, 8});
        QCOMPARE(text, rewritten);
        CIdLookup lookup;
        lookup.Add(3, 7);
        lookup.Add(4, 8);
        text = action;
        RewriteSliderImages(text, u'p', lookup);
        QCOMPARE(text, rewritten);
    }
};

ORIN_TEST_CLASS(TestSliderImages)
#include "tst_slider_images.moc"
