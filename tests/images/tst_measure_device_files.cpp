// SPDX-License-Identifier: MIT
#include "images/image_measure.h"

#include "model/content_model.h"

#include "test_registry.h"

#include <QtTest>

#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orin;

class TestMeasureDeviceFiles : public QObject {
    Q_OBJECT

private slots:
    void pipesAndFoldersAreNotOpened_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("JPEG") << int(kImageJpeg);
        QTest::newRow("colour-map PNG") << int(kImageColourMapPng);
        QTest::newRow("GIF") << int(kImageGif);
    }

    void pipesAndFoldersAreNotOpened()
    {
        QFETCH(int, type);
        QTemporaryDir dir;
        const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("pipe")));
        QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
        for (const QString &path : {QFile::decodeName(fifo), dir.path()}) {
            auto measured = std::async(std::launch::async, [&] {
                int width = -1;
                int height = -1;
                ImageDimensions(path, type, width, height);
                // Not a file that counts either: no bytes, and again no wait.
                if (MeasureImageFile(path, type, width, height) != -1)
                    return QSize(-1, -1);
                return QSize(width, height);
            });
            if (measured.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
                // Let the blocked reader go before failing.
                ::close(::open(fifo.constData(), O_WRONLY));
                measured.wait();
                QFAIL("measuring blocked");
            }
            QCOMPARE(measured.get(), QSize(0, 0));
        }
    }
};

ORIN_TEST_CLASS(TestMeasureDeviceFiles)
#include "tst_measure_device_files.moc"
