// SPDX-License-Identifier: MIT
// The colour map: the built-in default, colour-map files of every depth and flag, the Y/Cb/Cr
// conversion, refused and short files, and the start-up rule.

#include "test_files.h"
#include "test_registry.h"

#include "images/colour_map.h"

#include <QtTest>

using namespace orin;
using namespace orin::test;

Q_DECLARE_METATYPE(orin::ColourEntry)

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int v : values)
        bytes.append(char(v));
    return bytes;
}

// The colour of a default entry, computed from the rule independently of the code.
ColourEntry RuleColour(int index)
{
    QList<ColourEntry> base;
    auto cube = [](int i, int level) {
        return ColourEntry{quint8((i & 1) ? level : 0), quint8((i & 2) ? level : 0),
                           quint8((i & 4) ? level : 0), 255};
    };
    for (int i = 0; i < 8; ++i)
        base << cube(i, 255);
    for (int i = 1; i < 8; ++i)
        base << cube(i, 170);
    for (int r = 0; r <= 255; r += 85)
        for (int g = 0; g <= 255; g += 85)
            for (int b = 0; b <= 255; b += 85) {
                const ColourEntry c{quint8(r), quint8(g), quint8(b), 255};
                if (!base.mid(0, 15).contains(c))
                    base << c;
            }
    if (index < 8)
        return base.at(index);
    if (index == 8)
        return {0, 0, 0, 0};
    if (index <= 64)
        return base.at(index - 1);
    if (index <= 192) {
        ColourEntry c = base.at((index - 65) % 64);
        c.a = index <= 128 ? 128 : 64;
        return c;
    }
    return {0, 0, 0, 0};
}

} // namespace

class ColourMapTest : public QObject {
    Q_OBJECT

private slots:
    void builtInDefault()
    {
        CColourMap map;
        QCOMPARE(map.clutType, 0);
        QCOMPARE(map.depth, 1);
        QCOMPARE(map.regionFlag, 0);
        QCOMPARE(map.startEndFlag, 1);
        QCOMPARE(map.startIndex, 192);
        QCOMPARE(map.endIndex, 192);
        for (int i = 0; i < 300; ++i)
            QVERIFY2(map.ColourOf(i) == RuleColour(i), qPrintable(QString::number(i)));
        // Fixed points of the table.
        QVERIFY((map.ColourOf(16) == ColourEntry{0, 0, 85, 255}));
        QVERIFY((map.ColourOf(64) == ColourEntry{255, 255, 170, 255}));
        QVERIFY((map.ColourOf(9) == ColourEntry{170, 0, 0, 255}));
        QVERIFY((map.ColourOf(73) == ColourEntry{170, 0, 0, 128}));
        QVERIFY((map.ColourOf(192) == ColourEntry{255, 255, 170, 64}));
        QVERIFY((map.ColourOf(65535) == ColourEntry{0, 0, 0, 0}));
        QVERIFY((map.ColourOf(-1) == ColourEntry{0, 0, 0, 0}));
        QVERIFY((map.ColourOf(65536) == ColourEntry{0, 0, 0, 0}));
    }

    void loadFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QList<int>>("probe"); // index, R, G, B, A, ...

        // RGB, depth 1, no range: every index 0..255 from the file.
        QByteArray all = Bytes({0xA0});
        for (int i = 0; i < 256; ++i)
            all += Bytes({i, 255 - i, i / 2, 200});
        QTest::newRow("depth 1 without range") << all << 0 << 255
            << QList<int>{0, 0, 255, 0, 200, 8, 8, 247, 4, 200, 255, 255, 0, 127, 200,
                          256, 0, 0, 0, 0};
        // RGB, depth 1, range 200..210: 0..192 default, 193..199 and 211..256 cleared.
        QByteArray range = Bytes({0xA8, 200, 210});
        for (int i = 200; i <= 210; ++i)
            range += Bytes({i, 1, 2, 3});
        QTest::newRow("range 200 to 210") << range << 200 << 210
            << QList<int>{1, 255, 0, 0, 255, 192, 255, 255, 170, 64, 193, 0, 0, 0, 0,
                          199, 0, 0, 0, 0, 200, 200, 1, 2, 3, 210, 210, 1, 2, 3, 211, 0, 0, 0, 0};
        // A range ending below the default's: the defaults above it are cleared up to 256.
        QByteArray low = Bytes({0xA8, 10, 20});
        for (int i = 10; i <= 20; ++i)
            low += Bytes({9, 9, 9, 9});
        QTest::newRow("range 10 to 20") << low << 10 << 20
            << QList<int>{9, 170, 0, 0, 255, 10, 9, 9, 9, 9, 21, 0, 0, 0, 0, 100, 0, 0, 0, 0};
        // Depth 0: start and end in the nibbles of one byte.
        QTest::newRow("depth 0 nibble range")
            << Bytes({0x88, 0x23, 10, 20, 30, 40, 50, 60, 70, 80}) << 2 << 3
            << QList<int>{1, 255, 0, 0, 255, 2, 10, 20, 30, 40, 3, 50, 60, 70, 80, 4, 0, 0, 0, 0};
        // Depth 2 with the region corners and 16-bit range 256..257.
        QTest::newRow("depth 2 with region")
            << Bytes({0xD8, 0, 1, 0, 2, 0, 3, 0, 4, 1, 0, 1, 1, 1, 2, 3, 4, 5, 6, 7, 8}) << 256
            << 257 << QList<int>{7, 255, 255, 255, 255, 256, 1, 2, 3, 4, 257, 5, 6, 7, 8};
        // Y, Cb, Cr: black, white, a mixed colour and clamping at both ends.
        QTest::newRow("ycbcr") << Bytes({0x28, 0, 3, 16, 128, 128, 255, 235, 128, 128, 255,
                                         100, 50, 200, 77, 255, 255, 255, 1}) << 0 << 3
            << QList<int>{0, 0, 0, 0, 255, 1, 255, 255, 255, 255, 2, 213, 70, 0, 77,
                          3, 255, 125, 255, 1};
        // The largest file the format has (region, 16-bit range 0..65535): its last entry is
        // read, and bytes after it change nothing.
        QByteArray largest = Bytes({0xD8, 0, 1, 0, 2, 0, 3, 0, 4, 0, 0, 0xFF, 0xFF});
        largest += QByteArray(65535 * 4, char(7)) + Bytes({1, 2, 3, 4}) + Bytes({9, 9, 9, 9});
        QTest::newRow("largest file") << largest << 0 << 65535
            << QList<int>{0, 7, 7, 7, 7, 65534, 7, 7, 7, 7, 65535, 1, 2, 3, 4};
        // Bytes missing at the end read as 255.
        QTest::newRow("short file") << Bytes({0xA8, 5, 6, 1, 2, 3, 4, 9}) << 5 << 6
            << QList<int>{5, 1, 2, 3, 4, 6, 9, 255, 255, 255};
    }
    void loadFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QList<int>, probe);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("default.clt"));
        QVERIFY(WriteBytes(path, file));
        CColourMap map;
        QVERIFY(map.LoadColourMap(path));
        QCOMPARE(map.startIndex, start);
        QCOMPARE(map.endIndex, end);
        for (int i = 0; i + 4 < probe.size(); i += 5) {
            const ColourEntry c = map.ColourOf(probe.at(i));
            const QList<int> got{c.r, c.g, c.b, c.a};
            QCOMPARE(got, probe.mid(i + 1, 4));
        }
    }

    void regionAndHeaderKept()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.clt"));
        QVERIFY(WriteBytes(path, Bytes({0xDD, 0, 1, 0, 2, 0, 3, 0, 4, 1, 0, 1, 0, 1, 2, 3, 4})));
        CColourMap map;
        QVERIFY(map.LoadColourMap(path));
        QCOMPARE(map.clutType, 1);
        QCOMPARE(map.depth, 2);
        QCOMPARE(map.reserved, 5);
        QCOMPARE(map.region, (std::array<quint16, 4>{1, 2, 3, 4}));
    }

    void ycbcrConversion_data()
    {
        QTest::addColumn<QList<int>>("ycbcr");
        QTest::addColumn<QList<int>>("rgb");
        QTest::newRow("black") << QList<int>{16, 128, 128} << QList<int>{0, 0, 0};
        QTest::newRow("white") << QList<int>{235, 128, 128} << QList<int>{255, 255, 255};
        QTest::newRow("grey") << QList<int>{126, 128, 128} << QList<int>{128, 128, 128};
        QTest::newRow("mixed") << QList<int>{100, 50, 200} << QList<int>{213, 70, 0};
        QTest::newRow("below black") << QList<int>{0, 128, 128} << QList<int>{0, 0, 0};
        QTest::newRow("red, 254.9 truncated") << QList<int>{81, 90, 240} << QList<int>{254, 0, 0};
    }
    void ycbcrConversion()
    {
        QFETCH(QList<int>, ycbcr);
        QFETCH(QList<int>, rgb);
        const ColourEntry c = ColourFromYCbCr(ycbcr.at(0), ycbcr.at(1), ycbcr.at(2), 7);
        QCOMPARE((QList<int>{c.r, c.g, c.b, c.a}), rgb + QList<int>{7});
    }

    void refusedFilesKeepTheDefaults()
    {
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("good.clt"));
        QVERIFY(WriteBytes(good, Bytes({0x88, 0x11, 1, 2, 3, 4})));
        const QString depth3 = dir.filePath(QStringLiteral("depth3.clt"));
        QVERIFY(WriteBytes(depth3, Bytes({0xE8, 0, 0, 9, 9, 9, 9})));
        const CColourMap reference;

        CColourMap map;
        QVERIFY(map.LoadColourMap(good));
        QVERIFY(map.ColourOf(1) != reference.ColourOf(1));
        QString why;
        QVERIFY(!map.LoadColourMap(depth3, &why));
        QVERIFY(!why.isEmpty());
        for (int i = 0; i < 257; ++i)
            QVERIFY(map.ColourOf(i) == reference.ColourOf(i));
        // The header fields read before the refusal keep their new values, the rest the old.
        QCOMPARE(map.clutType, 1);
        QCOMPARE(map.depth, 3);
        QCOMPARE(map.startIndex, 1);
        QCOMPARE(map.endIndex, 1);

        // An empty file reads 255 as its first byte: depth 3 again.
        const QString empty = dir.filePath(QStringLiteral("empty.clt"));
        QVERIFY(WriteBytes(empty, QByteArray()));
        QVERIFY(!map.LoadColourMap(empty));
        QVERIFY(!map.LoadColourMap(dir.filePath(QStringLiteral("missing.clt")), &why));
        QVERIFY(map.ColourOf(1) == reference.ColourOf(1));
    }

    void startUpRule()
    {
        QTemporaryDir dir;
        CColourMap map;
        map.clutType = 1;
        map.startIndex = 3;
        QVERIFY(LoadStartupColourMap(map, dir.path()));
        QCOMPARE(map.clutType, 0); // no file: the whole default, header included
        QCOMPARE(map.startIndex, 192);

        QVERIFY(WriteBytes(dir.filePath(QStringLiteral("default.clt")),
                           Bytes({0xA8, 0, 0, 11, 22, 33, 44})));
        QVERIFY(LoadStartupColourMap(map, dir.path()));
        QVERIFY((map.ColourOf(0) == ColourEntry{11, 22, 33, 44}));
        QVERIFY((map.ColourOf(1) == ColourEntry{0, 0, 0, 0}));

        QVERIFY(WriteBytes(dir.filePath(QStringLiteral("default.clt")), Bytes({0x60})));
        QString why;
        QVERIFY(!LoadStartupColourMap(map, dir.path(), QString(), &why));
        QVERIFY(!why.isEmpty());
        QVERIFY((map.ColourOf(1) == ColourEntry{255, 0, 0, 255}));

        // The per-user data folder stands in when the application folder has no file.
        QTemporaryDir app;
        QTemporaryDir data;
        QVERIFY(WriteBytes(data.filePath(QStringLiteral("default.clt")),
                           Bytes({0xA8, 1, 1, 7, 7, 7, 7})));
        QVERIFY(LoadStartupColourMap(map, app.path(), data.path()));
        QVERIFY((map.ColourOf(1) == ColourEntry{7, 7, 7, 7}));
        QVERIFY(WriteBytes(app.filePath(QStringLiteral("default.clt")),
                           Bytes({0xA8, 1, 1, 9, 9, 9, 9})));
        QVERIFY(LoadStartupColourMap(map, app.path(), data.path()));
        QVERIFY((map.ColourOf(1) == ColourEntry{9, 9, 9, 9}));
    }
};

ORIN_TEST_CLASS(ColourMapTest)
#include "tst_colour_map.moc"
