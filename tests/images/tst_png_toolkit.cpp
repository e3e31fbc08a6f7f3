// SPDX-License-Identifier: MIT
// The PNG toolkit on the real corpus and on malformed files: classification, header reading,
// palette insertion (layout, CRCs, colours as Qt decodes them), and scans that end on every
// file without leaving a part-written copy.

#include "full_disk.h"
#include "test_files.h"
#include "test_paths.h"
#include "test_registry.h"

#include "images/colour_map.h"
#include "images/png_crc.h"
#include "images/png_header.h"
#include "images/png_palette.h"

#include <QtEndian>
#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

struct Chunk {
    QByteArray type;
    QByteArray data;
    QByteArray raw; // length, type, data, CRC as in the file
};

// The chunks of a well-formed PNG (the corpus files), read independently of the toolkit.
QList<Chunk> SplitChunks(const QByteArray &png)
{
    QList<Chunk> chunks;
    qsizetype pos = 8;
    while (pos + 12 <= png.size()) {
        const quint32 length = qFromBigEndian<quint32>(png.constData() + pos);
        if (pos + 12 + qsizetype(length) > png.size())
            break;
        chunks.append({png.mid(pos + 4, 4), png.mid(pos + 8, length), png.mid(pos, 12 + length)});
        pos += 12 + length;
    }
    return chunks;
}

QByteArray JoinChunks(const QList<Chunk> &chunks)
{
    QByteArray png("\x89PNG\r\n\x1A\n", 8);
    for (const Chunk &c : chunks)
        png += c.raw;
    return png;
}

QStringList CorpusFiles()
{
    QStringList files;
    for (const char *folder : {"/png/pngsuite", "/png/testpngs"}) {
        const QDir dir(TestDataDir() + QLatin1String(folder));
        for (const QString &name : dir.entryList({QStringLiteral("*.png")}, QDir::Files))
            files << dir.filePath(name);
    }
    return files;
}

QStringList CrasherFiles()
{
    const QDir dir(TestDataDir() + QStringLiteral("/png/crashers"));
    QStringList files;
    for (const QString &name : dir.entryList({QStringLiteral("*.png")}, QDir::Files))
        files << dir.filePath(name);
    return files;
}

// An indexed PNG without PLTE, `depth` bits per index, pixels taking indexes 0, 1, 2, ... in
// turn (modulo 2^depth).
QByteArray ColourMapPngBytes(int width, int height, int depth)
{
    QByteArray raw;
    int next = 0;
    for (int y = 0; y < height; ++y) {
        raw.append('\0');
        QByteArray row((width * depth + 7) / 8, '\0');
        for (int x = 0; x < width; ++x) {
            const int index = next++ % (1 << depth);
            const int bit = x * depth;
            row[bit / 8] = char(uchar(row[bit / 8]) | (index << (8 - depth - bit % 8)));
        }
        raw += row;
    }
    QByteArray ihdr(13, '\0');
    qToBigEndian<quint32>(width, ihdr.data());
    qToBigEndian<quint32>(height, ihdr.data() + 4);
    ihdr[8] = char(depth);
    ihdr[9] = 3;
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", ihdr)
           + PngChunk("IDAT", qCompress(raw, 9).mid(4)) + PngChunk("IEND", QByteArray());
}

// Every pixel of `decoded` has the colour that palette insertion gives the index of the same
// pixel in `indexed`.
bool ShowsColourMap(const QImage &indexed, const QImage &decoded, const CColourMap &map)
{
    if (indexed.size() != decoded.size())
        return false;
    for (int y = 0; y < indexed.height(); ++y) {
        for (int x = 0; x < indexed.width(); ++x) {
            const ColourEntry entry = map.ColourOf(indexed.pixelIndex(x, y));
            const ColourEntry shown = PaletteColourOf(entry);
            if (decoded.pixel(x, y) != qRgba(shown.r, shown.g, shown.b, entry.a))
                return false;
        }
    }
    return true;
}

// A colour map with a different colour at every index.
CColourMap RgbMap(const QTemporaryDir &dir)
{
    QByteArray clt(1, char(0xA0));
    for (int i = 0; i < 256; ++i)
        clt.append(char(i)).append(char(255 - i)).append(char(i * 7)).append(char(i < 128 ? 255 : i));
    const QString path = dir.filePath(QStringLiteral("map.clt"));
    WriteBytes(path, clt);
    CColourMap map;
    map.LoadColourMap(path);
    return map;
}

} // namespace

class PngToolkitTest : public QObject {
    Q_OBJECT

private slots:
    void corpusIsClassified()
    {
        const QStringList files = CorpusFiles();
        QVERIFY(files.size() > 100);
        for (const QString &path : files) {
            // No corpus file is a colour-map PNG: each is a PNG of another kind.
            QVERIFY2(IsColourMapPng(path) == kOtherPng, qPrintable(path));
            PngHeader header;
            QVERIFY2(ReadPngHeader(path, header), qPrintable(path));
            const QImage decoded(path);
            QCOMPARE(QSize(header.width, header.height), decoded.size());
            const QByteArray ihdr = SplitChunks(ReadBytes(path)).first().data;
            QCOMPARE(header.bitDepth, int(uchar(ihdr.at(8))));
            QCOMPARE(header.colourType, int(uchar(ihdr.at(9))));
        }
    }

    // Dropping PLTE (and the chunks that depend on it) from each indexed corpus file gives a
    // colour-map PNG unless it has sRGB; its copy with the palette decodes to the map's colours.
    void indexedCorpusWithoutPalette()
    {
        QTemporaryDir dir;
        const CColourMap defaults;
        const CColourMap rgb = RgbMap(dir);
        int checked = 0;
        for (const QString &path : CorpusFiles()) {
            QList<Chunk> chunks = SplitChunks(ReadBytes(path));
            if (chunks.first().data.at(9) != 3)
                continue;
            const bool hasSrgb = std::any_of(chunks.begin(), chunks.end(),
                                             [](const Chunk &c) { return c.type == "sRGB"; });
            chunks.removeIf([](const Chunk &c) {
                return c.type == "PLTE" || c.type == "tRNS" || c.type == "bKGD" || c.type == "hIST";
            });
            const QString bare = dir.filePath(QStringLiteral("bare.png"));
            QVERIFY(WriteBytes(bare, JoinChunks(chunks)));
            QCOMPARE(IsColourMapPng(bare), hasSrgb ? int(kOtherPng) : int(kColourMapPng));
            const QImage indexed(path);
            for (const CColourMap *map : {&defaults, &rgb}) {
                const QString copy = dir.filePath(QStringLiteral("copy.png"));
                QVERIFY(InsertPalette(bare, copy, *map));
                const QImage decoded(copy);
                QVERIFY2(!decoded.isNull(), qPrintable(path));
                QVERIFY2(ShowsColourMap(indexed, decoded, *map), qPrintable(path));
            }
            ++checked;
        }
        QVERIFY(checked >= 30);
    }

    void paletteLayout_data()
    {
        QTest::addColumn<int>("depth");
        QTest::newRow("1 bit") << 1;
        QTest::newRow("2 bit") << 2;
        QTest::newRow("4 bit") << 4;
        QTest::newRow("8 bit") << 8;
    }
    void paletteLayout()
    {
        QFETCH(int, depth);
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("cm.png"));
        QVERIFY(WriteBytes(source, ColourMapPngBytes(19, 7, depth)));
        QCOMPARE(IsColourMapPng(source), int(kColourMapPng));
        const QString copy = dir.filePath(QStringLiteral("out.png"));
        const CColourMap map;
        QVERIFY(InsertPalette(source, copy, map));
        const QList<Chunk> chunks = SplitChunks(ReadBytes(copy));
        QStringList types;
        for (const Chunk &c : chunks)
            types << QString::fromLatin1(c.type);
        QCOMPARE(types.join(u' '), QStringLiteral("IHDR PLTE tRNS IDAT IEND"));
        const int n = 1 << depth;
        QCOMPARE(chunks.at(1).data.size(), 3 * n);
        QCOMPARE(chunks.at(2).data.size(), n);
        for (const Chunk &c : chunks) {
            const quint32 crc = qFromBigEndian<quint32>(c.raw.constData() + c.raw.size() - 4);
            QCOMPARE(crc, PngCrc32(c.type + c.data));
        }
        // The other chunks are copied unchanged.
        const QList<Chunk> original = SplitChunks(ReadBytes(source));
        QCOMPARE(chunks.at(0).raw, original.at(0).raw);
        QCOMPARE(chunks.at(3).raw, original.at(1).raw);
        const QImage decoded(copy);
        for (int i = 0; i < std::min(n, 19 * 7); ++i) {
            const ColourEntry entry = map.ColourOf(i);
            const ColourEntry shown = PaletteColourOf(entry);
            QCOMPARE(decoded.pixel(i % 19, i / 19), qRgba(shown.r, shown.g, shown.b, entry.a));
        }
    }

    void paletteColours_data()
    {
        QTest::addColumn<QList<int>>("entry");
        QTest::addColumn<QList<int>>("colour");
        QTest::newRow("opaque") << QList<int>{255, 3, 170, 255} << QList<int>{255, 3, 170};
        QTest::newRow("half") << QList<int>{255, 3, 170, 128} << QList<int>{252, 3, 167};
        QTest::newRow("transparent black") << QList<int>{0, 0, 0, 0} << QList<int>{5, 5, 5};
        QTest::newRow("254") << QList<int>{6, 5, 100, 254} << QList<int>{4, 2, 98};
        QTest::newRow("64") << QList<int>{6, 5, 4, 64} << QList<int>{2, 4, 4};
        QTest::newRow("63") << QList<int>{6, 5, 4, 63} << QList<int>{1, 5, 5};
    }
    void paletteColours()
    {
        QFETCH(QList<int>, entry);
        QFETCH(QList<int>, colour);
        const ColourEntry c = PaletteColourOf(
            {quint8(entry[0]), quint8(entry[1]), quint8(entry[2]), quint8(entry[3])});
        QCOMPARE((QList<int>{c.r, c.g, c.b}), colour);
    }

    void otherPngsCopiedUnchanged()
    {
        QTemporaryDir dir;
        const CColourMap map;
        for (const char *name : {"/png/pngsuite/basn3p08.png", "/png/pngsuite/basn2c16.png",
                                 "/png/testpngs/palette-4-tRNS.png"}) {
            const QString path = TestDataDir() + QLatin1String(name);
            const QString copy = dir.filePath(QStringLiteral("c.png"));
            QVERIFY(InsertPalette(path, copy, map));
            QCOMPARE(ReadBytes(copy), ReadBytes(path));
        }
    }

    void malformedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("whole"); // the chunks are whole: the copy is made unchanged
        const QByteArray cm = ColourMapPngBytes(4, 4, 8);
        const qsizetype iend = cm.size() - 12;
        QTest::newRow("no IEND") << cm.left(iend) << false;
        QTest::newRow("cut inside IDAT") << cm.left(iend - 5) << false;
        QByteArray past = cm;
        qToBigEndian<quint32>(1000, past.data() + 33); // IDAT length beyond the end
        QTest::newRow("length past the end") << past << false;
        QByteArray huge = cm;
        qToBigEndian<quint32>(0x80000000u, huge.data() + 33);
        QTest::newRow("length 2^31") << huge << false;
        QByteArray maxLength = cm;
        qToBigEndian<quint32>(0xFFFFFFF4u, maxLength.data() + 33); // wraps a 32-bit sum
        QTest::newRow("length near 2^32") << maxLength << false;
        QTest::newRow("signature only") << cm.left(8) << false;
        QTest::newRow("IEND without IHDR") << cm.left(8) + PngChunk("IEND", QByteArray()) << true;
        QTest::newRow("short IHDR") << cm.left(8) + PngChunk("IHDR", QByteArray(5, '\3'))
                                           + PngChunk("IEND", QByteArray()) << true;
        // Only the first IHDR counts, and a palette never goes after image data: a spliced file
        // whose second header says "indexed" is copied as it is.
        const QByteArray trueColour("\0\0\0\1\0\0\0\1\x08\x02\0\0\0", 13);
        QByteArray indexed = trueColour;
        indexed[9] = '\3';
        QTest::newRow("indexed IHDR after image data")
            << cm.left(8) + PngChunk("IHDR", trueColour) + PngChunk("IDAT", "x")
                   + PngChunk("IHDR", indexed) + PngChunk("IDAT", "y")
                   + PngChunk("IEND", QByteArray())
            << true;
    }
    void malformedFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, whole);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.png"));
        QVERIFY(WriteBytes(path, bytes));
        QCOMPARE(IsColourMapPng(path), int(kOtherPng));
        const QString copy = dir.filePath(QStringLiteral("copy.png"));
        QString why;
        if (whole) {
            QVERIFY(InsertPalette(path, copy, CColourMap()));
            QCOMPARE(ReadBytes(copy), bytes);
            return;
        }
        QVERIFY(!InsertPalette(path, copy, CColourMap(), &why));
        QVERIFY(!why.isEmpty());
        QVERIFY(!QFileInfo::exists(copy));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("bad.png")});
    }

    // A copy that the disk has no room for is refused and leaves nothing; it is never
    // taken for a whole copy.
    void fullDiskLeavesNoCopy()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cm.png"));
        QVERIFY(WriteBytes(path, ColourMapPngBytes(16, 16, 8)));
        const QString copy = dir.filePath(QStringLiteral("copy.png"));
        QString why;
        bool copied = true;
        {
            CFullDisk full{40};
            QVERIFY(full.IsActive());
            copied = InsertPalette(path, copy, CColourMap(), &why);
        }
        QVERIFY(!copied);
        QVERIFY(!why.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("cm.png")});
    }

    void notPngs()
    {
        QTemporaryDir dir;
        const QString text = dir.filePath(QStringLiteral("text.png"));
        QVERIFY(WriteBytes(text, "not a picture at all"));
        const QString missing = dir.filePath(QStringLiteral("missing.png"));
        QCOMPARE(IsColourMapPng(text), int(kNotPngFile));
        QCOMPARE(IsColourMapPng(missing), int(kNotPngFile));
        // A failed copy leaves an existing destination as it was.
        const QString copy = dir.filePath(QStringLiteral("copy.png"));
        QVERIFY(WriteBytes(copy, "old"));
        QVERIFY(!InsertPalette(text, copy, CColourMap()));
        QVERIFY(!InsertPalette(missing, copy, CColourMap()));
        QCOMPARE(ReadBytes(copy), QByteArray("old"));
        // A destination that cannot be written.
        const QString source = dir.filePath(QStringLiteral("cm.png"));
        QVERIFY(WriteBytes(source, ColourMapPngBytes(2, 2, 8)));
        QVERIFY(!InsertPalette(source, dir.filePath(QStringLiteral("no/such/folder/x.png")),
                               CColourMap()));
    }

    void crashersPassEveryScanner()
    {
        QTemporaryDir dir;
        const CColourMap map;
        const QStringList files = CrasherFiles();
        QVERIFY(files.size() > 10);
        for (const QString &path : files) {
            QVERIFY2(IsColourMapPng(path) != kColourMapPng, qPrintable(path));
            PngHeader header;
            ReadPngHeader(path, header); // an answer, whichever
            const QString copy = dir.filePath(QStringLiteral("copy.png"));
            QFile::remove(copy);
            if (!InsertPalette(path, copy, map))
                QVERIFY2(!QFileInfo::exists(copy), qPrintable(path));
            // As colour-map PNGs (PLTE dropped, if the chunks allow it).
            QList<Chunk> chunks = SplitChunks(ReadBytes(path));
            chunks.removeIf([](const Chunk &c) { return c.type == "PLTE"; });
            const QString bare = dir.filePath(QStringLiteral("bare.png"));
            QVERIFY(WriteBytes(bare, JoinChunks(chunks)));
            IsColourMapPng(bare);
            InsertPalette(bare, copy, map);
        }
    }
};

ORIN_TEST_CLASS(PngToolkitTest)
#include "tst_png_toolkit.moc"
