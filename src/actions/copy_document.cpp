// SPDX-License-Identifier: MIT
#include "actions/copy_document.h"

#include "actions/action_effects.h"
#include "actions/action_strings.h"
#include "model/project_writer.h"
#include "model/xml_doc.h"

#include <QSet>

#include <functional>

#include <array>
#include <initializer_list>

namespace orin {

namespace {

constexpr QStringView kCrLf = u"\r\n";

// The seven action strings of an item, in the order they are scanned.
std::array<const QString *, 7> ActionStrings(const PageItem &item)
{
    return {&item.focus, &item.outfocus, &item.ret, &item.up, &item.down, &item.left,
            &item.right};
}

// Keeps the ids met so far, in order, and remembers which were already met.
class CIdList {
public:
    explicit CIdList(std::function<bool(int)> exists) : m_exists(std::move(exists)) {}

    void Add(int id)
    {
        // 0 counts as listed from the start; a negative id is a deleted record's.
        if (id <= 0 || m_seen.contains(id))
            return;
        m_seen.insert(id);
        if (m_exists(id))
            m_ids.append(id);
    }
    void Add(const QList<int> &ids)
    {
        for (int id : ids)
            Add(id);
    }
    QList<int> Ids() const { return m_ids; }

private:
    std::function<bool(int)> m_exists;
    QSet<int> m_seen;
    QList<int> m_ids;
};

QList<int> References(const QString &action, QStringView prefix, ReferenceForm form)
{
    QList<int> ids;
    ExtractReferences(action, prefix, form, ids);
    return ids;
}

// The `kind` targets of the entries of `action` that start with one of `letters` (upper case;
// either case matches), read as the preview runs the string: an entry's second character is its
// separator whatever it is, so "P,4:0" and "P*4:0" show picture 4 as "P:4:0" does.
QList<int> RunReferences(const QString &action, int context, EffectKind kind,
                         QStringView letters)
{
    QList<int> ids;
    for (const ActionEffect &effect : ActionEffects(action, context)) {
        if (effect.kind == kind && effect.entryStart >= 0 && effect.entryStart < action.size()
            && letters.contains(action.at(effect.entryStart).toUpper()))
            ids.append(effect.target);
    }
    return ids;
}

// The context an item's string runs in: ret in page context, the others in focus context.
int ContextOf(const PageItem &item, const QString *action)
{
    return action == &item.ret ? 0 : 1;
}

void AppendLine(QString &out, int indent, QStringView text)
{
    out.append(QString(indent, u' '));
    out.append(text);
    out.append(kCrLf);
}

void AppendRecordLine(QString &out, const QString &element, int id, int item,
                      const QString &attributeName, const QString &attributeValue,
                      const QString &content)
{
    out.append(QStringLiteral("    <%1 id=\"%2\" item=\"%3\" %4=\"")
                   .arg(element)
                   .arg(id)
                   .arg(item)
                   .arg(attributeName));
    out.append(attributeValue);
    out.append(QStringLiteral("\">"));
    out.append(EscapeMarkup(content, false));
    out.append(QStringLiteral("</%1>").arg(element));
    out.append(kCrLf);
}

} // namespace

CopyDocumentIds CollectCopyDocumentIds(const CContentModel &model, const QList<int> &pageIndexes)
{
    CIdList images([&model](int id) { return model.FindImage(id) != nullptr; });
    CIdList texts([&model](int id) { return model.texts.FindById(id) != nullptr; });
    CIdList macros([&model](int id) { return model.macros.FindById(id) != nullptr; });

    for (int index : pageIndexes) {
        if (!model.pages.IsValidIndex(index))
            continue;
        const CMyProgramInfo &page = *model.pages.At(index);
        const int used = std::clamp(page.itemCount, 0, kItemSlots);
        for (int slot = 0; slot < used; ++slot) {
            const PageItem &item = page.items[static_cast<size_t>(slot)];
            images.Add(item.pic_no);
            for (const QString *action : ActionStrings(item)) {
                images.Add(References(*action, u"p:", ReferenceForm::Colon));
                images.Add(RunReferences(*action, ContextOf(item, action), EffectKind::ImageRef,
                                         u"P"));
                QList<int> slider;
                ExtractSliderImages(*action, slider);
                images.Add(slider);
            }
        }
    }
    for (int index : pageIndexes) {
        if (!model.pages.IsValidIndex(index))
            continue;
        const CMyProgramInfo &page = *model.pages.At(index);
        texts.Add(page.textid);
        const int used = std::clamp(page.itemCount, 0, kItemSlots);
        for (int slot = 0; slot < used; ++slot) {
            const PageItem &item = page.items[static_cast<size_t>(slot)];
            for (const QString *action : ActionStrings(item)) {
                for (QStringView prefix : {u"t:", u"r:", u"i:"})
                    texts.Add(References(*action, prefix, ReferenceForm::Colon));
                texts.Add(References(*action, u"s:", ReferenceForm::Comma));
                texts.Add(RunReferences(*action, ContextOf(item, action), EffectKind::TextRef,
                                        u"TRIS"));
            }
            texts.Add(item.text_no);
        }
    }
    for (int index : pageIndexes) {
        if (!model.pages.IsValidIndex(index))
            continue;
        const CMyProgramInfo &page = *model.pages.At(index);
        macros.Add(page.smacro);
        const int used = std::clamp(page.itemCount, 0, kItemSlots);
        for (int slot = 0; slot < used; ++slot) {
            const PageItem &item = page.items[static_cast<size_t>(slot)];
            for (const QString *action : ActionStrings(item)) {
                macros.Add(References(*action, u"a:", ReferenceForm::Comma));
                macros.Add(RunReferences(*action, ContextOf(item, action), EffectKind::RunMacro,
                                         u"A"));
            }
        }
    }
    return {images.Ids(), texts.Ids(), macros.Ids()};
}

QString WriteCopyDocument(const CContentModel &model, const QList<int> &pageIndexes)
{
    QString out;
    AppendLine(out, 0, u"<CopyProgram>");
    AppendLine(out, 2, u"<Program>");
    for (int index : pageIndexes) {
        // An empty content folder keeps every reference absolute.
        if (model.pages.IsValidIndex(index))
            WritePage(model, index, out, SaveMode::Plain, QString());
    }
    AppendLine(out, 2, u"</Program>");

    const CopyDocumentIds ids = CollectCopyDocumentIds(model, pageIndexes);
    AppendLine(out, 2, u"<Image>");
    for (int id : ids.images) {
        const CMyPictureInfo *image = model.FindImage(id);
        out.append(QStringLiteral("    <ItemImage id=\"%1\" item=\"%2\" type=\"%3\">")
                       .arg(id)
                       .arg(image->item)
                       .arg(image->type));
        out.append(EscapeMarkup(image->path, false));
        out.append(u"</ItemImage>");
        out.append(kCrLf);
    }
    AppendLine(out, 2, u"</Image>");

    AppendLine(out, 2, u"<Text>");
    for (int id : ids.texts) {
        const CMyTextInfo *text = model.texts.FindById(id);
        AppendRecordLine(out, QStringLiteral("ItemText"), id, text->item, QStringLiteral("label"),
                         EscapeMarkup(text->label, true), text->text);
    }
    AppendLine(out, 2, u"</Text>");

    AppendLine(out, 2, u"<Macro>");
    for (int id : ids.macros) {
        const CMyMacroInfo *macro = model.macros.FindById(id);
        AppendRecordLine(out, QStringLiteral("ItemMacro"), id, macro->item,
                         QStringLiteral("label"), EscapeMarkup(macro->label, true), macro->macro);
    }
    AppendLine(out, 2, u"</Macro>");
    AppendLine(out, 0, u"</CopyProgram>");
    return out;
}

} // namespace orin
