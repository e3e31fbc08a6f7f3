// SPDX-License-Identifier: MIT
#include "document/text_commit.h"

#include "document/document_edits.h"
#include "model/content_model.h"

#include <algorithm>
#include <utility>

namespace orin {

namespace {

constexpr int kStateGroup = 2;
constexpr int kStateSectioned = 3;
constexpr int kStateChosenSection = 4;

} // namespace

TextEditRoute RouteTextEdit(int textState, bool shift)
{
    if (textState == kStateSectioned)
        return TextEditRoute::GroupDialog;
    if (!shift)
        return TextEditRoute::InPlace;
    if (textState == kStateChosenSection || textState == kStateGroup)
        return TextEditRoute::GroupDialog;
    return TextEditRoute::ItemDialog;
}

int PageIdOfSerial(const CContentModel &model, quint64 serial)
{
    if (serial == 0)
        return 0;
    for (int i = 0; i < model.pages.Count(); ++i) {
        const CMyProgramInfo *page = model.pages.At(i);
        if (page->serial.Value() == serial)
            return page->id;
    }
    return 0;
}

bool DialogTargetExists(const CContentModel &model, const TextEditTarget &target, int textId)
{
    const CMyProgramInfo *page = nullptr;
    for (int i = 0; i < model.pages.Count() && !page; ++i) {
        if (model.pages.At(i)->serial.Value() == target.pageSerial)
            page = model.pages.At(i);
    }
    if (!page || target.pageSerial == 0)
        return false;
    const int id = textId != 0 ? textId : target.textSource;
    if (id != 0)
        return model.texts.FindById(id) != nullptr;
    const int used = std::clamp(page->itemCount, 0, kItemSlots);
    for (int slot = 0; slot < used; ++slot) {
        if (std::as_const(page->items)[static_cast<size_t>(slot)].id == target.itemId)
            return true;
    }
    return false;
}

TextWriteBack InPlaceWriteBack(const CContentModel &model, const TextEditTarget &target)
{
    switch (target.textState) {
    case kStateGroup: {
        const CMyTextInfo *record = model.texts.FindById(target.textSource);
        if (!record || !record->text.contains(QStringLiteral("[#")))
            return {TextWriteKind::Text, 0, 0};
        return {TextWriteKind::SectionOfItem, target.textSource, target.itemId};
    }
    case kStateChosenSection:
        return {TextWriteKind::SectionByLabel, target.textSource, target.textSection};
    case kStateSectioned:
        return {};
    default:
        return {TextWriteKind::Text, target.textSource, 0};
    }
}

bool CommitTypedText(CDocumentEdits &edits, const CContentModel &model,
                     const TextEditTarget &target, const QString &text)
{
    // A page that is gone (deleted, or another content set opened) takes nothing: its ids may
    // now name other records.
    const int pageId = PageIdOfSerial(model, target.pageSerial);
    if (pageId == 0)
        return false;
    const TextWriteBack write = InPlaceWriteBack(model, target);
    switch (write.kind) {
    case TextWriteKind::Text:
        return edits.UpdateText(write.textId, pageId, target.itemId, text);
    case TextWriteKind::SectionOfItem:
    case TextWriteKind::SectionByLabel:
        return edits.UpdateTextSection(write.textId, write.label, text, pageId);
    case TextWriteKind::Nothing:
        break;
    }
    return false;
}

bool CommitDialogText(CDocumentEdits &edits, const CContentModel &model,
                      const TextEditTarget &target, int textId, const QString &text)
{
    const int pageId = PageIdOfSerial(model, target.pageSerial);
    if (pageId == 0)
        return false;
    const int id = textId != 0 ? textId : target.textSource;
    return edits.UpdateText(id, pageId, target.itemId, text);
}

} // namespace orin
