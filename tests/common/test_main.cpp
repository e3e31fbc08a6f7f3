// SPDX-License-Identifier: MIT
// Runs every registered test class. "tst_x Class [qtest args]" runs one class only.

#include "test_registry.h"

#include <QtTest>

#if defined(QT_WIDGETS_LIB)
#include <QApplication>
using TestApplication = QApplication;
#elif defined(QT_GUI_LIB)
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

#if defined(QT_GUI_LIB)
#include "images/font_setup.h"
#endif

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
#if defined(QT_GUI_LIB)
    orin::RegisterFontSubstitutes();
#endif

    QStringList args = app.arguments();
    QString only;
    if (args.size() > 1 && !args.at(1).startsWith(u'-')) {
        for (const auto &reg : orin::test::Registry()) {
            if (args.at(1) == QLatin1String(reg.name))
                only = args.at(1);
        }
        if (!only.isEmpty())
            args.removeAt(1);
    }

    int failures = 0;
    for (const auto &reg : orin::test::Registry()) {
        if (!only.isEmpty() && only != QLatin1String(reg.name))
            continue;
        std::unique_ptr<QObject> test = reg.make();
        failures += QTest::qExec(test.get(), args);
    }
    return failures == 0 ? 0 : 1;
}
