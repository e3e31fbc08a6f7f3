// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QCoreApplication>
#include <QDialog>
#include <QHash>

class QLineEdit;

namespace orin {

class CColourMap;
class CContentModel;
class CDocumentEdits;
class CPrompt;

inline constexpr char16_t kItemPropTitle[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "アイテム属性");

// The two tips of the item dialog, shown near the cursor while it is within 5 pixels of the
// style-and-font field (1028) or the item-mode field (1029).
QString WordWrapTip();
QString ItemModeTip();

// The item properties "アイテム属性" of one item slot: geometry in whole numbers, colours
// (with the colour-map picker behind "..."), size, style and font, item mode, actions, margins,
// picture and text numbers. The slot's focus, outfocus, parent and text keep their values.
class CDlgItemProp : public QDialog {
    Q_OBJECT
public:
    CDlgItemProp(const PageItem &item, const CColourMap &colourMap, CPrompt &prompt,
                 QWidget *parent = nullptr);

    // The edited slot (valid after OK).
    PageItem Item() const;
    // The edit with that control number (1020..1038).
    QLineEdit *Field(int controlId) const { return m_fields.value(controlId); }
    // The tip for a point of the dialog (empty away from fields 1028 and 1029).
    QString TipAt(QPoint dialogPoint) const;
    // The colour buttons 1107 (text colour) and 1108 (background colour): open the colour map
    // picker on the field's index and take the chosen one.
    void PickColour(int fieldId);

    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *AddField(int controlId, const QString &value);

    PageItem m_item;
    const CColourMap &m_colourMap;
    CPrompt &m_prompt;
    QHash<int, QLineEdit *> m_fields;
};

// The canvas's "アイテム属性..." (command 32799) for the slot `slot` of the page at `row`: the
// page and slot are recorded when the dialog opens and the edit goes to them, wherever the page
// is by then (or nowhere when it is gone). True when the model changed.
bool OpenItemProperties(QWidget *parent, CContentModel &model, CDocumentEdits &edits, int row,
                        int slot, const CColourMap &colourMap, CPrompt &prompt);

} // namespace orin
