// SPDX-License-Identifier: MIT
#pragma once

#include "images/colour_map.h"

#include <QCoreApplication>
#include <QDialog>
#include <QImage>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

// The colour-index picker "カラーマップ編集": a 16 x 16 grid of colour map entries 0..255, a
// swatch, and R, G, B and α trackbars with edit boxes for the selected entry. The operator picks
// an index; after OK the caller takes SelectedIndex(). The dialog works on a private copy of
// the entries and never writes the colour map.
//
// The range edits, the check box "編集範囲変更" and the button "変更" exist but are hidden, as
// they always have been; their handlers still work on the private copy.

namespace orin {

class CColorMapGrid;
class CPrompt;

inline constexpr char16_t kColorMapDialogTitle[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "カラーマップ編集");
inline constexpr char16_t kRangeErrorMessage[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "指定値に間違いがあります");

class CDlgColorMap : public QDialog {
    Q_OBJECT
public:
    // `selected` is the index shown first, `start` and `end` the range of indexes whose colours
    // may be edited (the colour map's start and end indexes). The prompt shows the range error.
    CDlgColorMap(const CColourMap &map, int selected, int start, int end, CPrompt &prompt,
                 QWidget *parent = nullptr);

    int SelectedIndex() const { return m_selected; }
    int RangeStart() const { return m_start; }
    int RangeEnd() const { return m_end; }
    bool IsRangeEditMode() const { return m_rangeEdit; }
    // The private copy and its modified marks.
    ColourEntry EntryAt(int index) const { return m_entries.at(size_t(index)); }
    bool IsModifiedAt(int index) const { return m_modified.at(size_t(index)); }
    // The current colour and alpha of the controls.
    ColourEntry CurrentColour() const { return {quint8(m_r), quint8(m_g), quint8(m_b), quint8(m_alpha)}; }
    // The grid as drawn (bitmap and frames).
    const QImage &GridPicture() const { return m_gridPicture; }

    // The selected entry's colour into the controls (indexes 0..192 only).
    void Select(int index);

private:
    enum Channel { kRed, kGreen, kBlue, kAlpha, kChannels };

    void PaintGridBitmap();
    void DrawGrid();
    void FillSwatch();
    void SetColourControlsEnabled(bool enabled);
    void OnGridClicked(QPoint position);
    void OnTrackbarMoved(int channel, int position);
    void OnEditChanged(int channel, const QString &text);
    void SetChannel(int channel, int value);
    void OnRangeCheck(bool checked);
    void OnStore();

    CPrompt &m_prompt;
    std::array<ColourEntry, 256> m_entries{};
    std::array<bool, 256> m_modified{};
    int m_selected = 0;
    int m_r = 0;
    int m_g = 0;
    int m_b = 0;
    int m_alpha = 0;
    int m_start = 0;
    int m_end = 0;
    bool m_rangeEdit = false;
    bool m_updating = false;

    QImage m_gridBitmap;
    QImage m_gridPicture;
    CColorMapGrid *m_grid = nullptr;
    QLabel *m_swatch = nullptr;
    std::array<QSlider *, kChannels> m_trackbars{};
    std::array<QLineEdit *, kChannels> m_edits{};
    QLineEdit *m_indexBox = nullptr;
    QLineEdit *m_startEdit = nullptr;
    QLineEdit *m_endEdit = nullptr;
    QCheckBox *m_rangeCheck = nullptr;
    QPushButton *m_storeButton = nullptr;
};

} // namespace orin
