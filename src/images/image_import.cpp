// SPDX-License-Identifier: MIT
#include "images/image_import.h"

#include "images/image_measure.h"
#include "images/png_header.h"
#include "images/size_accounting.h"
#include "model/ui_text.h"

#include <QImageReader>
#include <QSet>

namespace orin {

namespace {

// The per-file rule. A file whose size cannot be read is refused like an unreadable image
// rather than passing as a small one.
ImageRefusal CheckFileSize(qint64 bytes)
{
    if (bytes < 0)
        return ImageRefusal::Unreadable;
    return bytes > kMaxImageFileBytes ? ImageRefusal::FileTooLarge : ImageRefusal::None;
}

bool ExceedsLimit(qint64 total, int sizeLimitKb)
{
    return total > qint64(sizeLimitKb) * 1024;
}

ImageOutcome AddToTable(CContentModel &model, CMyDataArray<CMyPictureInfo> &table,
                        const QString &path, int type, int sizeLimitKb, int maxRecords,
                        int idBase, int lastId)
{
    if (table.Count() >= maxRecords)
        return {0, ImageRefusal::TableFull};
    const int id = NextImageId(table, idBase);
    if (id > lastId)
        return {0, ImageRefusal::IdsExhausted};
    const qint64 bytes = FileSizeOf(path);
    if (const ImageRefusal refusal = CheckFileSize(bytes); refusal != ImageRefusal::None)
        return {0, refusal};
    const qint64 total = TotalDataSize(model);
    if (ExceedsLimit(total + bytes, sizeLimitKb))
        return {-1, ImageRefusal::TotalTooLarge};
    model.usedSize = total + bytes;

    auto record = std::make_unique<CMyPictureInfo>();
    record->id = id;
    record->item = 0;
    record->path = path;
    record->type = type;
    ImageDimensions(path, type, record->width, record->height);
    record->sizeText = type == kImageEmpty ? QString::fromUtf16(kEmptySizeText)
                                           : ImageSizeText(record->width, record->height);
    table.Add(std::move(record));
    return {id, ImageRefusal::None};
}

// The backgrounds' part of TotalDataSize, with page `pageIndex` showing `path` instead of its
// own background: each distinct path once.
qint64 BackgroundBytes(const CContentModel &model, int pageIndex, const QString &path)
{
    qint64 total = 0;
    QSet<QString> counted;
    for (int i = 0; i < model.pages.Count(); ++i) {
        const QString &background = i == pageIndex ? path : model.pages.At(i)->background;
        if (background.isEmpty() || counted.contains(background))
            continue;
        counted.insert(background);
        total += CountedFileSize(background);
    }
    return total;
}

} // namespace

QString RefusalMessage(ImageRefusal refusal)
{
    switch (refusal) {
    case ImageRefusal::FileTooLarge: return UiText(kFileTooLargeMessage);
    case ImageRefusal::TotalTooLarge: return UiText(kTotalTooLargeMessage);
    case ImageRefusal::NotBackgroundSize: return UiText(kBackgroundSizeMessage);
    default:
        return {};
    }
}

int ClassifyImageFile(const QString &path)
{
    const QString ending = path.right(4).toLower();
    if (ending == u".jpg")
        return kImageJpeg;
    if (ending == u".png")
        return IsColourMapPng(path) == kColourMapPng ? kImageColourMapPng : kImageGeneralPng;
    if (ending == u".gif")
        return kImageGif;
    return kNotAnImage;
}

bool IsAcceptedKind(int type, int exPng)
{
    if (type == kImageJpeg || type == kImageColourMapPng)
        return true;
    return (type == kImageGeneralPng || type == kImageGif) && exPng == 1;
}

QString ImageSizeText(int width, int height)
{
    return QStringLiteral("%1×%2").arg(width).arg(height);
}

QSize NaturalItemSize(int type, int width, int height)
{
    if (type == kImageColourMapPng)
        return {width, height};
    return {width / 2, height / 2};
}

bool IsBackgroundSize(const QString &path, bool vertical)
{
    QImageReader reader(path);
    const QSize size = reader.size();
    if (!size.isValid() || !reader.canRead())
        return false;
    return size == QSize(960, 540) || size == QSize(1920, 1080)
           || (vertical && size == QSize(1080, 1920));
}

int NextImageId(const CMyDataArray<CMyPictureInfo> &table, int base)
{
    int largest = base;
    for (const auto &record : table)
        largest = std::max(largest, record->id);
    return largest + 1;
}

ImageOutcome AddPicture(CContentModel &model, const QString &path, int type, int sizeLimitKb)
{
    return AddToTable(model, model.pictures, path, type, sizeLimitKb, kMaxPictures,
                      kPictureIdBase, kLastPictureId);
}

ImageOutcome AddMaterial(CContentModel &model, const QString &path, int type, int sizeLimitKb)
{
    return AddToTable(model, model.materials, path, type, sizeLimitKb, kMaxMaterials,
                      kMaterialIdBase, kLastMaterialId);
}

ImageOutcome ReplaceImage(CContentModel &model, int id, const QString &path, int sizeLimitKb,
                          int exPng)
{
    if (id == 0)
        return {0, ImageRefusal::NoRecord};
    const qint64 bytes = FileSizeOf(path);
    if (const ImageRefusal refusal = CheckFileSize(bytes); refusal != ImageRefusal::None)
        return {0, refusal};
    const int type = ClassifyImageFile(path);
    if (type == kNotAnImage)
        return {0, ImageRefusal::NotAnImage};
    if (!IsAcceptedKind(type, exPng))
        return {0, ImageRefusal::KindNotAccepted};
    CMyPictureInfo *record = model.pictures.FindById(id);
    if (!record)
        record = model.materials.FindById(id);
    if (!record)
        return {0, ImageRefusal::NoRecord};
    const qint64 total = TotalDataSize(model);
    const qint64 old = record->path.isEmpty() ? 0 : CountedFileSize(record->path);
    if (ExceedsLimit(total + bytes - old, sizeLimitKb))
        return {0, ImageRefusal::TotalTooLarge};

    int width = 0;
    int height = 0;
    ImageDimensions(path, type, width, height);
    record->path = path;
    record->changed = 1;
    record->width = width;
    record->height = height;
    record->sizeText = ImageSizeText(width, height);
    record->type = type;
    model.usedSize = total + bytes - old;
    return {id, ImageRefusal::None};
}

qint64 UsedSizeWithBackground(const CContentModel &model, int pageIndex, const QString &path)
{
    return TotalDataSize(model) - BackgroundBytes(model, -1, QString())
           + BackgroundBytes(model, pageIndex, path);
}

ImageRefusal ApplyPageBackground(CContentModel &model, int pageIndex, const QString &path,
                                 int sizeLimitKb, bool vertical, bool checkFileSize)
{
    if (!model.pages.IsValidIndex(pageIndex))
        return ImageRefusal::NoRecord;
    if (!IsBackgroundSize(path, vertical))
        return ImageRefusal::NotBackgroundSize;
    if (checkFileSize) {
        if (const ImageRefusal refusal = CheckFileSize(FileSizeOf(path));
            refusal != ImageRefusal::None)
            return refusal;
    }
    if (ExceedsLimit(UsedSizeWithBackground(model, pageIndex, path), sizeLimitKb))
        return ImageRefusal::TotalTooLarge;
    CMyProgramInfo *page = model.pages.At(pageIndex);
    page->background = path;
    page->changed = 1;
    model.usedSize = TotalDataSize(model);
    return ImageRefusal::None;
}

ImageOutcome AddDroppedImage(CContentModel &model, const QString &path, int sizeLimitKb,
                             int exPng)
{
    const int type = ClassifyImageFile(path);
    if (type == kNotAnImage)
        return {0, ImageRefusal::NotAnImage};
    if (!IsAcceptedKind(type, exPng))
        return {0, ImageRefusal::KindNotAccepted};
    if (type == kImageJpeg)
        return AddPicture(model, path, type, sizeLimitKb);
    return AddMaterial(model, path, type, sizeLimitKb);
}

} // namespace orin
