// SPDX-License-Identifier: MIT
#include "model/server_labels.h"

#include "model/content_model.h"

namespace orin {

namespace {

// The same test as the file commands make: only mode 2 takes its content from the server.
bool ServerMode(int modeAccess)
{
    return modeAccess == kServerLabelsAccessMode;
}

// Ids below 1 name no record: -1 marks the deleted ones.
const CMyTextInfo *FindText(const CContentModel &model, int textId)
{
    return textId > 0 ? model.texts.FindById(textId) : nullptr;
}

const CMyPictureInfo *FindPictureOrMaterial(const CContentModel &model, int imageId)
{
    if (imageId <= 0)
        return nullptr;
    if (const CMyPictureInfo *picture = model.pictures.FindById(imageId))
        return picture;
    return model.materials.FindById(imageId);
}

bool Listed(const QString &label, const QStringList &labels)
{
    return !label.isEmpty() && labels.contains(label);
}

} // namespace

bool IsBackgroundEditable(const CContentModel &model, int modeAccess)
{
    return !ServerMode(modeAccess) || model.serverLabels.current == kBackgroundLabel;
}

bool IsTextEditable(const CContentModel &model, int modeAccess, int textId)
{
    if (!ServerMode(modeAccess))
        return true;
    const CMyTextInfo *text = FindText(model, textId);
    return text && Listed(text->label, model.serverLabels.texts);
}

bool IsPictureEditable(const CContentModel &model, int modeAccess, int imageId)
{
    if (imageId == 0)
        return false;
    if (!ServerMode(modeAccess))
        return true;
    const CMyPictureInfo *record = FindPictureOrMaterial(model, imageId);
    return record && Listed(record->label, model.serverLabels.pictures);
}

bool IsTextChanged(const CContentModel &model, int modeAccess, int textId)
{
    if (!ServerMode(modeAccess))
        return false;
    const CMyTextInfo *text = FindText(model, textId);
    return text && text->changed != 0;
}

bool IsPictureChanged(const CContentModel &model, int modeAccess, int imageId)
{
    if (!ServerMode(modeAccess))
        return false;
    const CMyPictureInfo *record = FindPictureOrMaterial(model, imageId);
    return record && record->changed != 0;
}

} // namespace orin
