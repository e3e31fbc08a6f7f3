// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QList>
#include <QString>

// The page copy document: pages dragged out of the page list travel as a <CopyProgram> text
// that carries the page blocks and every image, text and macro record they use, with the ids of
// the content set they come from. The wrapper and record lines end with CR LF, the lines of the
// page blocks with LF, as the page writer makes them.

namespace orin {

// The ids whose records a copy document carries, in the order their lines are written.
struct CopyDocumentIds {
    QList<int> images;
    QList<int> texts;
    QList<int> macros;
};

// Collects the image, text and macro ids that the pages at `pageIndexes` use, each id once and
// in the order the document lists them; ids that name no record and ids of 0 or below are left
// out. Indexes outside the page table are skipped.
//
// Images: per used slot its pic_no, then for each action string (focus, outfocus, ret, up,
// down, left, right) its "p:" references, then the pictures its "P" entries show when it runs
// with any separator ("P,4:0", "P*4:0"), and then its "$slider" image lists. Texts: per page
// its textid, then per used slot, string by string in the same order, the "t:", "r:", "i:" and
// "s:" references of that string and the texts its T, R, I and S entries name when it runs with
// any separator, and after the seven strings the slot's text_no. Macros: per page its smacro,
// then per used slot and string the "a:" references and the macros its A entries run with any
// separator.
CopyDocumentIds CollectCopyDocumentIds(const CContentModel &model, const QList<int> &pageIndexes);

// The copy document of the pages at `pageIndexes`, in the order given; every file reference is
// absolute. All four sections are present, also when empty.
QString WriteCopyDocument(const CContentModel &model, const QList<int> &pageIndexes);

} // namespace orin
