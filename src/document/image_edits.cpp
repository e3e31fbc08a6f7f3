// SPDX-License-Identifier: MIT
#include "document/image_edits.h"

#include "document/document.h"
#include "document/prompt.h"
#include "model/content_model.h"
#include "model/ui_text.h"

#include <QDir>
#include <QFileInfo>

namespace orin {

namespace {

QString FolderOfFile(const QString &path)
{
    if (path.isEmpty())
        return {};
    return QFileInfo(QDir::fromNativeSeparators(path)).absolutePath();
}

FileDialogRequest OpenRequest(const char16_t *title, const char16_t *filter,
                              const QString &pattern, const QString &startFolder)
{
    FileDialogRequest request;
    request.kind = FileDialogKind::Open;
    request.title = UiText(title);
    request.filterText = UiText(filter);
    request.filterPatterns = {pattern};
    request.startFolder = startFolder;
    request.fileMustExist = true;
    request.hideReadOnly = true;
    request.overwritePrompt = false;
    return request;
}

} // namespace

FileDialogRequest ImageChangeDialog(int type, int itemWidth, int itemHeight,
                                    const QString &startFolder)
{
    FileDialogRequest request;
    int width = itemWidth;
    int height = itemHeight;
    if (type == kImageColourMapPng || type == kImageGeneralPng) {
        request = OpenRequest(kPngDialogTitle, kPngFilterText, QStringLiteral("*.png"),
                              startFolder);
    } else if (type == kImageGif) {
        request = OpenRequest(kGifDialogTitle, kGifFilterText, QStringLiteral("*.gif"),
                              startFolder);
    } else {
        request = OpenRequest(kJpegDialogTitle, kJpegFilterText, QStringLiteral("*.jpg"),
                              startFolder);
        width *= 2;
        height *= 2;
    }
    request.title = QStringLiteral("%1 (%2×%3)").arg(request.title).arg(width).arg(height);
    return request;
}

CImageEdits::CImageEdits(CDocument &document, CContentModel &model, CPrompt &prompt,
                         QObject *parent)
    : QObject(parent), m_document(document), m_model(model), m_prompt(prompt)
{
}

void CImageEdits::Report(ImageRefusal refusal)
{
    const QString message = RefusalMessage(refusal);
    if (!message.isEmpty())
        m_prompt.MessageBox(message, UiText(kImageErrorCaption), PromptButtons::Ok);
}

int CImageEdits::Added(const ImageOutcome &outcome)
{
    Report(outcome.refusal);
    if (outcome.result > 0) {
        m_document.ShowSize(SizeForm::Binary);
        m_document.SetModified();
    }
    return outcome.result;
}

int CImageEdits::AddPicture(const QString &path, int type)
{
    return Added(orin::AddPicture(m_model, path, type, m_document.SizeLimit()));
}

int CImageEdits::AddMaterial(const QString &path, int type)
{
    return Added(orin::AddMaterial(m_model, path, type, m_document.SizeLimit()));
}

int CImageEdits::AddDroppedImage(const QString &path)
{
    return Added(orin::AddDroppedImage(m_model, QDir::fromNativeSeparators(path),
                                       m_document.SizeLimit(), m_document.Settings().ExPNG));
}

int CImageEdits::ReplaceImage(int id, const QString &path)
{
    const ImageOutcome outcome =
        orin::ReplaceImage(m_model, id, QDir::fromNativeSeparators(path),
                           m_document.SizeLimit(), m_document.Settings().ExPNG);
    Report(outcome.refusal);
    if (outcome.result == 0)
        return 0;
    m_document.SetModified();
    emit ImageChanged(id);
    return id;
}

int CImageEdits::ChangeItemImage(int id, int itemWidth, int itemHeight)
{
    const CMyPictureInfo *record = m_model.FindImage(id);
    if (!record)
        return 0;
    const QString chosen = QDir::fromNativeSeparators(m_prompt.FileDialog(
        ImageChangeDialog(record->type, itemWidth, itemHeight, m_imageFolder)));
    if (chosen.isEmpty())
        return 0;
    m_imageFolder = FolderOfFile(chosen);
    return ReplaceImage(id, chosen);
}

ImageRefusal CImageEdits::ApplyBackground(int pageIndex, const QString &path,
                                          bool checkFileSize)
{
    const ImageRefusal refusal =
        ApplyPageBackground(m_model, pageIndex, path, m_document.SizeLimit(),
                            m_document.Settings().Vertical == 1, checkFileSize);
    Report(refusal);
    if (refusal != ImageRefusal::None)
        return refusal;
    m_document.ShowSize(SizeForm::Decimal);
    // A new background is a change of the content like any other: without the mark the
    // operator could close without the save question and lose it.
    m_document.SetModified();
    emit PageBackgroundChanged(pageIndex);
    return ImageRefusal::None;
}

bool CImageEdits::SetPageBackground(int pageIndex)
{
    if (!m_model.pages.IsValidIndex(pageIndex))
        return false;
    const QString current = m_model.pages.At(pageIndex)->background;
    const QString chosen = QDir::fromNativeSeparators(m_prompt.FileDialog(
        OpenRequest(kJpegDialogTitle, kJpegFilterText, QStringLiteral("*.jpg"),
                    FolderOfFile(current))));
    if (chosen.isEmpty())
        return false;
    const ImageRefusal refusal = ApplyBackground(pageIndex, chosen, true);
    // A file that passed the size checks is remembered, also when the total refuses it.
    if (refusal == ImageRefusal::None || refusal == ImageRefusal::TotalTooLarge)
        m_lastBackgroundPath = chosen;
    return refusal == ImageRefusal::None;
}

bool CImageEdits::SetPageBackgroundFrom(int pageIndex, const QString &path)
{
    return ApplyBackground(pageIndex, QDir::fromNativeSeparators(path), false)
           == ImageRefusal::None;
}

} // namespace orin
