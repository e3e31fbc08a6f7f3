// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"
#include "orin_version.h"

#include <QCoreApplication>
#include <QString>

// The rules of the transmission command ("伝送実行"): whether the content may be sent in the
// edition, what the operator is asked, and which work the worker does. Plain functions of the
// edition, the access mode and the content; the frame and the command-line tool show and run
// what they decide.

namespace orin {

inline constexpr char16_t kNoTransmissionMessage[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "本アプリケーションはデータを伝送できません");
inline constexpr char16_t kGeneralPngMessage[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "一般PNGが含まれています。データを伝送できません");
inline constexpr char16_t kRefusalCaption[] = u"ERROR";
inline constexpr char16_t kConfirmCaption[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "データ送信");
// Said when a transmission is asked for while another one still runs.
inline constexpr char16_t kBusyMessage[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "伝送中です。終了してから実行してください");

// What the worker does.
enum WorkerMode : int {
    kWorkerNone = 0,
    kWorkerModulator = 3, // edition 1 with access mode 0, edition 2: nothing is transferred
    kWorkerControl = 10,  // edition 1 with access mode 1: nothing is transferred
    kWorkerServer = 11,   // edition 1 with any other access mode: server upload
    kWorkerOnline = 15,   // edition 3: online upload
};

// True when a picture record has a type above 2 or a material record a type of 3 or more (a
// general PNG or a GIF is registered).
bool HasGeneralImage(const CContentModel &model);

struct TransmitDecision {
    // Shown with caption "ERROR" when not empty; the command stops.
    QString refusal;
    // Asked with caption "データ送信" (Yes/No) before the worker starts, unless auto-send.
    QString question;
    // kWorkerNone when the command stops (refused, or no pages: silently).
    int workerMode = kWorkerNone;
};

// Steps 2 to 4 of the command: the edition's refusal, the general-image check (`exPng` is the
// content's ExPNG), an empty page table, and the question with its worker mode.
TransmitDecision DecideTransmission(const CContentModel &model, int exPng, int modeAccess,
                                    int edition = kEdition);

// True for the worker modes that upload a package (11 and 15).
bool WorkerModeUploads(int workerMode);

} // namespace orin
