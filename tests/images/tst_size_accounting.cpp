// SPDX-License-Identifier: MIT
// The used size, the size limit and the size line.

#include "test_registry.h"

#include "images/size_accounting.h"

#include <QtTest>

using namespace orin;

namespace {

QString MakeFile(const QTemporaryDir &dir, const QString &name, int bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(QByteArray(bytes, 'x'));
    return path;
}

} // namespace

class SizeAccountingTest : public QObject {
    Q_OBJECT

private slots:
    void totalCountsSharedBackgroundsOnce()
    {
        QTemporaryDir dir;
        const QString bg = MakeFile(dir, QStringLiteral("bg.jpg"), 400 * 1024);
        const QString other = MakeFile(dir, QStringLiteral("BG.jpg"), 1000);
        CContentModel m;
        for (int i = 0; i < 10; ++i) {
            auto page = std::make_unique<CMyProgramInfo>();
            page->background = bg;
            m.pages.Add(std::move(page));
        }
        auto differentCase = std::make_unique<CMyProgramInfo>();
        differentCase->background = other; // case-sensitive: another file
        m.pages.Add(std::move(differentCase));
        m.pages.Add(std::make_unique<CMyProgramInfo>()); // no background
        QCOMPARE(TotalDataSize(m), qint64(400 * 1024 + 1000));

        auto picture = std::make_unique<CMyPictureInfo>();
        picture->path = bg;
        m.pictures.Add(std::move(picture));
        auto again = std::make_unique<CMyPictureInfo>();
        again->path = bg; // counted once per record
        m.pictures.Add(std::move(again));
        auto material = std::make_unique<CMyPictureInfo>();
        material->path = dir.filePath(QStringLiteral("missing.png"));
        m.materials.Add(std::move(material));
        auto sound = std::make_unique<CMySoundInfo>();
        sound->path = MakeFile(dir, QStringLiteral("s.wav"), 10);
        m.sounds.Add(std::move(sound));
        QCOMPARE(TotalDataSize(m), qint64(3 * 400 * 1024 + 1000 + 10)); // the missing file adds nothing
        QCOMPARE(FileSizeOf(dir.filePath(QStringLiteral("missing.png"))), qint64(-1));
        QCOMPARE(FileSizeOf(dir.path()), qint64(-1)); // a folder is no file
    }

    void limitByEditionAndKind_data()
    {
        QTest::addColumn<int>("edition");
        QTest::addColumn<int>("exPng");
        QTest::addColumn<int>("limit");
        QTest::newRow("online") << 3 << 0 << 20000;
        QTest::newRow("web") << 2 << 0 << 100000;
        QTest::newRow("html") << 4 << 0 << 100000;
        QTest::newRow("broadcast, data content") << 1 << 0 << 1730;
        QTest::newRow("broadcast, html content") << 1 << 1 << 100000;
        QTest::newRow("edit only, start-up") << 0 << -1 << 1730;
    }
    void limitByEditionAndKind()
    {
        QFETCH(int, edition);
        QFETCH(int, exPng);
        QFETCH(int, limit);
        QCOMPARE(SelectSizeLimit(SizeLimitSettings(), exPng, edition), limit);
    }

    void sizeLine_data()
    {
        QTest::addColumn<qint64>("used");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("binary");
        QTest::addColumn<QString>("decimal");
        QTest::newRow("1.5 MB of 2 MB") << qint64(1572864) << 2048 << QStringLiteral("1.51/2.00 M") << QStringLiteral("1.53/2.04 M");
        QTest::newRow("1000 KB remainder") << qint64(1000 * 1024) << 1730 << QStringLiteral("0.100/1.70 M") << QStringLiteral("1.00/1.73 M");
        QTest::newRow("1500000 bytes") << qint64(1500000) << 1730 << QStringLiteral("1.44/1.70 M") << QStringLiteral("1.46/1.73 M");
        QTest::newRow("empty") << qint64(0) << 20000 << QStringLiteral("0.00/19.54 M") << QStringLiteral("0.00/20.00 M");
        QTest::newRow("beyond 2 GB") << qint64(3) * 1024 * 1024 * 1024 << 100000 << QStringLiteral("3072.00/97.67 M") << QStringLiteral("3145.72/100.00 M");
    }
    void sizeLine()
    {
        QFETCH(qint64, used);
        QFETCH(int, limit);
        QFETCH(QString, binary);
        QFETCH(QString, decimal);
        QCOMPARE(FormatSizeLine(used, limit, SizeForm::Binary), binary);
        QCOMPARE(FormatSizeLine(used, limit, SizeForm::Decimal), decimal);
    }
};

ORIN_TEST_CLASS(SizeAccountingTest)
#include "tst_size_accounting.moc"
