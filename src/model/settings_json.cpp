// SPDX-License-Identifier: MIT
#include "model/settings_json.h"

namespace orin {

QJsonObject SettingsJson(const ProgramSettings &s)
{
    return QJsonObject{
        {QStringLiteral("TransChannel"), s.TransChannel},
        {QStringLiteral("TimerMode"), s.TimerMode},
        {QStringLiteral("CursorSize"), s.CursorSize},
        {QStringLiteral("FileIDName"), s.FileIDName},
        {QStringLiteral("ModeScreen"), s.ModeScreen},
        {QStringLiteral("BackImagePage"), s.BackImagePage},
        {QStringLiteral("ExPNG"), s.ExPNG},
        {QStringLiteral("Vertical"), s.Vertical},
        {QStringLiteral("ConvertAAC"), s.ConvertAAC},
        {QStringLiteral("NumAAC"), s.NumAAC},
        {QStringLiteral("IDConv"), s.IDConv},
        {QStringLiteral("homeID"), s.homeID},
    };
}

} // namespace orin
