// SPDX-License-Identifier: MIT
// The command-line tool runs where no widget library is installed: it links none.

#include "test_paths.h"
#include "test_registry.h"

#include <QtTest>

class CliLinkageTest : public QObject {
    Q_OBJECT

private slots:
    void linksNoWidgetLibrary()
    {
        QProcess ldd;
        ldd.start(QStringLiteral("ldd"), {orin::test::BinDir() + QStringLiteral("/orinedit-cli")});
        if (!ldd.waitForStarted())
            QSKIP("ldd is not available");
        QVERIFY(ldd.waitForFinished(30000));
        const QString libraries = QString::fromLocal8Bit(ldd.readAllStandardOutput());
        QVERIFY2(libraries.contains(QStringLiteral("libQt6Core")), qPrintable(libraries));
        QVERIFY2(!libraries.contains(QStringLiteral("libQt6Widgets")), qPrintable(libraries));
    }
};

ORIN_TEST_CLASS(CliLinkageTest)
#include "tst_cli_linkage.moc"
