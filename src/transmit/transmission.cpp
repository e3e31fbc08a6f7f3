// SPDX-License-Identifier: MIT
#include <QCoreApplication>
#include "transmit/transmission.h"
#include "model/ui_text.h"

namespace orin {

bool HasGeneralImage(const CContentModel &model)
{
    for (const auto &picture : model.pictures) {
        if (picture->type > kImageEmpty)
            return true;
    }
    for (const auto &material : model.materials) {
        if (material->type >= kImageGeneralPng)
            return true;
    }
    return false;
}

TransmitDecision DecideTransmission(const CContentModel &model, int exPng, int modeAccess,
                                    int edition)
{
    TransmitDecision decision;
    const bool exPngOn = exPng != 0;
    switch (edition) {
    case 1:
    case 2:
        if (exPngOn || HasGeneralImage(model))
            decision.refusal = UiText(kGeneralPngMessage);
        break;
    case 3:
        if (!exPngOn && HasGeneralImage(model))
            decision.refusal = UiText(kGeneralPngMessage);
        break;
    default: decision.refusal = UiText(kNoTransmissionMessage); break;
    }
    if (!decision.refusal.isEmpty() || model.pages.Count() == 0)
        return decision;
    if (edition == 1) {
        if (modeAccess == 0) {
            decision.question =
                QCoreApplication::translate("OrinEdit", "データをOFDM変調器に送信しますか？");
            decision.workerMode = kWorkerModulator;
        } else if (modeAccess == 1) {
            decision.question =
                QCoreApplication::translate("OrinEdit", "データを制御ソフトに送信しますか？");
            decision.workerMode = kWorkerControl;
        } else {
            decision.question =
                QCoreApplication::translate("OrinEdit", "データを送信サーバーに送信しますか？");
            decision.workerMode = kWorkerServer;
        }
    } else if (edition == 2) {
        decision.question =
            QCoreApplication::translate("OrinEdit", "データをFTPサーバーに送信しますか？");
        decision.workerMode = kWorkerModulator;
    } else {
        decision.question =
            QCoreApplication::translate("OrinEdit", "データを送信サーバーに送信しますか？");
        decision.workerMode = kWorkerOnline;
    }
    return decision;
}

bool WorkerModeUploads(int workerMode)
{
    return workerMode == kWorkerServer || workerMode == kWorkerOnline;
}

} // namespace orin
