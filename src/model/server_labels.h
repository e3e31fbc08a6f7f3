// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// What may be edited in the server access mode: the labels of the texts and of the pictures
// that the server lets the operator change, and the label being edited ("[BACKGROUND]" lets the
// page backgrounds change). Content fetched from the server fills them; everything else leaves
// them empty, so that nothing counts as editable there.

namespace orin {

class CContentModel;

inline constexpr char16_t kBackgroundLabel[] = u"[BACKGROUND]";
// The access mode in which a data-broadcast server is the home of the content.
inline constexpr int kServerLabelsAccessMode = 2;

struct ServerLabels {
    QStringList texts;    // labels of editable text records
    QStringList pictures; // labels of editable picture and material records
    QString current;      // the label being edited

    bool IsEmpty() const { return texts.isEmpty() && pictures.isEmpty() && current.isEmpty(); }
};

// Outside the server access mode: always. In it: only while the current label
// is "[BACKGROUND]".
bool IsBackgroundEditable(const CContentModel &model, int modeAccess);
// Outside the server access mode: every text source, also 0. In it: a text record with that id
// whose label is not empty and in the editable-text list (never id 0).
bool IsTextEditable(const CContentModel &model, int modeAccess, int textId);
// Never for 0. Outside the server access mode: every other number. In it: the picture or material
// record with that id (pictures first) whose label is not empty and in the editable-picture
// list.
bool IsPictureEditable(const CContentModel &model, int modeAccess, int imageId);
// Only in the server access mode: the changed flag of the text record (false for 0 or an
// unknown id).
bool IsTextChanged(const CContentModel &model, int modeAccess, int textId);
// Only in the server access mode: the changed flag of the picture or material record.
bool IsPictureChanged(const CContentModel &model, int modeAccess, int imageId);

} // namespace orin
