// SPDX-License-Identifier: MIT
#include "document/page_edits.h"

#include "document/document.h"
#include "document/prompt.h"
#include "images/size_accounting.h"
#include "model/ui_text.h"

namespace orin {

namespace {

// Moves the last `count` records of the table into `held`, keeping their order.
template <typename T>
void TakeLast(CMyDataArray<T> &table, int count, std::vector<std::unique_ptr<T>> &held)
{
    held.clear();
    const int first = std::max(0, table.Count() - count);
    while (table.Count() > first)
        held.insert(held.begin(), table.Take(table.Count() - 1));
}

template <typename T>
void PutBack(CMyDataArray<T> &table, std::vector<std::unique_ptr<T>> &held)
{
    for (auto &record : held)
        table.Add(std::move(record));
    held.clear();
}

template <typename T>
std::unique_ptr<T> TakeId(CMyDataArray<T> &table, int id)
{
    const int index = id == 0 ? -1 : table.IndexOfId(id);
    return index < 0 ? nullptr : table.Take(index);
}

// The used size counted again from the files, in the form for additions.
void ShowUsedSize(CContentModel &model, CDocument &document)
{
    model.usedSize = TotalDataSize(model);
    document.ShowSizeLine(FormatSizeLine(model.usedSize, document.SizeLimit(), SizeForm::Binary));
}

} // namespace

CPasteItemEdit::CPasteItemEdit(CContentModel &model, CDocument &document, CMyProgramInfo &page,
                               const CItemClipboard &clipboard, PasteMode mode, QPointF pagePoint)
    : m_model(model), m_document(document), m_page(page)
{
    m_outcome = orin::PasteItem(model, &page, clipboard, mode, pagePoint);
    if (m_outcome.status != PasteStatus::Pasted)
        return;
    m_item = page.items[static_cast<size_t>(m_outcome.slot)];
    m_done = true;
    ShowUsedSize(m_model, m_document);
    m_document.SetModified();
}

void CPasteItemEdit::Redo()
{
    if (m_done || m_outcome.status != PasteStatus::Pasted)
        return;
    if (m_text)
        m_model.texts.Add(std::move(m_text));
    if (m_picture)
        m_model.pictures.Add(std::move(m_picture));
    m_page.items[static_cast<size_t>(m_outcome.slot)] = m_item;
    m_page.itemCount = m_outcome.slot + 1;
    m_done = true;
    ShowUsedSize(m_model, m_document);
    m_document.SetModified();
}

void CPasteItemEdit::Undo()
{
    if (!m_done)
        return;
    m_page.items[static_cast<size_t>(m_outcome.slot)] = PageItem();
    m_page.itemCount = m_outcome.slot;
    m_text = TakeId(m_model.texts, m_outcome.newText);
    m_picture = TakeId(m_model.pictures, m_outcome.newPicture);
    m_done = false;
    ShowUsedSize(m_model, m_document);
    m_document.SetModified();
}

CMergeEdit::CMergeEdit(CContentModel &model, CDocument &document, const QString &text,
                       const MergeOptions &options)
    : m_model(model), m_document(document)
{
    m_result = MergeCopyDocument(model, text, options);
    if (!m_result.Changed())
        return;
    m_done = true;
    ShowSize();
    m_document.SetModified();
}

void CMergeEdit::ShowSize()
{
    // The used size is counted once, after the whole merge. The size pane follows a merge that
    // carried images, unless the size has reached the limit.
    m_model.usedSize = TotalDataSize(m_model);
    if (m_result.imageElements > 0
        && m_model.usedSize < static_cast<qint64>(m_document.SizeLimit()) * 1024)
        m_document.ShowSizeLine(
            FormatSizeLine(m_model.usedSize, m_document.SizeLimit(), SizeForm::Binary));
}

void CMergeEdit::Redo()
{
    if (m_done || !m_result.Changed())
        return;
    PutBack(m_model.pictures, m_pictures);
    PutBack(m_model.materials, m_materials);
    PutBack(m_model.texts, m_texts);
    PutBack(m_model.macros, m_macros);
    PutBack(m_model.pages, m_pages);
    m_done = true;
    ShowSize();
    m_document.SetModified();
}

void CMergeEdit::Undo()
{
    if (!m_done)
        return;
    TakeLast(m_model.pages, m_result.addedPages, m_pages);
    TakeLast(m_model.macros, m_result.addedMacros, m_macros);
    TakeLast(m_model.texts, m_result.addedTexts, m_texts);
    TakeLast(m_model.materials, m_result.addedMaterials, m_materials);
    TakeLast(m_model.pictures, m_result.addedPictures, m_pictures);
    m_done = false;
    ShowUsedSize(m_model, m_document);
    m_document.SetModified();
}

CPageEdits::CPageEdits(CContentModel &model, CDocument &document, CPrompt &prompt)
    : m_model(model), m_document(document), m_prompt(prompt)
{
}

std::unique_ptr<CPasteItemEdit> CPageEdits::PasteItem(CMyProgramInfo *page,
                                                      const CItemClipboard &clipboard,
                                                      PasteMode mode, QPointF pagePoint)
{
    if (page == nullptr)
        return nullptr;
    auto edit = std::make_unique<CPasteItemEdit>(m_model, m_document, *page, clipboard, mode,
                                                 pagePoint);
    if (edit->Outcome().status == PasteStatus::PageFull)
        m_prompt.MessageBox(UiText(kPageFullMessage), UiText(kErrorCaption), PromptButtons::Ok);
    if (edit->Outcome().status != PasteStatus::Pasted)
        return nullptr;
    return edit;
}

std::unique_ptr<CMergeEdit> CPageEdits::DropPages(int modeAction,
                                                  const std::optional<QString> &text,
                                                  int defTimer)
{
    switch (DecidePageDrop(modeAction, text, m_document.HasOpenedContent())) {
    case PageDrop::Refuse:
        return nullptr;
    case PageDrop::ContentFirst:
        m_prompt.MessageBox(UiText(kLoadContentFirstMessage), UiText(kWarningCaption),
                            PromptButtons::Ok);
        return nullptr;
    case PageDrop::Merge:
        break;
    }
    MergeOptions options;
    options.defTimer = defTimer;
    options.projectFolder = m_document.ProjectFolder();
    auto edit = std::make_unique<CMergeEdit>(m_model, m_document, *text, options);
    const QString refusal = edit->Result().Message();
    if (!refusal.isEmpty())
        m_prompt.MessageBox(refusal, UiText(kErrorCaption), PromptButtons::Ok);
    if (!edit->Result().Changed())
        return nullptr;
    return edit;
}

} // namespace orin
