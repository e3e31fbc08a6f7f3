// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QCoreApplication>
#include <QList>
#include <QStringView>

// Data slimming: pictures and materials that no item and no macro refers to any more are
// removed from the model, so that they stop counting against the size limit.

namespace orin {

// The question asked before slimming (the line break and the five blanks belong to it) and its
// caption.
inline constexpr QStringView kSlimQuestion = u"" QT_TRANSLATE_NOOP(
    "OrinEdit",
    "アイテム削除などで参照されなくなった画像を削除してスリム化します。\n     データをスリム化しますか？");
inline constexpr QStringView kSlimCaption = u"" QT_TRANSLATE_NOOP("OrinEdit", "データ送信");

// One record removed by slimming.
struct RemovedImage {
    int id = 0;
    bool material = false; // false: picture table, true: material table
};

// Removes every picture and material record with an id in 1..255 that is neither the pic_no of
// a used item slot nor referenced in one of the seven action strings of a used slot or in a macro
// text: by "p:"/"P:" anywhere an entry begins, or by any image entry that the string runs as the
// preview reads it ("P,4:0" and "P*4:0" name picture 4 too; a macro is read as a whole and
// section by section). Ids are handled in ascending order, for each the picture table before the
// material table; records with ids outside 1..255 are never removed. Returns the removed records
// in removal order. Files on disk stay; the used size and the modified flag are the caller's.
QList<RemovedImage> SlimUnusedImages(CContentModel &model);

} // namespace orin
