// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QCoreApplication>
#include <QSize>
#include <QString>

// The rules by which image files enter the content model: what kind a file is, the per-file
// and total size limits, the table limits and id rules, replacing a record's file and setting a
// page background. These functions change the model and report what they refused; the edit
// operations of the document show the messages and mark the document modified.

namespace orin {

// An image file may have at most this many bytes; exactly this many is accepted.
inline constexpr qint64 kMaxImageFileBytes = 512000;

// The picture table (JPEG): at most 199 records, ids 1..199; the material table (PNG, GIF): at
// most 56 records, ids 200..255. A new id is 1 + the largest of the table's ids and the base.
inline constexpr int kMaxPictures = 199;
inline constexpr int kPictureIdBase = 0;
inline constexpr int kLastPictureId = 199;
inline constexpr int kMaxMaterials = 56;
inline constexpr int kMaterialIdBase = 199;
inline constexpr int kLastMaterialId = 255;

// "Not an image" from ClassifyImageFile.
inline constexpr int kNotAnImage = -1;

inline constexpr char16_t kFileTooLargeMessage[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "ファイルサイズ500kバイト以下の画像のみ有効です");
inline constexpr char16_t kTotalTooLargeMessage[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "登録ファイルサイズが最大値を超えました。");
inline constexpr char16_t kBackgroundSizeMessage[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "960×540,1920×1080のJPEGのみ対応です");
inline constexpr char16_t kImageErrorCaption[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "エラー");
inline constexpr char16_t kEmptySizeText[] = u" --- ";

// Why an image operation did nothing.
enum class ImageRefusal {
    None,
    TableFull,         // silent
    IdsExhausted,      // silent
    NotAnImage,        // silent: unknown extension
    KindNotAccepted,   // silent: a general PNG or GIF while ExPNG is off
    Unreadable,        // silent: the file's size cannot be read
    NoRecord,          // silent: no image record or page to change
    FileTooLarge,      // kFileTooLargeMessage
    TotalTooLarge,     // kTotalTooLargeMessage
    NotBackgroundSize, // kBackgroundSizeMessage
};

// The message the operator sees for a refusal (caption kImageErrorCaption); empty for the
// refusals that are silent.
QString RefusalMessage(ImageRefusal refusal);

struct ImageOutcome {
    // AddPicture/AddMaterial: the new id; 0 when refused; -1 when the total limit refused it.
    // ReplaceImage: the id on success, 0 otherwise.
    int result = 0;
    ImageRefusal refusal = ImageRefusal::None;
};

// The image type of a file by its last four characters in lower case: ".jpg" JPEG, ".png" a
// colour-map PNG when IsColourMapPng says so (else a general PNG), ".gif" GIF; kNotAnImage for
// anything else (".jpeg" included).
int ClassifyImageFile(const QString &path);

// JPEG and colour-map PNG always; general PNG and GIF only while ExPNG is on.
bool IsAcceptedKind(int type, int exPng);

// "%d×%d" of the pixel size.
QString ImageSizeText(int width, int height);

// The size of a new item showing the image: a colour-map PNG at its pixel size, the other
// kinds at half (integer division), as they are drawn on the half-size page.
QSize NaturalItemSize(int type, int width, int height);

// True when the file decodes to 960 x 540 or 1920 x 1080, or to 1080 x 1920 while `vertical`
// is on.
bool IsBackgroundSize(const QString &path, bool vertical);

// 1 + the largest id of the table and `base`.
int NextImageId(const CMyDataArray<CMyPictureInfo> &table, int base);

// Registers the file as a new picture (JPEG table) or material (PNG/GIF table) of the given
// type, after the table, per-file and total checks; the used size becomes T + N.
ImageOutcome AddPicture(CContentModel &model, const QString &path, int type, int sizeLimitKb);
ImageOutcome AddMaterial(CContentModel &model, const QString &path, int type, int sizeLimitKb);

// Points the picture or material `id` at another file: the record's type, size and size text
// follow the new file, its changed flag is set and it stays in its table. The total is checked
// as T + N - O (O: the size of the file replaced). A kind that IsAcceptedKind refuses is
// refused silently.
ImageOutcome ReplaceImage(CContentModel &model, int id, const QString &path, int sizeLimitKb,
                          int exPng);

// The used size as it would be with `path` as the background of page `pageIndex`, counted as
// TotalDataSize counts (a file shared by several pages once).
qint64 UsedSizeWithBackground(const CContentModel &model, int pageIndex, const QString &path);

// Makes `path` the background of the page at `pageIndex` (changed flag set, used size counted
// again) after the background-size check, the per-file check when `checkFileSize` (a file
// chosen with the dialog; a dropped file skips it) and the total check.
ImageRefusal ApplyPageBackground(CContentModel &model, int pageIndex, const QString &path,
                                 int sizeLimitKb, bool vertical, bool checkFileSize);

// A file dropped on the design surface: a JPEG becomes a picture, a colour-map PNG a material,
// a general PNG or GIF a material while ExPNG is on; anything else is refused without a
// message (result 0).
ImageOutcome AddDroppedImage(CContentModel &model, const QString &path, int sizeLimitKb,
                             int exPng);

} // namespace orin
