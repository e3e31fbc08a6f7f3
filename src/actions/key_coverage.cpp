// SPDX-License-Identifier: MIT
#include "actions/key_coverage.h"

#include "actions/action_effects.h"
#include "actions/remote_keys.h"

#include <QCoreApplication>
#include <QStringList>

namespace orin {

namespace {

QString NothingText()
{
    return QCoreApplication::translate("OrinEdit", "何もしない");
}

QString MissingText()
{
    return QCoreApplication::translate("OrinEdit", "（ありません）");
}

bool PageExists(const CContentModel &model, int n)
{
    return IsSpecialScreen(n) || (n > 0 && model.pages.IndexOfId(n) >= 0);
}

KeyCoverage GoTo(const CContentModel &model, int n)
{
    if (n == 0)
        return {false, NothingText()};
    const QString words = QCoreApplication::translate("OrinEdit", "ページ %1 へ").arg(n);
    if (!PageExists(model, n))
        return {false, words + MissingText()};
    return {true, words};
}

bool IsTextOnlyKind(int idg)
{
    return idg == 2 || idg == 3 || idg == 5 || idg == 6 || idg == 7;
}

} // namespace

KeyCoverage DescribeAction(const CContentModel &model, const ProgramSettings &settings,
                           const CMyProgramInfo &page, const QString &action, int kind)
{
    QStringList words;
    bool active = false;
    for (const ActionEffect &effect : ActionEffects(action, kind)) {
        if (!effect.primary)
            continue;
        switch (effect.kind) {
        case EffectKind::ShowPage: {
            const KeyCoverage jump = GoTo(model, effect.target);
            words << jump.tip;
            active = active || jump.active;
            break;
        }
        case EffectKind::MoveFocus: {
            const int slot = FindItemSlot(page, effect.target);
            QString text = QCoreApplication::translate("OrinEdit", "アイテム %1 にフォーカス")
                               .arg(effect.target);
            bool moves = slot >= 0;
            // A plain number moves only to a focusable item.
            if (moves && effect.checked && settings.ExPNG == 0
                && IsTextOnlyKind(page.items[size_t(slot)].idg))
                moves = false;
            words << (moves ? text : text + MissingText());
            active = active || moves;
            break;
        }
        case EffectKind::RunMacro: {
            const bool exists = effect.target != kDeletedId && model.macros.IndexOfId(effect.target) >= 0;
            const QString text =
                QCoreApplication::translate("OrinEdit", "マクロ %1 を実行").arg(effect.target);
            words << (exists ? text : text + MissingText());
            active = active || exists;
            break;
        }
        case EffectKind::RunItemString:
            words << QCoreApplication::translate("OrinEdit", "アイテム %1 のアクションを実行")
                         .arg(effect.target);
            active = true;
            break;
        case EffectKind::NoOp:
            break;
        default:
            words << QCoreApplication::translate("OrinEdit", "「%1」を実行")
                         .arg(action.mid(effect.entryStart, effect.entryLength));
            active = true;
            break;
        }
    }
    if (words.isEmpty())
        return {false, NothingText()};
    return {active, words.join(QCoreApplication::translate("OrinEdit", "、"))};
}

KeyCoverage DescribeKey(const CContentModel &model, const ProgramSettings &settings,
                        int shownPage, int focusItem, int key, int memoryPage)
{
    const int s = shownPage;
    if (s == kOtherChannelScreen)
        return key == kKeyEnter
                   ? KeyCoverage{true, QCoreApplication::translate("OrinEdit", "前のページへ")}
                   : KeyCoverage{false, NothingText()};
    if (s == kWebScreen)
        return key == kKeyEnter ? GoTo(model, kVideoScreen) : KeyCoverage{false, NothingText()};
    if (s == kGuideScreen || s == kVideoScreen) {
        switch (key) {
        case kKeyEnter:
            return s == kGuideScreen ? GoTo(model, kVideoScreen)
                                     : KeyCoverage{false, NothingText()};
        case kKeyData:
            return GoTo(model, memoryPage != 0 ? memoryPage : 1);
        case kKeyBack:
            return s == kVideoScreen ? GoTo(model, kGuideScreen)
                                     : KeyCoverage{false, NothingText()};
        default: return {false, NothingText()};
        }
    }
    const CMyProgramInfo *page = s > 0 ? model.pages.FindById(s) : nullptr;
    if (!page)
        return {false, NothingText()};
    const bool arrow = key >= kKeyUp && key <= kKeyRight;
    if (key == kKeyEnter || arrow) {
        if (focusItem == 0) {
            switch (key) {
            case kKeyEnter: return GoTo(model, page->return_);
            case kKeyUp: return GoTo(model, page->up);
            case kKeyDown: return GoTo(model, page->down);
            case kKeyLeft: return GoTo(model, page->left);
            default: return GoTo(model, page->right);
            }
        }
        const int slot = FindItemSlot(*page, focusItem);
        if (slot < 0)
            return {false, NothingText()};
        const PageItem &item = page->items[size_t(slot)];
        switch (key) {
        case kKeyEnter: return DescribeAction(model, settings, *page, item.ret, 0);
        case kKeyUp: return DescribeAction(model, settings, *page, item.up, 1);
        case kKeyDown: return DescribeAction(model, settings, *page, item.down, 1);
        case kKeyLeft: return DescribeAction(model, settings, *page, item.left, 1);
        default: return DescribeAction(model, settings, *page, item.right, 1);
        }
    }
    switch (key) {
    case kKeyData: return GoTo(model, page->data);
    case kKeyBack: return GoTo(model, page->back);
    case kKeyBlue: return GoTo(model, page->blue);
    case kKeyRed: return GoTo(model, page->red);
    case kKeyGreen: return GoTo(model, page->green);
    case kKeyYellow: return GoTo(model, page->yellow);
    case kKeyRefresh:
        return {true, QCoreApplication::translate("OrinEdit", "ページ %1 を再表示").arg(s)};
    default: return {false, NothingText()};
    }
}

} // namespace orin
