// SPDX-License-Identifier: MIT
// The design surface's remembered snapping: written and read back, odd values refused, the
// rest of the settings file left alone.

#include "test_files.h"
#include "test_registry.h"

#include "settings/design_settings.h"
#include "settings/ini_store.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace orin;

class TestDesignSettings : public QObject {
    Q_OBJECT

private slots:
    void roundTripKeepsOtherKeys()
    {
        QTemporaryDir dir;
        CIniStore ini(dir.filePath(QStringLiteral("orin.ini")));
        // No file yet: snapping off, no grid.
        QCOMPARE(LoadDesignSnap(ini).snap, false);
        QCOMPARE(LoadDesignSnap(ini).grid, 0);
        QVERIFY(ini.WriteInt(QStringLiteral("Config"), QStringLiteral("bBoxDraw"), 0));
        QVERIFY(SaveDesignSnap(ini, {true, 20}));
        DesignSnapSettings back = LoadDesignSnap(ini);
        QCOMPARE(back.snap, true);
        QCOMPARE(back.grid, 20);
        QVERIFY(SaveDesignSnap(ini, {false, 0}));
        back = LoadDesignSnap(ini);
        QCOMPARE(back.snap, false);
        QCOMPARE(back.grid, 0);
        QCOMPARE(ini.GetInt(QStringLiteral("Config"), QStringLiteral("bBoxDraw"), 1), 0);
    }

    void oddGridIsNone_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("grid");
        QTest::newRow("in range") << "270" << 270;
        QTest::newRow("too large") << "271" << 0;
        QTest::newRow("negative") << "-5" << 0;
        QTest::newRow("text") << "abc" << 0;
    }

    void oddGridIsNone()
    {
        QFETCH(QString, value);
        QFETCH(int, grid);
        QTemporaryDir dir;
        CIniStore ini(dir.filePath(QStringLiteral("orin.ini")));
        QVERIFY(ini.WriteString(QStringLiteral("Design"), QStringLiteral("SnapGrid"), value));
        QCOMPARE(LoadDesignSnap(ini).grid, grid);
    }

    void safeAreaRoundTrip()
    {
        QTemporaryDir dir;
        CIniStore ini(dir.filePath(QStringLiteral("orin.ini")));
        // No file yet: guides shown, the HD title-safe margin.
        QCOMPARE(LoadSafeArea(ini).guides, true);
        QCOMPARE(LoadSafeArea(ini).percent, 5);
        QVERIFY(SaveDesignSnap(ini, {true, 20}));
        QVERIFY(SaveSafeArea(ini, {false, 10}));
        QCOMPARE(LoadSafeArea(ini).guides, false);
        QCOMPARE(LoadSafeArea(ini).percent, 10);
        QCOMPARE(LoadDesignSnap(ini).grid, 20);
        QVERIFY(ini.WriteString(QStringLiteral("Design"), QStringLiteral("SafeArea"), QStringLiteral("46")));
        QCOMPARE(LoadSafeArea(ini).percent, 5);
        QVERIFY(ini.WriteString(QStringLiteral("Design"), QStringLiteral("SafeArea"), QStringLiteral("-1")));
        QCOMPARE(LoadSafeArea(ini).percent, 5);
    }
};

ORIN_TEST_CLASS(TestDesignSettings)
#include "tst_design_settings.moc"
