// SPDX-License-Identifier: MIT
// The action-string operations on any strings and ids: reference extraction and rewriting,
// image marking, page positions, G: renumbering and the renumbering of a whole page table.
// Rewrites keep the entries and the references; every renumbered page id lands in range.

#include "fuzz_check.h"

#include "actions/action_strings.h"

#include <QList>
#include <QString>

#include <fuzzer/FuzzedDataProvider.h>

#include <memory>

using namespace orin;

namespace {

QString TakeString(FuzzedDataProvider &input, size_t maxLength)
{
    const std::string bytes = input.ConsumeRandomLengthString(maxLength);
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

QList<int> TakeIds(FuzzedDataProvider &input, int maxCount)
{
    QList<int> ids;
    const int count = input.ConsumeIntegralInRange(0, maxCount);
    for (int i = 0; i < count; ++i)
        ids.append(input.ConsumeBool() ? input.ConsumeIntegralInRange(-2, 300)
                                       : input.ConsumeIntegral<int>());
    return ids;
}

int MapId(int id, const QList<int> &oldIds, const QList<int> &newIds)
{
    for (qsizetype i = 0; i < qMin(oldIds.size(), newIds.size()); ++i) {
        if (oldIds[i] == id)
            return newIds[i];
    }
    return id;
}

bool InPageRange(int value, qsizetype pages)
{
    return (value >= 0 && value <= pages) || IsSpecialScreen(value);
}

// Each "G:"/"g:" entry of a renumbered string names a position among the pages, a special
// screen or 0, up to the first entry that stops the preview (copied as it stands).
void CheckGEntries(const QString &action, qsizetype pages)
{
    for (const QString &entry : action.split(u',')) {
        if (entry.isEmpty() || !kActionLetters.contains(entry[0]))
            break;
        if (entry.size() >= 2 && (entry[0] == u'G' || entry[0] == u'g') && entry[1] == u':') {
            bool ok = false;
            const int position = entry.mid(2).toInt(&ok);
            ORIN_FUZZ_CHECK(ok && InPageRange(position, pages));
        }
    }
}

void CheckReferences(const QString &action, const QString &prefix, ReferenceForm form,
                     const QList<int> &oldIds, const QList<int> &newIds)
{
    QList<int> before;
    ExtractReferences(action, prefix, form, before);

    // With no ids to change, a rewrite only writes numbers plainly: the references stay.
    QString plain = action;
    RewriteReferences(plain, prefix, form, {}, {});
    QList<int> plainRefs;
    ExtractReferences(plain, prefix, form, plainRefs);
    ORIN_FUZZ_CHECK(plainRefs == before);

    // A rewrite keeps every reference and changes each at most to its new id. (Only where the
    // string has one case form, since the extraction matches both and the rewrite one.)
    QString rewritten = action;
    RewriteReferences(rewritten, prefix, form, oldIds, newIds);
    ORIN_FUZZ_CHECK(rewritten.count(u',') == action.count(u','));
    if (action.toLower() == action && prefix.toLower() == prefix) {
        QList<int> after;
        ExtractReferences(rewritten, prefix, form, after);
        ORIN_FUZZ_CHECK(after.size() == before.size());
        for (qsizetype i = 0; i < before.size(); ++i)
            ORIN_FUZZ_CHECK(after[i] == before[i] || after[i] == MapId(before[i], oldIds, newIds));

        if (form == ReferenceForm::Colon) {
            ImageFlags flags{};
            MarkImageReferences(action, prefix, flags);
            ORIN_FUZZ_CHECK(flags[0] == 0);
            for (int id : before) {
                if (id > 0 && id < 256)
                    ORIN_FUZZ_CHECK(flags[size_t(id)] == 1);
            }
        }
    }
    ImageFlags flags{};
    MarkImageReferences(action, prefix, flags);
    for (int flag : flags)
        ORIN_FUZZ_CHECK(flag == 0 || flag == 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    static const char *const kPrefixes[] = {"p:", "P:", "t:", "T:", "m:", "i:", "s:", "g:", "k:", "r:"};
    const QString prefix = QString::fromLatin1(
        kPrefixes[input.ConsumeIntegralInRange<size_t>(0, std::size(kPrefixes) - 1)]);
    const ReferenceForm form = input.ConsumeBool() ? ReferenceForm::Colon : ReferenceForm::Comma;
    const QList<int> oldIds = TakeIds(input, 8);
    const QList<int> newIds = TakeIds(input, 8);
    const QString action = TakeString(input, 300);

    CheckReferences(action, prefix, form, oldIds, newIds);

    QString plainNumber = action;
    RemapPlainNumber(plainNumber, oldIds, newIds);
    if (plainNumber != action)
        ORIN_FUZZ_CHECK(newIds.contains(plainNumber.toInt()));

    for (int id : oldIds)
        ORIN_FUZZ_CHECK(InPageRange(PagePosition(id, oldIds), oldIds.size()));

    for (bool isRet : {false, true}) {
        QString renumbered = action;
        RenumberEntries(renumbered, isRet, oldIds);
        if (renumbered == action)
            continue;
        if (isRet && !action.isEmpty() && action[0].isDigit() && !renumbered.contains(u',')) {
            bool ok = false;
            const int position = renumbered.toInt(&ok);
            ORIN_FUZZ_CHECK(ok && InPageRange(position, oldIds.size()));
        } else {
            // In ret an entry that starts with a digit makes the rest one page number.
            if (isRet)
                ORIN_FUZZ_CHECK(renumbered.count(u',') <= action.count(u','));
            else
                ORIN_FUZZ_CHECK(renumbered.count(u',') == action.count(u','));
            CheckGEntries(renumbered, oldIds.size());
        }
    }

    // A small page table with fuzzed ids, page references and actions.
    CContentModel model;
    const int pageCount = input.ConsumeIntegralInRange(0, 6);
    for (int p = 0; p < pageCount; ++p) {
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = input.ConsumeIntegralInRange(-1, 300);
        page->back = input.ConsumeIntegralInRange(-1, 300);
        page->memory = input.ConsumeIntegral<int>();
        page->itemCount = input.ConsumeIntegralInRange(-2, 3);
        for (int slot = 0; slot < 2; ++slot) {
            page->items[size_t(slot)].focus = TakeString(input, 40);
            page->items[size_t(slot)].ret = TakeString(input, 20);
        }
        model.pages.Add(std::move(page));
    }
    auto text = std::make_unique<CMyTextInfo>();
    text->item = input.ConsumeIntegral<int>();
    model.texts.Add(std::move(text));
    RenumberPages(model);
    for (int p = 0; p < model.pages.Count(); ++p) {
        const CMyProgramInfo &page = *model.pages.At(p);
        ORIN_FUZZ_CHECK(page.id == p + 1);
        ORIN_FUZZ_CHECK(InPageRange(page.back, pageCount));
        ORIN_FUZZ_CHECK(InPageRange(page.memory, pageCount));
        ORIN_FUZZ_CHECK(page.items.Constructed() <= kItemSlots);
    }
    ORIN_FUZZ_CHECK(model.texts.At(0)->item >= 0 && model.texts.At(0)->item <= pageCount);
    return 0;
}
