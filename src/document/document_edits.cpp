// SPDX-License-Identifier: MIT
#include <QCoreApplication>
#include "document/document_edits.h"
#include "model/ui_text.h"

#include "actions/action_strings.h"
#include "actions/page_merge.h"
#include "document/document.h"
#include "document/image_edits.h"
#include "document/page_edits.h"
#include "document/prompt.h"
#include "document/undo_commands.h"
#include "model/leading_int.h"

namespace orin {

namespace {

const QString kCommentText = QStringLiteral(QT_TRANSLATE_NOOP("OrinEdit", "コメント変更"));
const QString kPagePropText = QStringLiteral(QT_TRANSLATE_NOOP("OrinEdit", "ページ属性"));
const QString kItemPropText = QStringLiteral(QT_TRANSLATE_NOOP("OrinEdit", "アイテム属性"));
const QString kActionText = QStringLiteral(QT_TRANSLATE_NOOP("OrinEdit", "アクション編集"));
const QString kTextEditText = QStringLiteral(QT_TRANSLATE_NOOP("OrinEdit", "テキスト編集"));
const QString kBackgroundText = QStringLiteral(QT_TRANSLATE_NOOP("OrinEdit", "画像変更"));
const QString kImageText = QStringLiteral(QT_TRANSLATE_NOOP("OrinEdit", "画像変更"));
const QString kAddImageText = QStringLiteral(QT_TRANSLATE_NOOP("OrinEdit", "画像追加"));

bool SameItem(const PageItem &a, const PageItem &b)
{
    return a.id == b.id && a.idg == b.idg && a.parent == b.parent && a.x == b.x && a.y == b.y &&
           a.width == b.width && a.height == b.height && a.focus == b.focus &&
           a.outfocus == b.outfocus && a.ret == b.ret && a.up == b.up && a.down == b.down &&
           a.left == b.left && a.right == b.right && a.pic_no == b.pic_no &&
           a.text_no == b.text_no && a.margin_x == b.margin_x && a.margin_y == b.margin_y &&
           a.color == b.color && a.size == b.size && a.bcolor == b.bcolor &&
           a.wordwrap == b.wordwrap && a.text == b.text;
}

} // namespace

PageProperties PagePropertiesOf(const CContentModel &model, int row, int timerMode)
{
    PageProperties values;
    if (!model.pages.IsValidIndex(row))
        return values;
    const CMyProgramInfo &page = *model.pages.At(row);
    values.timer = page.timer;
    values.marquee = page.marquee;
    values.marquee_speed = page.marquee_speed;
    values.timer_ino = page.timer_ino;
    values.timer_item = page.timer_item;
    values.defitem = page.defitem;
    values.curcol = page.curcol;
    values.back = page.back;
    if (timerMode == 1)
        values.next = page.right;
    else if (timerMode == 2)
        values.next = page.down;
    else
        values.next = model.pages.At((row + 1) % model.pages.Count())->id;
    return values;
}

std::optional<QString> ReplaceSection(const QString &whole, int label, const QString &content)
{
    const QString marker = QStringLiteral("[#");
    qsizetype at = whole.indexOf(marker);
    while (at >= 0) {
        const qsizetype next = whole.indexOf(marker, at + 2);
        const qsizetype end = next < 0 ? whole.size() : next;
        const QStringView head = QStringView(whole).mid(at + 2, end - at - 2);
        const qsizetype close = head.indexOf(u']');
        // A marker without its "]" has no content to replace.
        if (close >= 0 && ParseLeadingInt(head) == label) {
            const qsizetype from = at + 2 + close + 1;
            QString result = whole;
            result.replace(from, end - from, content);
            return result;
        }
        at = next;
    }
    return std::nullopt;
}

CDocumentEdits::CDocumentEdits(CDocument &document, CContentModel &model, CPrompt &prompt,
                               CImageEdits &imageEdits)
    : m_document(document), m_model(model), m_prompt(prompt), m_imageEdits(imageEdits)
{
}

CDocumentEdits::~CDocumentEdits() = default;

bool CDocumentEdits::PushPage(int row, const CMyProgramInfo &before, const QString &text)
{
    m_document.Push(new CRecordValueCommand<CMyProgramInfo>(
        m_document, text, m_model.pages, row, before, *m_model.pages.At(row), row));
    return true;
}

// ---------------------------------------------------------------- pages

bool CDocumentEdits::AskDeletePage(int row)
{
    if (!m_model.pages.IsValidIndex(row))
        return false;
    if (m_prompt.MessageBox(UiText(kDeletePageQuestion), UiText(kWarningCaption),
                            PromptButtons::YesNo)
        != PromptAnswer::Yes)
        return false;
    return m_document.DeletePage(row);
}

int CDocumentEdits::DropPageRow(int source, int target, bool copy)
{
    m_document.CommitOpenEdits();
    const int count = m_model.pages.Count();
    if (!m_model.pages.IsValidIndex(source) || target < 0 || target > count)
        return -1;
    if (copy) {
        // A new page never takes an id that the preview reserves; with none left, no copy.
        const int id = NextFreePageId(m_model);
        if (id == 0)
            return -1;
        auto duplicate = std::make_unique<CMyProgramInfo>(*m_model.pages.At(source));
        duplicate->id = id;
        m_document.Push(
            new CInsertPageCommand(m_document, m_model, target, std::move(duplicate),
                                   QCoreApplication::translate("OrinEdit", "ページ複製")));
        return target;
    }
    // Dropped on its own row or just below it: the order stays.
    if (target == source || target == source + 1)
        return -1;
    const int to = source < target ? target - 1 : target;
    m_document.Push(new CMovePageCommand(m_document, m_model, source, to));
    return to;
}

bool CDocumentEdits::SetPageComment(int row, const QString &comment)
{
    m_document.CommitOpenEdits();
    if (!m_model.pages.IsValidIndex(row) || m_model.pages.At(row)->comment == comment)
        return false;
    CMyProgramInfo after = *m_model.pages.At(row);
    after.comment = comment;
    m_document.Push(new CRecordValueCommand<CMyProgramInfo>(
        m_document, kCommentText, m_model.pages, row, *m_model.pages.At(row), after, row));
    return true;
}

bool CDocumentEdits::SetPageProperties(int row, const PageProperties &values, int timerMode)
{
    m_document.CommitOpenEdits();
    if (!m_model.pages.IsValidIndex(row))
        return false;
    const CMyProgramInfo &page = *m_model.pages.At(row);
    CMyProgramInfo after = page;
    after.timer = values.timer;
    after.marquee = values.marquee;
    after.marquee_speed = values.marquee_speed;
    after.timer_ino = values.timer_ino;
    after.timer_item = values.timer_item;
    after.defitem = values.defitem;
    after.curcol = values.curcol;
    after.back = values.back;
    if (timerMode == 1)
        after.right = values.next;
    else if (timerMode == 2)
        after.down = values.next;
    m_document.Push(new CRecordValueCommand<CMyProgramInfo>(m_document, kPagePropText,
                                                            m_model.pages, row, page, after, row));
    return true;
}

bool CDocumentEdits::RenumberPages()
{
    m_document.CommitOpenEdits();
    if (m_model.pages.Count() == 0)
        return false;
    const TableValues before = CaptureTables(m_model, kPagesTextsMacros);
    orin::RenumberPages(m_model);
    m_document.Push(new CTablesCommand(
        m_document, m_model, QCoreApplication::translate("OrinEdit", "リナンバリング"),
        kPagesTextsMacros, before, CaptureTables(m_model, kPagesTextsMacros), EditEffect()));
    return true;
}

// ---------------------------------------------------------------- items and texts

bool CDocumentEdits::SetItem(int row, int slot, const PageItem &item)
{
    m_document.CommitOpenEdits();
    if (!m_model.pages.IsValidIndex(row) || slot < 0 || slot >= kItemSlots)
        return false;
    const CMyProgramInfo &page = *m_model.pages.At(row);
    if (SameItem(page.items[static_cast<size_t>(slot)], item))
        return false;
    CMyProgramInfo after = page;
    after.items[static_cast<size_t>(slot)] = item;
    m_document.Push(new CRecordValueCommand<CMyProgramInfo>(m_document, kItemPropText,
                                                            m_model.pages, row, page, after, row));
    return true;
}

bool CDocumentEdits::UpdateItemReturn(int pageId, int slot, const QString &text)
{
    return UpdateItemAction(pageId, slot, text, std::nullopt);
}

bool CDocumentEdits::UpdateItemTimer(int pageId, int seconds)
{
    m_document.CommitOpenEdits();
    const int row = m_model.PageIndexOfId(pageId);
    if (row < 0 || m_model.pages.At(row)->timer_item == seconds)
        return false;
    CMyProgramInfo after = *m_model.pages.At(row);
    after.timer_item = seconds;
    m_document.Push(new CRecordValueCommand<CMyProgramInfo>(
        m_document, kActionText, m_model.pages, row, *m_model.pages.At(row), after, row));
    return true;
}

bool CDocumentEdits::UpdateItemAction(int pageId, int slot, const QString &ret,
                                      std::optional<int> timerItem)
{
    m_document.CommitOpenEdits();
    const int row = m_model.PageIndexOfId(pageId);
    if (row < 0 || slot < 0 || slot >= kItemSlots)
        return false;
    const CMyProgramInfo &page = *m_model.pages.At(row);
    CMyProgramInfo after = page;
    after.items[static_cast<size_t>(slot)].ret = ret;
    if (timerItem)
        after.timer_item = *timerItem;
    if (after.items[static_cast<size_t>(slot)].ret == page.items[static_cast<size_t>(slot)].ret &&
        after.timer_item == page.timer_item)
        return false;
    m_document.Push(new CRecordValueCommand<CMyProgramInfo>(m_document, kActionText,
                                                            m_model.pages, row, page, after, row));
    return true;
}

bool CDocumentEdits::UpdateText(int textId, int pageId, int itemId, const QString &text)
{
    m_document.CommitOpenEdits();
    const int row = m_model.PageIndexOfId(pageId);
    if (textId != 0) {
        const int index = m_model.texts.IndexOfId(textId);
        if (index < 0 || m_model.texts.At(index)->text == text)
            return false;
        CMyTextInfo after = *m_model.texts.At(index);
        after.text = text;
        after.changed = 1;
        m_document.Push(new CRecordValueCommand<CMyTextInfo>(
            m_document, kTextEditText, m_model.texts, index, *m_model.texts.At(index), after,
            row));
        return true;
    }
    if (row < 0)
        return false;
    const CMyProgramInfo &page = *m_model.pages.At(row);
    const int slot = FindItemSlot(page, itemId);
    if (slot < 0 || page.items[static_cast<size_t>(slot)].text == text)
        return false;
    CMyProgramInfo after = page;
    after.items[static_cast<size_t>(slot)].text = text;
    m_document.Push(new CRecordValueCommand<CMyProgramInfo>(m_document, kTextEditText,
                                                            m_model.pages, row, page, after, row));
    return true;
}

bool CDocumentEdits::UpdateTextSection(int textId, int label, const QString &text, int pageId)
{
    m_document.CommitOpenEdits();
    const int index = m_model.texts.IndexOfId(textId);
    if (index < 0)
        return false;
    const CMyTextInfo &record = *m_model.texts.At(index);
    const std::optional<QString> replaced = ReplaceSection(record.text, label, text);
    if (!replaced || *replaced == record.text)
        return false;
    CMyTextInfo after = record;
    after.text = *replaced;
    after.changed = 1;
    m_document.Push(new CRecordValueCommand<CMyTextInfo>(m_document, kTextEditText,
                                                         m_model.texts, index, record, after,
                                                         m_model.PageIndexOfId(pageId)));
    return true;
}

// ---------------------------------------------------------------- images

bool CDocumentEdits::SetPageBackground(int row)
{
    m_document.CommitOpenEdits();
    if (!m_model.pages.IsValidIndex(row))
        return false;
    const CMyProgramInfo before = *m_model.pages.At(row);
    if (!m_imageEdits.SetPageBackground(row))
        return false;
    return PushPage(row, before, kBackgroundText);
}

bool CDocumentEdits::SetPageBackgroundFrom(int row, const QString &path)
{
    m_document.CommitOpenEdits();
    if (!m_model.pages.IsValidIndex(row))
        return false;
    const CMyProgramInfo before = *m_model.pages.At(row);
    if (!m_imageEdits.SetPageBackgroundFrom(row, path))
        return false;
    return PushPage(row, before, kBackgroundText);
}

int CDocumentEdits::PushImageTables(int result, const TableValues &before, const QString &text)
{
    if (result <= 0)
        return result;
    m_document.Push(new CTablesCommand(m_document, m_model, text, kImageTables, before,
                                       CaptureTables(m_model, kImageTables),
                                       {false, true, SizeForm::Binary, true}));
    return result;
}

int CDocumentEdits::ReplaceImage(int id, const QString &path)
{
    m_document.CommitOpenEdits();
    const TableValues before = CaptureTables(m_model, kImageTables);
    return PushImageTables(m_imageEdits.ReplaceImage(id, path), before, kImageText);
}

int CDocumentEdits::ChangeItemImage(int id, int itemWidth, int itemHeight)
{
    m_document.CommitOpenEdits();
    const TableValues before = CaptureTables(m_model, kImageTables);
    return PushImageTables(m_imageEdits.ChangeItemImage(id, itemWidth, itemHeight), before,
                           kImageText);
}

int CDocumentEdits::AddPicture(const QString &path, int type)
{
    m_document.CommitOpenEdits();
    const TableValues before = CaptureTables(m_model, kImageTables);
    return PushImageTables(m_imageEdits.AddPicture(path, type), before, kAddImageText);
}

int CDocumentEdits::AddMaterial(const QString &path, int type)
{
    m_document.CommitOpenEdits();
    const TableValues before = CaptureTables(m_model, kImageTables);
    return PushImageTables(m_imageEdits.AddMaterial(path, type), before, kAddImageText);
}

int CDocumentEdits::AddDroppedImage(const QString &path)
{
    m_document.CommitOpenEdits();
    const TableValues before = CaptureTables(m_model, kImageTables);
    return PushImageTables(m_imageEdits.AddDroppedImage(path), before, kAddImageText);
}

// ---------------------------------------------------------------- merge and paste

bool CDocumentEdits::DropPages(int modeAction, const std::optional<QString> &text, int defTimer)
{
    m_document.CommitOpenEdits();
    CPageEdits edits(m_model, m_document, m_prompt);
    std::unique_ptr<CMergeEdit> merge = edits.DropPages(modeAction, text, defTimer);
    if (!merge)
        return false;
    m_document.Push(new CModelEditCommand(m_document, std::move(merge),
                                          QCoreApplication::translate("OrinEdit", "ページ追加"), -1,
                                          {true, false, SizeForm::Binary, true}));
    return true;
}

bool CDocumentEdits::PasteItem(int row, const CItemClipboard &clipboard, PasteMode mode,
                               QPointF pagePoint)
{
    m_document.CommitOpenEdits();
    if (!m_model.pages.IsValidIndex(row))
        return false;
    CPageEdits edits(m_model, m_document, m_prompt);
    std::unique_ptr<CPasteItemEdit> paste =
        edits.PasteItem(m_model.pages.At(row), clipboard, mode, pagePoint);
    if (!paste)
        return false;
    m_document.Push(new CModelEditCommand(m_document, std::move(paste),
                                          QCoreApplication::translate("OrinEdit", "貼り付け"), row,
                                          {false, false, SizeForm::Binary, true}));
    return true;
}

} // namespace orin
