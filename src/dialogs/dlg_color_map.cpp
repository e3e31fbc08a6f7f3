// SPDX-License-Identifier: MIT
#include "dialogs/dlg_color_map.h"

#include "dialogs/color_map_grid.h"
#include "document/prompt.h"
#include "model/ui_text.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace orin {

namespace {

constexpr int kCell = 16;
constexpr int kCellsPerRow = 16;
constexpr int kSwatchSide = 48;
// Only these entries are shown in the colour controls: the fixed colours of the default map.
constexpr int kLastShownIndex = 192;
// The lowest start of an edited range: the first 17 entries are never edited.
constexpr int kLowestRangeStart = 17;

QRect CellRect(int index)
{
    return {(index % kCellsPerRow) * kCell, (index / kCellsPerRow) * kCell, kCell, kCell};
}

} // namespace

CDlgColorMap::CDlgColorMap(const CColourMap &map, int selected, int start, int end,
                           CPrompt &prompt, QWidget *parent)
    : QDialog(parent), m_prompt(prompt), m_selected(selected), m_start(start), m_end(end)
{
    setWindowTitle(UiText(kColorMapDialogTitle));
    for (int i = 0; i < 256; ++i)
        m_entries[size_t(i)] = map.ColourOf(i);

    m_grid = new CColorMapGrid(this);
    m_grid->setObjectName(QStringLiteral("grid"));  // 1007
    m_swatch = new QLabel(this);
    m_swatch->setObjectName(QStringLiteral("swatch")); // 1008
    m_swatch->setFixedSize(kSwatchSide, kSwatchSide);
    m_indexBox = new QLineEdit(this);
    m_indexBox->setObjectName(QStringLiteral("colorIndex")); // 1019
    m_indexBox->setReadOnly(true);
    m_indexBox->setMaximumWidth(60);

    auto *channels = new QGridLayout;
    static const char16_t *const kLabels[kChannels] = {u"R", u"G", u"B", u"α"};
    static const char *const kNames[kChannels] = {"R", "G", "B", "Alpha"};
    for (int c = 0; c < kChannels; ++c) {
        auto *label = new QLabel(QString::fromUtf16(kLabels[c]), this);
        auto *trackbar = new QSlider(Qt::Vertical, this);
        trackbar->setObjectName(QStringLiteral("trackbar") + QLatin1String(kNames[c]));
        trackbar->setRange(0, 255);
        // Position 0 at the top, as the value 255 - position puts 255 there.
        trackbar->setInvertedAppearance(true);
        trackbar->setInvertedControls(true);
        trackbar->setMinimumHeight(180);
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("edit") + QLatin1String(kNames[c]));
        edit->setMaximumWidth(44);
        channels->addWidget(label, 0, c, Qt::AlignHCenter);
        channels->addWidget(trackbar, 1, c, Qt::AlignHCenter);
        channels->addWidget(edit, 2, c);
        m_trackbars[size_t(c)] = trackbar;
        m_edits[size_t(c)] = edit;
        connect(trackbar, &QSlider::valueChanged, this,
                [this, c](int position) { OnTrackbarMoved(c, position); });
        connect(edit, &QLineEdit::textChanged, this,
                [this, c](const QString &text) { OnEditChanged(c, text); });
    }

    // The controls of the range edit, created hidden.
    m_startEdit = new QLineEdit(this);
    m_startEdit->setObjectName(QStringLiteral("rangeStart")); // 1020
    m_endEdit = new QLineEdit(this);
    m_endEdit->setObjectName(QStringLiteral("rangeEnd")); // 1021
    auto *tilde = new QLabel(tr("～"), this);
    m_rangeCheck = new QCheckBox(tr("編集範囲変更"), this); // 1023
    m_rangeCheck->setObjectName(QStringLiteral("rangeCheck"));
    m_storeButton = new QPushButton(tr("変更"), this); // 1024
    m_storeButton->setObjectName(QStringLiteral("store"));
    for (QWidget *hidden : {static_cast<QWidget *>(m_startEdit), static_cast<QWidget *>(tilde),
                            static_cast<QWidget *>(m_endEdit),
                            static_cast<QWidget *>(m_rangeCheck),
                            static_cast<QWidget *>(m_storeButton)})
        hidden->hide();
    connect(m_rangeCheck, &QCheckBox::toggled, this, &CDlgColorMap::OnRangeCheck);
    connect(m_storeButton, &QPushButton::clicked, this, &CDlgColorMap::OnStore);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(tr("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *indexRow = new QHBoxLayout;
    indexRow->addWidget(new QLabel(QStringLiteral("ColorIndex"), this));
    indexRow->addWidget(m_indexBox);
    indexRow->addStretch();
    auto *right = new QVBoxLayout;
    right->addLayout(indexRow);
    right->addWidget(m_swatch);
    right->addLayout(channels);
    auto *range = new QHBoxLayout;
    for (QWidget *w : {static_cast<QWidget *>(m_startEdit), static_cast<QWidget *>(tilde),
                       static_cast<QWidget *>(m_endEdit), static_cast<QWidget *>(m_rangeCheck),
                       static_cast<QWidget *>(m_storeButton)})
        range->addWidget(w);
    right->addLayout(range);
    right->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *top = new QHBoxLayout;
    top->addWidget(m_grid, 0, Qt::AlignTop);
    top->addLayout(right);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    connect(m_grid, &CColorMapGrid::Clicked, this, &CDlgColorMap::OnGridClicked);

    PaintGridBitmap();
    m_startEdit->setText(QString::number(m_start));
    m_endEdit->setText(QString::number(m_end));
    m_startEdit->setEnabled(false);
    m_endEdit->setEnabled(false);
    m_indexBox->setText(QString::number(m_selected));
    Select(m_selected);
    DrawGrid();
}

void CDlgColorMap::PaintGridBitmap()
{
    m_gridBitmap = QImage(CColorMapGrid::kSide, CColorMapGrid::kSide, QImage::Format_RGB32);
    m_gridBitmap.fill(Qt::black);
    QPainter painter(&m_gridBitmap);
    for (int index = 0; index < 256; ++index) {
        const ColourEntry &e = m_entries[size_t(index)];
        const QRect cell = CellRect(index);
        painter.fillRect(cell.x(), cell.y(), kCell - 1, kCell - 1, QColor(e.r, e.g, e.b));
    }
}

void CDlgColorMap::DrawGrid()
{
    m_gridPicture = m_gridBitmap;
    QPainter painter(&m_gridPicture);
    painter.setBrush(Qt::NoBrush);
    auto frame = [&painter](int index, const QColor &colour) {
        painter.setPen(colour);
        painter.drawRect(CellRect(index).adjusted(0, 0, -1, -1));
    };
    for (int index = std::max(m_start, 0); index <= std::min(m_end, 255); ++index)
        frame(index, m_modified[size_t(index)] ? QColor(0, 255, 0) : QColor(255, 0, 0));
    if (m_selected >= 0 && m_selected < 256)
        frame(m_selected, Qt::white);
    painter.end();
    m_grid->SetPicture(m_gridPicture);
}

void CDlgColorMap::FillSwatch()
{
    QPixmap swatch(kSwatchSide, kSwatchSide);
    swatch.fill(QColor(m_r, m_g, m_b));
    m_swatch->setPixmap(swatch);
}

void CDlgColorMap::SetColourControlsEnabled(bool enabled)
{
    for (int c = 0; c < kChannels; ++c) {
        m_trackbars[size_t(c)]->setEnabled(enabled);
        m_edits[size_t(c)]->setEnabled(enabled);
    }
}

void CDlgColorMap::Select(int index)
{
    if (index < 0 || index > kLastShownIndex)
        return;
    const ColourEntry &e = m_entries[size_t(index)];
    m_r = e.r;
    m_g = e.g;
    m_b = e.b;
    m_alpha = e.a;
    FillSwatch();
    const int values[kChannels] = {m_r, m_g, m_b, m_alpha};
    m_updating = true;
    for (int c = 0; c < kChannels; ++c) {
        m_trackbars[size_t(c)]->setValue(255 - values[c]);
        m_edits[size_t(c)]->setText(QString::number(values[c]));
    }
    m_updating = false;
    SetColourControlsEnabled(m_start <= index && index <= m_end);
}

void CDlgColorMap::OnGridClicked(QPoint position)
{
    if (m_rangeEdit)
        return;
    // A click beside the grid must not wrap into another row.
    if (position.x() < 0 || position.y() < 0 || position.x() >= CColorMapGrid::kSide
        || position.y() >= CColorMapGrid::kSide)
        return;
    const int index = (position.y() / kCell) * kCellsPerRow + position.x() / kCell;
    if (index >= 256)
        return;
    m_selected = index;
    m_indexBox->setText(QString::number(index));
    Select(index);
    DrawGrid();
}

void CDlgColorMap::SetChannel(int channel, int value)
{
    switch (channel) {
    case kRed: m_r = value; break;
    case kGreen: m_g = value; break;
    case kBlue: m_b = value; break;
    default: m_alpha = value; return;
    }
    FillSwatch();
}

void CDlgColorMap::OnTrackbarMoved(int channel, int position)
{
    if (m_updating || m_rangeEdit)
        return;
    const int value = 255 - position;
    m_updating = true;
    m_edits[size_t(channel)]->setText(QString::number(value));
    m_updating = false;
    SetChannel(channel, value);
}

void CDlgColorMap::OnEditChanged(int channel, const QString &text)
{
    if (m_updating)
        return;
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    // Text that is not a number yet (an emptied box) is ignored like a value out of range.
    if (!ok || value < 0 || value > 255)
        return;
    m_updating = true;
    m_trackbars[size_t(channel)]->setValue(255 - value);
    m_updating = false;
    SetChannel(channel, value);
}

void CDlgColorMap::OnRangeCheck(bool checked)
{
    if (checked) {
        m_rangeEdit = true;
        m_startEdit->setEnabled(true);
        m_endEdit->setEnabled(true);
        SetColourControlsEnabled(false);
        return;
    }
    bool startOk = false;
    bool endOk = false;
    const int start = m_startEdit->text().trimmed().toInt(&startOk);
    const int end = m_endEdit->text().trimmed().toInt(&endOk);
    if (!startOk || !endOk || start < kLowestRangeStart || start > m_end || end < m_start
        || end > 255) {
        m_prompt.MessageBox(UiText(kRangeErrorMessage), tr("エラー"), PromptButtons::Ok);
        const QSignalBlocker blocker(m_rangeCheck);
        m_rangeCheck->setChecked(true);
        return;
    }
    m_start = start;
    m_end = end;
    m_rangeEdit = false;
    m_startEdit->setEnabled(false);
    m_endEdit->setEnabled(false);
    DrawGrid();
    SetColourControlsEnabled(true);
}

void CDlgColorMap::OnStore()
{
    if (m_selected < 0 || m_selected >= 256)
        return;
    m_entries[size_t(m_selected)] = CurrentColour();
    m_modified[size_t(m_selected)] = true;
    PaintGridBitmap();
    DrawGrid();
}

} // namespace orin
