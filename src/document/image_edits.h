// SPDX-License-Identifier: MIT
#pragma once

#include "images/image_import.h"

#include <QCoreApplication>
#include <QObject>
#include <QString>

// The operator's image edits: adding pictures and materials, replacing an image's file, the
// "画像変更..." dialogs and page backgrounds. Each runs the rules of images/image_import, shows
// their messages through the prompt, shows the used size and marks the document modified. Each
// is one small operation on the model, so that an undo command can wrap it.

namespace orin {

class CContentModel;
class CDocument;
class CPrompt;
struct FileDialogRequest;

inline constexpr char16_t kJpegFilterText[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "JPEGﾌｧｲﾙ (*.jpg)");
inline constexpr char16_t kJpegDialogTitle[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "JPEGファイルの読み込み");
inline constexpr char16_t kPngFilterText[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "PNGﾌｧｲﾙ (*.png)");
inline constexpr char16_t kPngDialogTitle[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "PNGファイルの読み込み");
inline constexpr char16_t kGifFilterText[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "GIFﾌｧｲﾙ (*.gif)");
inline constexpr char16_t kGifDialogTitle[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "GIFファイルの読み込み");

// The file dialog of "画像変更..." for an image of `type` shown by an item of the given size:
// filter and title by kind, the title followed by " (W×H)", the pixel size that fits the item
// (twice the item's size for a JPEG, which is drawn at half size).
FileDialogRequest ImageChangeDialog(int type, int itemWidth, int itemHeight,
                                    const QString &startFolder);

class CImageEdits : public QObject {
    Q_OBJECT
public:
    // The document, model and prompt belong to the caller and outlive this object.
    CImageEdits(CDocument &document, CContentModel &model, CPrompt &prompt,
                QObject *parent = nullptr);

    // New picture / material records (see images/image_import.h for the results).
    int AddPicture(const QString &path, int type);
    int AddMaterial(const QString &path, int type);
    // A file dropped on the design surface: added by its kind, or ignored (0).
    int AddDroppedImage(const QString &path);

    // The image `id` takes the file `path` (the "画像変更..." dialog and a file dropped on an
    // item of the canvas). Returns the id, or 0 when nothing changed. Every item showing the
    // image changes with it (ImageChanged).
    int ReplaceImage(int id, const QString &path);
    // "画像変更..." of an item showing image `id`: asks for the file in the folder this command
    // used last, then ReplaceImage.
    int ChangeItemImage(int id, int itemWidth, int itemHeight);

    // The page list's "画像変更...": asks for a JPEG in the folder of the page's current
    // background, then checks and sets it. False when nothing changed.
    bool SetPageBackground(int pageIndex);
    // A ".jpg" dropped on a page of the page list: as SetPageBackground without the dialog and
    // without the per-file size check.
    bool SetPageBackgroundFrom(int pageIndex, const QString &path);

    const QString &ImageFolder() const { return m_imageFolder; }
    void SetImageFolder(const QString &folder) { m_imageFolder = folder; }
    // The background file chosen last with the dialog.
    const QString &LastBackgroundPath() const { return m_lastBackgroundPath; }

signals:
    // The file of image `id` changed: its display copies are to be made again.
    void ImageChanged(int id);
    // The background of the page at `pageIndex` changed: the page list redraws, the canvas
    // shows the page again when it is the current one.
    void PageBackgroundChanged(int pageIndex);

private:
    // Shows the message of a refusal that has one.
    void Report(ImageRefusal refusal);
    int Added(const ImageOutcome &outcome);
    ImageRefusal ApplyBackground(int pageIndex, const QString &path, bool checkFileSize);

    CDocument &m_document;
    CContentModel &m_model;
    CPrompt &m_prompt;
    QString m_imageFolder;
    QString m_lastBackgroundPath;
};

} // namespace orin
