// SPDX-License-Identifier: MIT
// The receiver simulation and the page canvas from the command line: the same engine and
// renderer as the editor, on a simulated clock.
#include "cli/cli_preview.h"

#include "cli/cli_project.h"
#include "images/colour_map.h"
#include "settings/app_settings.h"
#include "preview/page_renderer.h"
#include "preview/simulated_clock.h"
#include "preview/work_folder_images.h"

#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace orin::cli {

namespace {

// One token of --keys.
struct KeyStep {
    enum Kind { Key, Digit, Click, Wait } kind = Key;
    QString token;
    int value = 0;
    QPointF point;
};

std::optional<KeyStep> ParseKey(const QString &token)
{
    static const QHash<QString, int> keys = {
        {QStringLiteral("enter"), kKeyEnter},   {QStringLiteral("up"), kKeyUp},
        {QStringLiteral("down"), kKeyDown},     {QStringLiteral("left"), kKeyLeft},
        {QStringLiteral("right"), kKeyRight},   {QStringLiteral("d"), kKeyData},
        {QStringLiteral("back"), kKeyBack},     {QStringLiteral("blue"), kKeyBlue},
        {QStringLiteral("red"), kKeyRed},       {QStringLiteral("green"), kKeyGreen},
        {QStringLiteral("yellow"), kKeyYellow}, {QStringLiteral("refresh"), kKeyRefresh},
    };
    KeyStep step;
    step.token = token;
    if (const auto it = keys.find(token); it != keys.end()) {
        step.value = it.value();
        return step;
    }
    const QStringList parts = token.split(u':');
    bool ok = false;
    if (parts.size() == 2 && parts[0] == u"digit") {
        step.kind = KeyStep::Digit;
        step.value = parts[1].toInt(&ok);
        if (ok && step.value >= 1 && step.value <= 10)
            return step;
    } else if (parts.size() == 2 && parts[0] == u"wait") {
        step.kind = KeyStep::Wait;
        step.value = parts[1].toInt(&ok);
        if (ok && step.value >= 0)
            return step;
    } else if (parts.size() == 3 && parts[0] == u"click") {
        bool okY = false;
        step.kind = KeyStep::Click;
        step.point = QPointF(parts[1].toDouble(&ok), parts[2].toDouble(&okY));
        if (ok && okY)
            return step;
    }
    return std::nullopt;
}

class CMessageLog : public CPreviewObserver {
public:
    void ShowMessage(const QString &text, const QString &) override { messages.append(text); }
    QStringList messages;
};

// The action trace of one step.
class CTraceLog : public CActionTraceObserver {
public:
    void OnTrace(const TraceEvent &event) override { events.push_back(event); }
    std::vector<TraceEvent> events;
};

const QString kUnsettled = QStringLiteral("stopped after 10000 posted commands");

// A loaded content set with the simulation running on it.
class CPreviewRun {
public:
    // Parses the common options, loads the file and shows the first page; returns an exit
    // status, kExitOk when the run is ready.
    int Start(const QString &file, const QString &pageText, const QString &keysText,
              QTime clock, Streams io)
    {
        if (!keysText.isEmpty()) {
            const QStringList tokens = keysText.split(u',');
            for (const QString &token : tokens) {
                const std::optional<KeyStep> step = ParseKey(token.trimmed());
                if (!step) {
                    io.err << "unknown key: " << token << '\n';
                    return kExitUsage;
                }
                m_steps.push_back(*step);
            }
        }
        if (project.Load(file, io) != kExitOk)
            return kExitFileError;
        int page = 0;
        if (!pageText.isEmpty()) {
            bool ok = false;
            page = pageText.toInt(&ok);
            if (!ok) {
                io.err << "not a page number: " << pageText << '\n';
                return kExitUsage;
            }
        } else if (project.model.pages.Count() > 0) {
            page = project.model.pages.At(0)->id;
        }
        if (page <= 0 || project.model.pages.IndexOfId(page) < 0) {
            io.err << "no such page: " << page << '\n';
            return kExitFileError;
        }
        QString why;
        // The colour map the editor would use: default.clt beside the program, else in the
        // per-user data folder that stands in for it.
        const QString appFolder = QCoreApplication::applicationDirPath();
        if (!LoadStartupColourMap(map, appFolder, SettingsFolder(appFolder), &why))
            io.err << why << '\n';
        images = std::make_unique<CWorkFolderImages>(map, m_work.path());
        sim = std::make_unique<CSimulation>(project.model, project.settings, *images, clock);
        sim->engine.SetObserver(&log);
        sim->engine.SetLinkedClicks(true);
        sim->engine.SetTimersOn(true);
        m_page = page;
        return kExitOk;
    }

    // Shows the page and runs the keys; `report` is called after the start and each step.
    void Run(const std::function<void(const QString &step)> &report)
    {
        sim->engine.ShowPage(m_page);
        Settle(sim->Settle());
        report(QStringLiteral("start"));
        for (const KeyStep &step : m_steps) {
            log.messages.clear();
            trace.events.clear();
            bool settled = true;
            switch (step.kind) {
            case KeyStep::Key:
                sim->engine.PressKey(step.value);
                settled = sim->Settle();
                break;
            case KeyStep::Digit:
                sim->engine.EnterDigit(step.value);
                settled = sim->Settle();
                break;
            case KeyStep::Click:
                sim->engine.LinkedClick(step.point);
                settled = sim->Settle();
                break;
            case KeyStep::Wait:
                settled = sim->Wait(step.value);
                break;
            }
            Settle(settled);
            report(step.token);
        }
    }

    CLoadedProject project;
    CColourMap map;
    std::unique_ptr<CWorkFolderImages> images;
    std::unique_ptr<CSimulation> sim;
    CMessageLog log;
    CTraceLog trace;

private:
    void Settle(bool settled)
    {
        if (!settled)
            log.messages.append(kUnsettled);
    }

    QTemporaryDir m_work;
    std::vector<KeyStep> m_steps;
    int m_page = 0;
};

// Takes "--name value" out of args; empty when absent. False when the value is missing.
bool TakeOption(QStringList &args, const QString &name, QString &value)
{
    const qsizetype at = args.indexOf(name);
    if (at < 0)
        return true;
    if (at + 1 >= args.size())
        return false;
    value = args.at(at + 1);
    args.remove(at, 2);
    return true;
}

bool TakeFlag(QStringList &args, const QString &name)
{
    return args.removeAll(name) > 0;
}

QJsonArray TraceJson(const std::vector<TraceEvent> &events)
{
    QJsonArray trace;
    for (const TraceEvent &event : events) {
        QJsonObject o{{QStringLiteral("depth"), event.depth},
                      {QStringLiteral("event"), TraceKindName(event.kind)},
                      {QStringLiteral("text"), FormatTraceEvent(event)}};
        if (event.kind == TraceKind::Entry) {
            o.insert(QStringLiteral("action"), event.text);
            o.insert(QStringLiteral("entry"), event.text.mid(event.entryStart, event.entryLength));
            o.insert(QStringLiteral("entryStart"), event.entryStart);
        }
        trace.append(o);
    }
    return trace;
}

QJsonObject StateJson(const CPreviewEngine &e, const QString &step, const QStringList &messages)
{
    QJsonArray items;
    for (const DisplayItem &entry : e.Items()) {
        const PageItem &item = entry.item;
        items.append(QJsonObject{
            {QStringLiteral("id"), item.id},
            {QStringLiteral("visible"), e.IsVisible(item.id)},
            {QStringLiteral("pic"), e.PictureNumber(item.id)},
            {QStringLiteral("text"), item.text},
            {QStringLiteral("textState"), e.TextState(item.id)},
            {QStringLiteral("bcolor"), item.bcolor},
            {QStringLiteral("color"), item.color},
            {QStringLiteral("x"), double(item.x)},
            {QStringLiteral("y"), double(item.y)},
            {QStringLiteral("w"), double(item.width)},
            {QStringLiteral("h"), double(item.height)},
        });
    }
    return QJsonObject{
        {QStringLiteral("step"), step},
        {QStringLiteral("page"), e.ShownPageNumber()},
        {QStringLiteral("focus"), e.FocusItem()},
        {QStringLiteral("input"), e.Input()},
        {QStringLiteral("messages"), QJsonArray::fromStringList(messages)},
        {QStringLiteral("items"), items},
    };
}

QString Quoted(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'"', QStringLiteral("\\\""));
    text.replace(u'\r', QStringLiteral("\\r"));
    text.replace(u'\n', QStringLiteral("\\n"));
    return u'"' + text + u'"';
}

void PrintReadable(QTextStream &out, const CPreviewEngine &e, const QString &step,
                   const QStringList &messages, const std::vector<TraceEvent> &trace)
{
    out << "[" << step << "] page " << e.ShownPageNumber() << ", focus " << e.FocusItem()
        << ", input " << Quoted(e.Input()) << '\n';
    for (const TraceEvent &event : trace)
        out << "  trace: " << QString(2 * event.depth, u' ') << FormatTraceEvent(event) << '\n';
    for (const QString &message : messages)
        out << "  message: " << message << '\n';
    for (const DisplayItem &entry : e.Items()) {
        const PageItem &item = entry.item;
        out << "  item " << item.id << (e.IsVisible(item.id) ? "" : " hidden") << " pic "
            << e.PictureNumber(item.id) << " text " << Quoted(item.text) << " state "
            << e.TextState(item.id) << " bcolor " << item.bcolor << " color " << item.color
            << " at " << item.x << "," << item.y << " " << item.width << "x" << item.height
            << '\n';
    }
}

} // namespace

int Simulate(const QStringList &argsIn, Streams io)
{
    QStringList args = argsIn;
    QString page;
    QString keys;
    QString clockText;
    if (!TakeOption(args, QStringLiteral("--page"), page)
        || !TakeOption(args, QStringLiteral("--keys"), keys)
        || !TakeOption(args, QStringLiteral("--clock"), clockText)) {
        io.err << "an option lacks its value\n";
        return kExitUsage;
    }
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    const bool traced = TakeFlag(args, QStringLiteral("--trace"));
    if (args.size() != 1) {
        io.err << "simulate takes one FILE\n";
        return kExitUsage;
    }
    QTime clock(12, 0);
    if (!clockText.isEmpty()) {
        clock = QTime::fromString(clockText, QStringLiteral("HH:mm"));
        if (!clock.isValid()) {
            io.err << "not a time (HH:MM): " << clockText << '\n';
            return kExitUsage;
        }
    }
    CPreviewRun run;
    if (const int code = run.Start(args.first(), page, keys, clock, io); code != kExitOk)
        return code;
    if (traced)
        run.sim->engine.SetTraceObserver(&run.trace);
    run.Run([&](const QString &step) {
        const CPreviewEngine &e = run.sim->engine;
        if (json) {
            QJsonObject state = StateJson(e, step, run.log.messages);
            if (traced)
                state.insert(QStringLiteral("trace"), TraceJson(run.trace.events));
            io.out << QJsonDocument(state).toJson(QJsonDocument::Compact) << '\n';
        } else {
            PrintReadable(io.out, e, step, run.log.messages, run.trace.events);
        }
    });
    return kExitOk;
}

int Render(const QStringList &argsIn, Streams io)
{
    QStringList args = argsIn;
    QString page;
    QString keys;
    QString sizeText;
    if (!TakeOption(args, QStringLiteral("--page"), page)
        || !TakeOption(args, QStringLiteral("--keys"), keys)
        || !TakeOption(args, QStringLiteral("--size"), sizeText)) {
        io.err << "an option lacks its value\n";
        return kExitUsage;
    }
    const bool frames = TakeFlag(args, QStringLiteral("--frames"));
    if (args.size() != 2) {
        io.err << "render takes FILE and OUT.png\n";
        return kExitUsage;
    }
    QSize size(1920, 1080);
    if (!sizeText.isEmpty()) {
        const QStringList parts = sizeText.toLower().split(u'x');
        bool okW = false;
        bool okH = false;
        if (parts.size() == 2)
            size = QSize(parts[0].toInt(&okW), parts[1].toInt(&okH));
        if (!okW || !okH || size.width() < 1 || size.height() < 1 || size.width() > 16384
            || size.height() > 16384) {
            io.err << "not a size (WxH, 1 to 16384): " << sizeText << '\n';
            return kExitUsage;
        }
    }
    CPreviewRun run;
    if (const int code = run.Start(args.first(), page, keys, QTime(12, 0), io); code != kExitOk)
        return code;
    run.Run([](const QString &) {});
    CPageRenderer renderer(run.map, run.project.model);
    FrameToggles toggles;
    toggles.itemFrames = frames;
    renderer.SetFrameToggles(toggles);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        renderer.Paint(painter, size, run.sim->engine);
    }
    // Compression level 1 of zlib (quality 85): drawing the page, not squeezing the file,
    // takes the time.
    QImageWriter writer(args.at(1), "PNG");
    writer.setQuality(85);
    if (!writer.write(image)) {
        io.err << "cannot write " << args.at(1) << '\n';
        return kExitFileError;
    }
    return kExitOk;
}

} // namespace orin::cli
