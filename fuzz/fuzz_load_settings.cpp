// SPDX-License-Identifier: MIT
// The program's settings read from any settings file: an edition, a work area, then the file.
// LoadSettings only reads, gives the same settings twice, keeps every value in the range the
// program relies on (window positions inside the work area, counters of one byte, the PID of
// 16 bits, strings of at most 255 characters, the fixed hardware kind, the access mode of
// edition 3), and writing back what was read (the keys kept at close, then those of the
// network settings dialog) reads back as the same settings.

#include "fuzz_check.h"

#include "settings/app_settings.h"
#include "settings/ini_store.h"

#include <QDir>
#include <QFile>
#include <QRect>

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>

#include <unistd.h>

using namespace orin;

namespace {

struct IntField {
    const char *name;
    int AppSettings::*member;
};
struct StringField {
    const char *name;
    QString AppSettings::*member;
};

#define F(name) {#name, &AppSettings::name}
const IntField kIntFields[] = {
    F(Hardware), F(Model), F(w_left), F(w_top), F(w_width), F(w_height), F(w_tleft), F(w_ttop),
    F(w_twidth), F(w_theight), F(w_pleft), F(w_ptop), F(w_pwidth), F(w_pheight),
    F(thumb_width), F(thumb_height), F(listwidth), F(bBoxDraw), F(colBox), F(bLabelDraw),
    F(bChangeDraw), F(TAGPID), F(Version), F(VersionDII), F(VersionUpdate), F(data_event_id),
    F(VersionEvent), F(Tar), F(Rendo), F(Timer), F(DefTimer), F(TypeContents),
    F(NumberContents), F(FTPPort), F(FTPDataPort), F(DataPID), F(ModeAccess), F(ModeAction),
    F(PASV1), F(PASV2), F(PASV3), F(PASV4), F(DButton), F(sizeOnlineMAX), F(sizeNetMAX),
    F(sizeMAX), F(ExtraMode), F(FTPConvertPort), F(FTPConvertPortTst), F(modeConvertTo),
    F(FTPPort1), F(FTPPort2), F(FTPPort4), F(FTPUnitID), F(FTPWebPort), F(FTPNetPort),
    F(NullVideo), F(ExPNG), F(Vertical), F(ConvertAAC),
};
const StringField kStringFields[] = {
    F(DefaultFileDir), F(PortableDir), F(ImageDir), F(RecordTime), F(BCML), F(WebPage),
    F(RetPage), F(Webfname), F(Memory), F(FTPAddress), F(FTPDataAddress), F(AccessTitle),
    F(ServerUser), F(ServerPassword), F(FTPConvertAddress), F(FTPConvertUser),
    F(FTPConvertPassword), F(FTPConvertFolder), F(FTPConvertUserTst), F(FTPConvertPasswordTst),
    F(FTPConvertFolderTst), F(FTPAddress1), F(FTPName1), F(FTPPass1), F(FTPAddress2),
    F(FTPName2), F(FTPPass2), F(FTPAddress4), F(FTPName4), F(FTPPass4), F(FTPAddressFTP),
    F(FTPWebAddress), F(FTPWebUser), F(FTPWebPassword), F(FTPWebFolder), F(FTPNetAddress),
    F(FTPNetUser), F(FTPNetPassword), F(ColourMapPath),
};
#undef F

// Written by the store only when it can hold them exactly; the rest legitimately reads back
// otherwise.
bool Holdable(const QString &value)
{
    return IniCanHold(value) && value.size() <= kIniValueMax;
}

// The first field in which the two differ, or nullptr; strings count only when `holdable`
// says the first one can be stored as it is.
const char *FirstDifference(const AppSettings &a, const AppSettings &b, bool onlyHoldable)
{
    for (const IntField &field : kIntFields) {
        if (a.*field.member != b.*field.member)
            return field.name;
    }
    for (const StringField &field : kStringFields) {
        if (onlyHoldable && !Holdable(a.*field.member))
            continue;
        if (a.*field.member != b.*field.member)
            return field.name;
    }
    return nullptr;
}

QString Folder()
{
    static const QString path = FuzzScratchDir() + QStringLiteral("/orin-fuzz-settings-%1").arg(::getpid());
    return path;
}

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void CheckRanges(const AppSettings &s, const QRect &area, int edition)
{
    ORIN_FUZZ_CHECK(s.Hardware == kHardwareKind);
    for (int value : {s.Version, s.VersionDII, s.VersionUpdate, s.data_event_id, s.VersionEvent})
        ORIN_FUZZ_CHECK(value >= 0 && value <= 0xFF);
    ORIN_FUZZ_CHECK(s.TAGPID >= 0 && s.TAGPID <= 0xFFFF);
    // A position beyond the work area (negative, or past its far edge) becomes 0.
    const int right = area.isEmpty() ? INT_MAX : area.x() + area.width();
    const int bottom = area.isEmpty() ? INT_MAX : area.y() + area.height();
    for (int x : {s.w_left, s.w_tleft, s.w_pleft})
        ORIN_FUZZ_CHECK(x == 0 || (x > 0 && x <= right));
    for (int y : {s.w_top, s.w_ttop, s.w_ptop})
        ORIN_FUZZ_CHECK(y == 0 || (y > 0 && y <= bottom));
    if (edition == 3)
        ORIN_FUZZ_CHECK(s.ModeAccess == 2);
    for (const StringField &field : kStringFields) {
        // BCML is resolved against the application folder and may grow by it.
        if (QLatin1String(field.name) != QLatin1String("BCML")
            && QLatin1String(field.name) != QLatin1String("ColourMapPath"))
            ORIN_FUZZ_CHECK((s.*field.member).size() <= kIniValueMax);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int edition = input.ConsumeIntegralInRange(0, 4);
    const QRect area = input.ConsumeBool()
                           ? QRect()
                           : QRect(input.ConsumeIntegralInRange(-100, 100),
                                   input.ConsumeIntegralInRange(-100, 100),
                                   input.ConsumeIntegralInRange(0, 4000),
                                   input.ConsumeIntegralInRange(0, 3000));
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QByteArray bytes(rest.data(), qsizetype(rest.size()));

    QDir().mkpath(Folder());
    const QString path = Folder() + QStringLiteral("/settings.ini");
    {
        QFile file(path);
        ORIN_FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ORIN_FUZZ_CHECK(file.write(bytes) == bytes.size());
    }
    CIniStore store(path);
    const QString appFolder = QStringLiteral("/nonexistent-fuzz-app");
    const AppSettings first = LoadSettings(store, appFolder, area, edition);
    ORIN_FUZZ_CHECK(FileBytes(path) == bytes);
    ORIN_FUZZ_CHECK(FirstDifference(first, LoadSettings(store, appFolder, area, edition), false)
                    == nullptr);
    CheckRanges(first, area, edition);

    // BCML is written back as read, not as resolved; the close settings never write it.
    if (WriteCloseSettings(store, first)) {
        const AppSettings second = LoadSettings(store, appFolder, area, edition);
        ORIN_FUZZ_CHECK(FirstDifference(first, second, true) == nullptr);
        if (WriteNetworkSettings(store, first, edition)) {
            const AppSettings third = LoadSettings(store, appFolder, area, edition);
            ORIN_FUZZ_CHECK(FirstDifference(first, third, true) == nullptr);
        }
    }
    return 0;
}
