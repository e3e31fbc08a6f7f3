// SPDX-License-Identifier: MIT
// Pictures through Qt's decoders: a byte that says as what the file is used (JPEG, GIF, PNG,
// colour-map PNG, a page background upright or turned), then the file. Measuring agrees with
// itself in every form (ImageDimensions, MeasureImageFile, the load measurer) and counts the
// file's bytes; a display copy that decodes has the measured size, one that does not is the
// placeholder; the copy lies in the work folder, and the work folder is empty again once the
// copy is let go.

#include "fuzz_check.h"
#include "fuzz_gui.h"

#include "images/colour_map.h"
#include "images/display_copy.h"
#include "images/image_measure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <unistd.h>

using namespace orin;

namespace {

struct Use {
    int type;
    const char *extension;
    bool background;
    bool vertical;
};

constexpr Use kUses[] = {
    {kImageJpeg, ".jpg", false, false},       {kImageGif, ".gif", false, false},
    {kImageGeneralPng, ".png", false, false}, {kImageColourMapPng, ".png", false, false},
    {kImageJpeg, ".jpg", true, false},        {kImageJpeg, ".jpg", true, true},
};

QString Folder(const char *name)
{
    return FuzzScratchDir() + QStringLiteral("/orin-fuzz-image-%1/").arg(::getpid())
           + QLatin1String(name);
}

bool IsEmptyFolder(const QString &path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::StartGuiApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const Use &use = kUses[data[0] % std::size(kUses)];
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    static const CColourMap map;
    const QString inFolder = Folder("in");
    const QString workFolder = Folder("work");
    QDir().mkpath(inFolder);
    const QString path = inFolder + QStringLiteral("/picture") + QLatin1String(use.extension);
    {
        QFile file(path);
        ORIN_FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ORIN_FUZZ_CHECK(file.write(bytes) == bytes.size());
    }

    int width = -1;
    int height = -1;
    ImageDimensions(path, use.type, width, height);
    ORIN_FUZZ_CHECK(width >= 0 && height >= 0);
    ORIN_FUZZ_CHECK((width == 0) == (height == 0));
    int measuredWidth = -1;
    int measuredHeight = -1;
    ORIN_FUZZ_CHECK(MeasureImageFile(path, use.type, measuredWidth, measuredHeight)
                    == bytes.size());
    ORIN_FUZZ_CHECK(measuredWidth == width && measuredHeight == height);
    CLoadMeasurer measurer;
    int loadWidth = -1;
    int loadHeight = -1;
    ORIN_FUZZ_CHECK(measurer(path, use.type, loadWidth, loadHeight) == bytes.size());
    ORIN_FUZZ_CHECK(loadWidth == width && loadHeight == height);

    {
        std::unique_ptr<CDisplayCopy> copy;
        if (use.background) {
            copy = MakeBackgroundCopy(path, use.vertical, workFolder);
        } else {
            CMyPictureInfo record;
            record.id = 1;
            record.type = use.type;
            record.path = path;
            copy = MakeDisplayCopy(record, map, workFolder);
        }
        ORIN_FUZZ_CHECK(copy != nullptr);
        ORIN_FUZZ_CHECK(!copy->Image().isNull());
        ORIN_FUZZ_CHECK(QFileInfo(copy->CopyPath()).absolutePath()
                        == QFileInfo(workFolder).absoluteFilePath());
        ORIN_FUZZ_CHECK(QFileInfo(copy->CopyPath()).isFile());
        if (copy->IsPlaceholder()) {
            ORIN_FUZZ_CHECK(copy->Image().size() == QSize(kPlaceholderWidth, kPlaceholderHeight));
        } else if (use.vertical) {
            ORIN_FUZZ_CHECK(copy->Image().height() >= copy->Image().width());
        } else if (width > 0) {
            // What was measured is what is shown.
            ORIN_FUZZ_CHECK(copy->Image().size() == QSize(width, height));
        }
        // The source is only read.
        QFile source(path);
        ORIN_FUZZ_CHECK(source.open(QIODevice::ReadOnly) && source.readAll() == bytes);
    }
    ORIN_FUZZ_CHECK(IsEmptyFolder(workFolder));
    return 0;
}
