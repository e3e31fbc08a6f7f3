// SPDX-License-Identifier: MIT
// The package an upload sends: a portable save archived as one ustar file.

#include "test_registry.h"
#include "transmit/package_builder.h"
#include "transmit_fixtures.h"

#include <QtTest>

using namespace orin;
using namespace orin::test;

class PackageBuilderTest : public QObject {
    Q_OBJECT

private slots:
    void packageHoldsThePortableSaveSorted()
    {
        QTemporaryDir dir;
        CContentModel model;
        ProgramSettings settings;
        MakeContent(model, settings, dir.filePath(QStringLiteral("content")));
        const QString packageFolder = dir.filePath(QStringLiteral("work/xmldata"));
        // Leftovers of an earlier attempt do not reach the package.
        WriteBytes(packageFolder + QStringLiteral("/xmldata1305./stale.jpg"), "old");

        QString error;
        const QString archive = BuildPackage(model, settings, packageFolder,
                                             QStringLiteral("xmldata1305"), &error);
        QCOMPARE(archive, packageFolder + QStringLiteral("/xmldata1305.tar"));
        QVERIFY(error.isEmpty());

        // ustar, uncompressed: the magic of the first header block.
        const QByteArray raw = ReadBytes(archive);
        QCOMPARE(raw.mid(257, 6), QByteArray("ustar\0", 6));
        QCOMPARE(raw.size() % 512, 0);

        const QList<ArchivedEntry> entries = ReadTar(archive);
        QStringList names;
        for (const ArchivedEntry &e : entries)
            names << e.name + u':' + QLatin1Char(e.type);
        QCOMPARE(names, (QStringList{QStringLiteral("xmldata1305./:d"),
                                     QStringLiteral("xmldata1305./chime.aac:f"),
                                     QStringLiteral("xmldata1305./mat.png:f"),
                                     QStringLiteral("xmldata1305./pic.jpg:f"),
                                     QStringLiteral("xmldata1305./背景.jpg:f"),
                                     QStringLiteral("xmldata1305.bjpx:f")}));
        for (const ArchivedEntry &e : entries) {
            if (e.type == 'f')
                QCOMPARE(e.bytes, ReadBytes(packageFolder + u'/' + e.name));
        }
        QCOMPARE(entries.at(4).bytes, ReadBytes(dir.filePath(QStringLiteral("content/背景.jpg"))));

        // The project inside refers to its own folder only, and reads back as the same content.
        const QString text = QString::fromUtf16(
            reinterpret_cast<const char16_t *>(entries.at(5).bytes.constData() + 2),
            (entries.at(5).bytes.size() - 2) / 2);
        QVERIFY(text.contains(QStringLiteral("./xmldata1305./pic.jpg")));
        QVERIFY(!text.contains(dir.path()));
        const QString unpacked = dir.filePath(QStringLiteral("unpacked"));
        QVERIFY(UnpackTar(archive, unpacked));
        CContentModel back;
        ProgramSettings backSettings;
        QVERIFY(LoadContent(unpacked + QStringLiteral("/xmldata1305.bjpx"), back, backSettings));
        QCOMPARE(CanonicalText(back, backSettings), CanonicalText(model, settings));

        DeletePackage(packageFolder, QStringLiteral("xmldata1305"));
        QCOMPARE(QDir(packageFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void aMissingFileFailsThePackage()
    {
        QTemporaryDir dir;
        CContentModel model;
        ProgramSettings settings;
        MakeContent(model, settings, dir.filePath(QStringLiteral("content")));
        QFile::remove(dir.filePath(QStringLiteral("content/mat.png")));
        const QString packageFolder = dir.filePath(QStringLiteral("xmldata"));
        QString error;
        QCOMPARE(BuildPackage(model, settings, packageFolder, QStringLiteral("xmldata"), &error),
                 QString());
        QVERIFY(error.contains(QStringLiteral("mat.png")));
        QCOMPARE(QDir(packageFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void archivesRegularFilesAndFoldersOnly()
    {
        QTemporaryDir dir;
        WriteBytes(dir.filePath(QStringLiteral("set./b.txt")), "b");
        WriteBytes(dir.filePath(QStringLiteral("set./sub/a.txt")), "a");
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("set./b.txt")),
                            dir.filePath(QStringLiteral("set./link.txt"))));
        QVERIFY(QFile::link(QStringLiteral("/etc"), dir.filePath(QStringLiteral("set./etc"))));
        const QString archive = dir.filePath(QStringLiteral("out.tar"));
        QVERIFY(WriteTarArchive(dir.path(), {QStringLiteral("set.")}, archive));
        QStringList names;
        for (const ArchivedEntry &e : ReadTar(archive))
            names << e.name;
        QCOMPARE(names, (QStringList{QStringLiteral("set./"), QStringLiteral("set./b.txt"),
                                     QStringLiteral("set./sub/"), QStringLiteral("set./sub/a.txt")}));

        // A name ustar cannot hold fails the archive and leaves none behind.
        const QString longName = QString(120, u'n') + u'/' + QString(120, u'm');
        WriteBytes(dir.filePath(QStringLiteral("deep/") + longName), "x");
        QString error;
        QVERIFY(!WriteTarArchive(dir.path(), {QStringLiteral("deep")}, archive, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(archive));
    }
};

ORIN_TEST_CLASS(PackageBuilderTest)
#include "tst_package_builder.moc"
