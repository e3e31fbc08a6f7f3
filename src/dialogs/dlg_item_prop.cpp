// SPDX-License-Identifier: MIT
#include "dialogs/dlg_item_prop.h"

#include "dialogs/dlg_color_map.h"
#include "dialogs/number_fields.h"
#include "document/document_edits.h"
#include "images/colour_map.h"
#include "model/ui_text.h"

#include <QCoreApplication>
#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolTip>

namespace orin {

namespace {

constexpr int kTipMargin = 5;
const QList<int> kNumberFields = {1025, 1026, 1027, 1028, 1029, 1031, 1032, 1037, 1038};
// X and Y may be negative (an item partly off the page); width and height may not.
const QList<int> kPositionFields = {1021, 1022};
const QList<int> kSizeFields = {1023, 1024};

int NumberOf(const QLineEdit *field)
{
    return field ? ParseNumberField(field->text()).value_or(0) : 0;
}

float GeometryOf(const QLineEdit *field, bool signedValue)
{
    return field ? ParseGeometryField(field->text(), signedValue).value_or(0) : 0;
}

} // namespace

QString WordWrapTip()
{
    return QCoreApplication::translate("OrinEdit",
                                       "数字の１の位で以下の指定ができます。\n"
                                       "   0：なし\n"
                                       "   1：ワードラップ\n"
                                       "   2：文字のボールド指定\n"
                                       "   3：ワードラッドプ、ボールド\n"
                                       "   4：イタリック体指定\n"
                                       "   5：ワードラップ、イタリック\n"
                                       "   6：ボールド、イタリック\n"
                                       "   7：ワードラップ、ボールド、イタリック\n"
                                       " 数字の１0の位でフォント番号の指定ができます。\n"
                                       " あらかじめ、HTML5のソースで、\n"
                                       " Tessaro.util.fontfamily1～Tessaro.util.fontfamily5の  \n"
                                       " ５つにフォント名を入れて指定します。\n");
}

QString ItemModeTip()
{
    return QCoreApplication::translate("OrinEdit",
                                       "アイテムを以下の専用モードにします。\n"
                                       "  0:　一般アイテム\n"
                                       "  1:　カーソル専用アイテム\n"
                                       "  2:　テキスト表示専用アイテム\n"
                                       "  3:　テキスト表示専用アイテム(センタリング)\n"
                                       "  4:  一般アイテム(非表示)\n"
                                       "  5:  テキスト表示専用アイテム(行間24px)\n"
                                       "  6:  テキスト表示専用アイテム(行間28px)\n"
                                       "  7:  テキスト表示専用アイテム(行間32px)\n"
                                       "  50～54:  画像を1/2,1/3,1/4,1/6,1/8で表示          \n"
                                       "  100～　： 専用アイテムのユーザ拡張");
}

CDlgItemProp::CDlgItemProp(const PageItem &item, const CColourMap &colourMap, CPrompt &prompt,
                           QWidget *parent)
    : QDialog(parent), m_item(item), m_colourMap(colourMap), m_prompt(prompt)
{
    setWindowTitle(UiText(kItemPropTitle));
    auto *grid = new QGridLayout(this);
    int line = 0;
    auto number = [](int v) { return QString::number(v); };
    // Geometry is shown as stored, fractions and negative positions included, so that OK
    // without a change keeps it.
    auto geometry = [](float v) { return FormatGeometry(v); };
    auto row = [&](const QString &label, QLineEdit *field, QWidget *extra = nullptr) {
        grid->addWidget(new QLabel(label, this), line, 0);
        grid->addWidget(field, line, 1);
        if (extra)
            grid->addWidget(extra, line, 2);
        ++line;
    };
    auto colourButton = [&](int buttonId, int fieldId) {
        auto *button = new QPushButton(QStringLiteral("..."), this);
        button->setProperty("controlId", buttonId);
        connect(button, &QPushButton::clicked, this, [this, fieldId] { PickColour(fieldId); });
        return button;
    };

    QLineEdit *id = AddField(1020, number(item.id));
    id->setReadOnly(true);
    row(tr("アイテムID"), id);
    row(QStringLiteral("X"), AddField(1021, geometry(item.x)));
    row(QStringLiteral("Y"), AddField(1022, geometry(item.y)));
    row(QStringLiteral("Width"), AddField(1023, geometry(item.width)));
    row(QStringLiteral("Height"), AddField(1024, geometry(item.height)));
    QLineEdit *color = AddField(1025, number(item.color));
    QPushButton *colorButton = colourButton(1107, 1025);
    row(tr("テキスト色"), color, colorButton);
    row(tr("テキストサイズ"), AddField(1026, number(item.size)));
    QLineEdit *bcolor = AddField(1027, number(item.bcolor));
    QPushButton *bcolorButton = colourButton(1108, 1027);
    row(tr("背景色"), bcolor, bcolorButton);
    row(tr("文字フォント\n(WorWrap)"), AddField(1028, number(item.wordwrap)));
    row(tr("専用アイテム"), AddField(1029, number(item.idg)));
    row(tr("アクション(決定)"), AddField(1030, item.ret));
    grid->addWidget(new QLabel(tr("マージン"), this), line++, 0);
    row(QStringLiteral("X"), AddField(1031, number(item.margin_x)));
    row(QStringLiteral("Y"), AddField(1032, number(item.margin_y)));
    row(QStringLiteral("↑"), AddField(1033, item.up));
    row(QStringLiteral("↓"), AddField(1034, item.down));
    row(QStringLiteral("←"), AddField(1035, item.left));
    row(QStringLiteral("→"), AddField(1036, item.right));
    row(QStringLiteral("Picture No."), AddField(1037, number(item.pic_no)));
    row(QStringLiteral("Text No."), AddField(1038, number(item.text_no)));
    grid->addWidget(
        new QLabel(tr("座標系はハイビジョン1920×1080(1080×1920）の半分の値になります。"), this),
        line++, 0, 1, 3);
    grid->addWidget(new QLabel(tr("画像のサイズはWidth,Heightの2倍の値になります。"), this), line++,
                    0, 1, 3);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, line, 0, 1, 3);

    // Tab order: the fields by control number, each colour button after its field.
    QList<QWidget *> order;
    for (int control = 1020; control <= 1038; ++control) {
        order.append(m_fields.value(control));
        if (control == 1025)
            order.append(colorButton);
        if (control == 1027)
            order.append(bcolorButton);
    }
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));

    // The tips follow the mouse over the whole dialog.
    setMouseTracking(true);
    const QList<QWidget *> children = findChildren<QWidget *>();
    for (QWidget *child : children) {
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }
    installEventFilter(this);
}

QLineEdit *CDlgItemProp::AddField(int controlId, const QString &value)
{
    auto *field = new QLineEdit(value, this);
    field->setProperty("controlId", controlId);
    m_fields.insert(controlId, field);
    return field;
}

QString CDlgItemProp::TipAt(QPoint dialogPoint) const
{
    const struct {
        int id;
        QString (*tip)();
    } tips[] = {{1028, &WordWrapTip}, {1029, &ItemModeTip}};
    for (const auto &entry : tips) {
        const QLineEdit *field = Field(entry.id);
        const QRect rect(field->mapTo(this, QPoint(0, 0)), field->size());
        if (rect.adjusted(-kTipMargin, -kTipMargin, kTipMargin, kTipMargin).contains(dialogPoint))
            return entry.tip();
    }
    return {};
}

bool CDlgItemProp::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        const QPoint global = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        const QString tip = TipAt(mapFromGlobal(global));
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(global + QPoint(16, 16), tip, this);
    }
    return QDialog::eventFilter(watched, event);
}

void CDlgItemProp::PickColour(int fieldId)
{
    QLineEdit *field = Field(fieldId);
    if (!field)
        return;
    const int current = ParseNumberField(field->text()).value_or(0);
    CDlgColorMap picker(m_colourMap, std::clamp(current, 0, 255), m_colourMap.startIndex,
                        m_colourMap.endIndex, m_prompt, this);
    if (picker.exec() == QDialog::Accepted)
        field->setText(QString::number(picker.SelectedIndex()));
}

PageItem CDlgItemProp::Item() const
{
    PageItem item = m_item; // focus, outfocus, parent and text stay
    item.x = GeometryOf(Field(1021), true);
    item.y = GeometryOf(Field(1022), true);
    item.width = GeometryOf(Field(1023), false);
    item.height = GeometryOf(Field(1024), false);
    item.color = NumberOf(Field(1025));
    item.size = NumberOf(Field(1026));
    item.bcolor = NumberOf(Field(1027));
    item.wordwrap = NumberOf(Field(1028));
    item.idg = NumberOf(Field(1029));
    item.ret = Field(1030)->text();
    item.margin_x = NumberOf(Field(1031));
    item.margin_y = NumberOf(Field(1032));
    item.up = Field(1033)->text();
    item.down = Field(1034)->text();
    item.left = Field(1035)->text();
    item.right = Field(1036)->text();
    item.pic_no = NumberOf(Field(1037));
    item.text_no = NumberOf(Field(1038));
    return item;
}

void CDlgItemProp::accept()
{
    auto fields = [this](const QList<int> &ids) {
        QList<QLineEdit *> found;
        for (const int id : ids)
            found.append(Field(id));
        return found;
    };
    // In the order of the dialog: the geometry first.
    if (CheckGeometryFields(fields(kPositionFields), true, m_prompt)
        && CheckGeometryFields(fields(kSizeFields), false, m_prompt)
        && CheckNumberFields(fields(kNumberFields), m_prompt))
        QDialog::accept();
}

bool OpenItemProperties(QWidget *parent, CContentModel &model, CDocumentEdits &edits, int row,
                        int slot, const CColourMap &colourMap, CPrompt &prompt)
{
    if (!model.pages.IsValidIndex(row) || slot < 0 || slot >= kItemSlots)
        return false;
    const CMyProgramInfo &page = *model.pages.At(row);
    const quint64 serial = page.serial.Value();
    CDlgItemProp dialog(page.items[static_cast<size_t>(slot)], colourMap, prompt, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    // A page timer may have changed the shown page meanwhile: the edit goes to the page the
    // dialog was opened for.
    for (int now = 0; now < model.pages.Count(); ++now) {
        if (model.pages.At(now)->serial.Value() == serial)
            return edits.SetItem(now, slot, dialog.Item());
    }
    return false;
}

} // namespace orin
