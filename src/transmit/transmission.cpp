// SPDX-License-Identifier: MIT
#include "transmit/transmission.h"

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
            decision.refusal = QString::fromUtf16(kGeneralPngMessage);
        break;
    case 3:
        if (!exPngOn && HasGeneralImage(model))
            decision.refusal = QString::fromUtf16(kGeneralPngMessage);
        break;
    default:
        decision.refusal = QString::fromUtf16(kNoTransmissionMessage);
        break;
    }
    if (!decision.refusal.isEmpty() || model.pages.Count() == 0)
        return decision;
    if (edition == 1) {
        if (modeAccess == 0) {
            decision.question = QStringLiteral("データをOFDM変調器に送信しますか？");
            decision.workerMode = kWorkerModulator;
        } else if (modeAccess == 1) {
            decision.question = QStringLiteral("データを制御ソフトに送信しますか？");
            decision.workerMode = kWorkerControl;
        } else {
            decision.question = QStringLiteral("データを送信サーバーに送信しますか？");
            decision.workerMode = kWorkerServer;
        }
    } else if (edition == 2) {
        decision.question = QStringLiteral("データをFTPサーバーに送信しますか？");
        decision.workerMode = kWorkerModulator;
    } else {
        decision.question = QStringLiteral("データを送信サーバーに送信しますか？");
        decision.workerMode = kWorkerOnline;
    }
    return decision;
}

bool WorkerModeUploads(int workerMode)
{
    return workerMode == kWorkerServer || workerMode == kWorkerOnline;
}

} // namespace orin
