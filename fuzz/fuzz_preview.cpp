// SPDX-License-Identifier: MIT
// The receiver simulation running fuzzed action strings on a fixed content set: three pages of
// four items, three macros and two texts, whose action strings, macros, texts and page timers
// come from the input, then a sequence of remote-control keys, digits, clicks, direct actions,
// page changes and waits with the timers and the posted commands driven. The pictures are a
// 1x1 stub (fast), or decoded for real from a picture file, or files that are missing (the
// placeholder picture). After every step the shown page is a page of the set or a special
// screen, the focus names a shown item (or the page's default item), the picture animations
// are in range, and nothing recursed without end. Each event (a key, a digit, a click, an
// action, a page change, a posted command, a timer) shows the loop message at most once: once
// the guard trips, the chain that tripped it ends.

#include "fuzz_check.h"
#include "fuzz_gui.h"

#include "images/colour_map.h"
#include "preview/action_trace.h"
#include "preview/simulated_clock.h"
#include "preview/work_folder_images.h"

#include <QDir>
#include <QImage>
#include <QPointF>
#include <QString>

#include <fuzzer/FuzzedDataProvider.h>

#include <deque>
#include <memory>

#include <unistd.h>

using namespace orin;

namespace {

// Every picture is the same tiny image: the simulation, not the decoding, is under test.
class CTinyImages : public CImageSource {
public:
    DisplayImage DisplayCopy(const CMyPictureInfo &record) override
    {
        DisplayImage copy;
        copy.type = record.type;
        copy.image = m_image;
        return copy;
    }
    DisplayImage BackgroundCopy(const CMyProgramInfo &, bool) override { return {}; }

private:
    QImage m_image = QImage(1, 1, QImage::Format_ARGB32);
};

// What one event did: the loop messages it showed and the action entries it ran.
class CCountingObserver : public CPreviewObserver, public CActionTraceObserver {
public:
    void ShowMessage(const QString &, const QString &) override { ++messages; }
    void OnTrace(const TraceEvent &event) override
    {
        if (event.kind == TraceKind::Entry)
            ++entries;
    }
    void StartEvent()
    {
        messages = 0;
        entries = 0;
    }
    int messages = 0;
    qint64 entries = 0;
};

// Posted commands wait here; each one run is an event of its own, as on the canvas.
class CStepQueue : public CCommandQueue {
public:
    void Post(const PreviewCommand &command) override { commands.push_back(command); }
    std::deque<PreviewCommand> commands;
};

QString Scratch()
{
    static const QString path =
        FuzzScratchDir() + QStringLiteral("/orin-fuzz-preview-%1").arg(::getpid());
    return path;
}

QString PicturePath()
{
    return Scratch() + QStringLiteral("/picture.png");
}

// How the pictures are had.
enum class Pictures { Stub, Decoded, Missing };

QString TakeString(FuzzedDataProvider &input, size_t maxLength)
{
    const std::string bytes = input.ConsumeRandomLengthString(maxLength);
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

// Small numbers mostly, so that ids meet the content set; now and then any int.
int TakeNumber(FuzzedDataProvider &input, int high)
{
    return input.ConsumeBool() ? input.ConsumeIntegralInRange(-1, high)
                               : input.ConsumeIntegral<int>();
}

void MakeContentSet(FuzzedDataProvider &input, CContentModel &model, Pictures pictures)
{
    for (int p = 1; p <= 3; ++p) {
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = p;
        page->itemCount = 4;
        page->curcol = 1;
        page->backcol = kNoColour;
        page->defitem = 1;
        page->down = p % 3 + 1;
        page->up = (p + 1) % 3 + 1;
        for (int i = 0; i < 4; ++i) {
            PageItem &item = page->items[size_t(i)];
            item.id = i + 1;
            item.idg = i == 3 ? 2 : 0;
            item.x = float(100 * i);
            item.y = 50;
            item.width = 90;
            item.height = 40;
            item.size = 20;
            item.pic_no = i == 0 ? 1 : 0;
            item.text_no = i == 1 ? 1 : 0;
            item.text = QStringLiteral("item");
            item.focus = item.outfocus = QStringLiteral("0");
            item.ret = item.up = item.down = item.left = item.right = QStringLiteral("0");
        }
        model.pages.Add(std::move(page));
    }
    for (int id : {1, 2, 200}) {
        auto picture = std::make_unique<CMyPictureInfo>();
        picture->id = id;
        picture->type = kImageGeneralPng;
        picture->path = pictures == Pictures::Decoded ? PicturePath()
                                                      : Scratch() + QStringLiteral("/missing.png");
        (id < 200 ? model.pictures : model.materials).Add(std::move(picture));
    }
    // The strings the operator would have typed.
    for (int p = 0; p < 2; ++p) {
        CMyProgramInfo &page = *model.pages.At(p);
        for (int i = 0; i < 3; ++i) {
            PageItem &item = page.items[size_t(i)];
            for (QString *action : {&item.focus, &item.outfocus, &item.ret, &item.up, &item.down,
                                    &item.left, &item.right}) {
                if (input.ConsumeBool())
                    *action = TakeString(input, 60);
            }
        }
    }
    for (int id = 1; id <= 3; ++id) {
        auto macro = std::make_unique<CMyMacroInfo>();
        macro->id = id;
        macro->macro = TakeString(input, 120);
        model.macros.Add(std::move(macro));
    }
    for (int id = 1; id <= 2; ++id) {
        auto text = std::make_unique<CMyTextInfo>();
        text->id = id;
        text->text = TakeString(input, 120);
        model.texts.Add(std::move(text));
    }
    // Page fields that start timers, the marquee, the clock and the start macro.
    for (int p = 0; p < 3; ++p) {
        CMyProgramInfo &page = *model.pages.At(p);
        if (!input.ConsumeBool())
            continue;
        page.timer = TakeNumber(input, 3);
        page.timer_item = TakeNumber(input, 3);
        page.timer_ino = TakeNumber(input, 4);
        page.marquee = TakeNumber(input, 4);
        page.marquee_speed = TakeNumber(input, 6);
        page.clock = TakeNumber(input, 4);
        page.defitem = TakeNumber(input, 4);
        page.smacro = TakeNumber(input, 3);
        page.textid = TakeNumber(input, 2);
        page.cursor = TakeNumber(input, 1);
        page.memory = input.ConsumeBool() ? kGuideScreen : TakeNumber(input, 3);
        page.return_ = TakeNumber(input, 4);
        page.back = TakeNumber(input, 4);
        page.data = TakeNumber(input, 4);
        page.blue = input.ConsumeBool() ? kOtherChannelScreen : TakeNumber(input, 4);
    }
}

bool IsShowable(const CContentModel &model, int page)
{
    return IsSpecialScreen(page) || model.pages.FindById(page) != nullptr;
}

void CheckState(const CContentModel &model, const CPreviewEngine &engine)
{
    // The engine starts on page 1 before anything is shown.
    ORIN_FUZZ_CHECK(engine.ShownPageNumber() == 1 || IsShowable(model, engine.ShownPageNumber()));
    ORIN_FUZZ_CHECK(engine.PreviousPageNumber() == 0 || engine.PreviousPageNumber() == 1
                    || IsShowable(model, engine.PreviousPageNumber()));
    ORIN_FUZZ_CHECK(engine.Items().size() <= size_t(kItemSlots));
    const int focus = engine.FocusItem();
    ORIN_FUZZ_CHECK(focus == 0 || focus == engine.Page().defitem || engine.IndexOfItem(focus) >= 0);
    for (int slot = 0; slot < kSliderSlots; ++slot) {
        const SliderSlot &slider = engine.Slider(slot);
        if (!slider.inUse)
            continue;
        ORIN_FUZZ_CHECK(slider.imageIds.size() > 1 && slider.imageIds.size() <= size_t(kTableSize));
        ORIN_FUZZ_CHECK(slider.index >= 0 && size_t(slider.index) < slider.imageIds.size());
        ORIN_FUZZ_CHECK(slider.periodMs >= kMinSliderPeriodMs);
        ORIN_FUZZ_CHECK(CCheckedTable<int>::InRange(slider.itemId));
    }
}

// Runs the events of one step and checks each: `run` is the operator's event; the commands
// it posts follow one by one, each its own event, up to kSettle of them (the rest are dropped,
// as the simulation's drain does).
class CDriver {
public:
    static constexpr int kSettle = 200;

    CDriver(CPreviewEngine &engine, CStepQueue &queue, CCountingObserver &observer)
        : m_engine(engine), m_queue(queue), m_observer(observer)
    {
    }

    template <typename Run>
    void Event(Run run)
    {
        Checked(run);
        int ran = 0;
        while (!m_queue.commands.empty()) {
            if (ran++ >= kSettle) {
                m_queue.commands.clear();
                break;
            }
            const PreviewCommand command = m_queue.commands.front();
            m_queue.commands.pop_front();
            Checked([&] { m_engine.RunCommand(command); });
        }
    }

private:
    template <typename Run>
    void Checked(Run run)
    {
        m_observer.StartEvent();
        run();
        ORIN_FUZZ_CHECK(m_observer.messages <= 1);
    }

    CPreviewEngine &m_engine;
    CStepQueue &m_queue;
    CCountingObserver &m_observer;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::StartGuiApplication(argc, argv);
    QDir().mkpath(Scratch());
    QImage picture(8, 6, QImage::Format_ARGB32);
    picture.fill(QColor(20, 120, 220, 160));
    picture.save(PicturePath(), "PNG");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    CContentModel model;
    ProgramSettings settings;
    settings.TimerMode = input.ConsumeIntegralInRange(0, 3);
    settings.ExPNG = input.ConsumeBool();
    settings.Vertical = input.ConsumeBool();
    const Pictures pictures = Pictures(input.ConsumeIntegralInRange(0, 2));
    MakeContentSet(input, model, pictures);

    static const CColourMap map;
    CTinyImages tiny;
    CWorkFolderImages decoded(map, Scratch() + QStringLiteral("/work"));
    CImageSource &images = pictures == Pictures::Stub ? static_cast<CImageSource &>(tiny)
                                                      : static_cast<CImageSource &>(decoded);
    CCountingObserver observer;
    CSimulatedClock clock;
    CStepQueue queue;
    CPreviewEngine e(model, settings, images, clock, queue);
    e.SetObserver(&observer);
    e.SetTraceObserver(&observer);
    CDriver driver(e, queue, observer);
    driver.Event([&] { e.ShowPage(1); });
    CheckState(model, e);

    for (int step = 0; step < 32 && input.remaining_bytes() > 0; ++step) {
        switch (input.ConsumeIntegralInRange(0, 9)) {
        case 0:
        case 1: {
            static const int kKeys[] = {kKeyEnter, kKeyUp,  kKeyDown,  kKeyLeft,   kKeyRight,
                                        kKeyData,  kKeyBack, kKeyBlue, kKeyRed,    kKeyGreen,
                                        kKeyYellow, kKeyRefresh};
            const int key = kKeys[input.ConsumeIntegralInRange<size_t>(0, std::size(kKeys) - 1)];
            driver.Event([&] { e.PressKey(key); });
            break;
        }
        case 2: {
            const int digit = input.ConsumeIntegralInRange(1, 10);
            driver.Event([&] { e.EnterDigit(digit); });
            break;
        }
        case 3: {
            const QPointF point(input.ConsumeIntegralInRange(-10, 500),
                                input.ConsumeIntegralInRange(-10, 120));
            driver.Event([&] { e.LinkedClick(point); });
            break;
        }
        case 4: {
            const int acting = TakeNumber(input, 4);
            const int kind = input.ConsumeIntegralInRange(0, 1);
            const QString action = TakeString(input, 80);
            driver.Event([&] { e.RunAction(acting, kind, action, 0); });
            break;
        }
        case 5: {
            const int page = input.ConsumeBool() ? TakeNumber(input, 4) : kGuideScreen;
            driver.Event([&] { e.ShowPage(page); });
            break;
        }
        case 6:
            clock.Advance(input.ConsumeIntegralInRange(0, 1500),
                          [&](int id) { driver.Event([&] { e.OnTimer(id); }); });
            break;
        case 7:
            e.SetTimersOn(input.ConsumeBool());
            e.SetLinkedClicks(input.ConsumeBool());
            break;
        case 8: {
            const PreviewCommand command{PreviewCommandKind(input.ConsumeIntegralInRange(0, 7)),
                                         TakeNumber(input, 4), input.ConsumeIntegralInRange(0, 6)};
            driver.Event([&] { e.RunCommand(command); });
            break;
        }
        default:
            driver.Event([&] { e.ResetCanvas(); });
            break;
        }
        CheckState(model, e);
    }
    return 0;
}
