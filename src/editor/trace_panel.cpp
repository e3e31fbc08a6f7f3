// SPDX-License-Identifier: MIT
#include "editor/trace_panel.h"

#include "editor/graph_view.h"
#include "editor/qt_preview_seams.h"
#include "preview/preview_engine.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

namespace orin {

namespace {

constexpr int kMaxLines = 5000;

QString KeyCaption(int code)
{
    switch (code) {
    case kKeyEnter: return QCoreApplication::translate("OrinEdit", "決定");
    case kKeyUp: return QStringLiteral("↑");
    case kKeyDown: return QStringLiteral("↓");
    case kKeyLeft: return QStringLiteral("←");
    case kKeyRight: return QStringLiteral("→");
    case kKeyData: return QCoreApplication::translate("OrinEdit", "ｄ");
    case kKeyBack: return QCoreApplication::translate("OrinEdit", "戻る");
    case kKeyBlue: return QCoreApplication::translate("OrinEdit", "青");
    case kKeyRed: return QCoreApplication::translate("OrinEdit", "赤");
    case kKeyGreen: return QCoreApplication::translate("OrinEdit", "緑");
    case kKeyYellow: return QCoreApplication::translate("OrinEdit", "黄");
    case kKeyRefresh: return QStringLiteral("Refresh");
    default: return QString::number(code);
    }
}

QString TimerCaption(int id)
{
    switch (id) {
    case kPageTimer: return QCoreApplication::translate("OrinEdit", "ページタイマー");
    case kMarqueeTimer: return QCoreApplication::translate("OrinEdit", "マーキー");
    case kClockTimer: return QCoreApplication::translate("OrinEdit", "時計");
    case kItemTimer: return QCoreApplication::translate("OrinEdit", "アイテムタイマー");
    default:
        return QCoreApplication::translate("OrinEdit", "スライダー %1").arg(id - kSliderTimerBase);
    }
}

} // namespace

QString TraceText(const TraceEvent &e, bool html)
{
    auto text = [html](const QString &s) { return html ? s.toHtmlEscaped() : s; };
    const QString item = QCoreApplication::translate("OrinEdit", "アイテム %1 ").arg(e.id);
    switch (e.kind) {
    case TraceKind::Key: return QCoreApplication::translate("OrinEdit", "キー ") + KeyCaption(e.id);
    case TraceKind::Digit: return QCoreApplication::translate("OrinEdit", "数字 %1").arg(e.value);
    case TraceKind::Click:
        return QCoreApplication::translate("OrinEdit", "クリック アイテム %1").arg(e.id);
    case TraceKind::Tick:
        return TimerCaption(e.id) + QCoreApplication::translate("OrinEdit", " のティック");
    case TraceKind::Macro:
        return QCoreApplication::translate("OrinEdit", "マクロ %1 を実行（セクション %2）")
            .arg(e.id)
            .arg(e.value);
    case TraceKind::Entry: {
        const QString before = e.text.left(e.entryStart);
        const QString entry = e.text.mid(e.entryStart, e.entryLength);
        const QString after = e.text.mid(e.entryStart + e.entryLength);
        if (!html)
            return QCoreApplication::translate("OrinEdit", "アクション %1[%2]%3")
                .arg(before, entry, after);
        return QCoreApplication::translate(
                   "OrinEdit", "アクション %1<b style=\"background-color:#ffe27a\">%2</b>%3")
            .arg(text(before), text(entry), text(after));
    }
    case TraceKind::PageShown:
        return QCoreApplication::translate("OrinEdit", "ページ %1 を表示").arg(e.id);
    case TraceKind::Focus:
        return QCoreApplication::translate("OrinEdit", "アイテム %1 にフォーカス").arg(e.id);
    case TraceKind::Text:
        return item + QCoreApplication::translate("OrinEdit", "のテキスト「%1」").arg(text(e.text));
    case TraceKind::Picture:
        return item + QCoreApplication::translate("OrinEdit", "の画像 %1").arg(e.value);
    case TraceKind::Colour:
        return item + QCoreApplication::translate("OrinEdit", "の背景色 %1").arg(e.value);
    case TraceKind::TextColour:
        return item + QCoreApplication::translate("OrinEdit", "の文字色 %1").arg(e.value);
    case TraceKind::Visibility:
        return item
               + (e.value ? QCoreApplication::translate("OrinEdit", "を表示")
                          : QCoreApplication::translate("OrinEdit", "を非表示"));
    case TraceKind::Register:
        return QCoreApplication::translate("OrinEdit", "メモリ %1 =「%2」")
            .arg(e.id)
            .arg(text(e.text));
    case TraceKind::Input:
        return QCoreApplication::translate("OrinEdit", "入力バッファ =「%1」").arg(text(e.text));
    case TraceKind::Moved: return item + text(e.text);
    case TraceKind::TimerStarted:
        return TimerCaption(e.id)
               + QCoreApplication::translate("OrinEdit", " 開始（%1 ms）").arg(e.value);
    case TraceKind::TimerStopped:
        return TimerCaption(e.id) + QCoreApplication::translate("OrinEdit", " 停止");
    case TraceKind::Posted: return text(FormatTraceEvent(e));
    case TraceKind::Message:
        return QCoreApplication::translate("OrinEdit", "メッセージ「%1」").arg(text(e.text));
    }
    return QString();
}

CTracePanel::CTracePanel(CGraphView &canvas, QWidget *parent)
    : QWidget(parent), m_canvas(&canvas)
{
    setObjectName(QStringLiteral("CTracePanel"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *buttons = new QHBoxLayout;
    m_pause = new QPushButton(tr("タイマー一時停止"), this);
    m_pause->setCheckable(true);
    m_step = new QPushButton(tr("1ティック進める"), this);
    m_step->setEnabled(false);
    m_clear = new QPushButton(tr("クリア"), this);
    buttons->addWidget(m_pause);
    buttons->addWidget(m_step);
    buttons->addWidget(m_clear);
    buttons->addStretch();
    layout->addLayout(buttons);
    m_view = new QTextBrowser(this);
    m_view->setOpenLinks(false);
    // A long session with running timers keeps only its latest lines.
    m_view->document()->setMaximumBlockCount(kMaxLines);
    layout->addWidget(m_view);

    connect(m_pause, &QPushButton::toggled, this, [this](bool on) {
        if (m_canvas)
            m_canvas->TimerService().SetPaused(on);
        m_step->setEnabled(on);
    });
    connect(m_step, &QPushButton::clicked, this, [this] {
        if (m_canvas)
            m_canvas->TimerService().StepOneTick();
    });
    connect(m_clear, &QPushButton::clicked, this, &CTracePanel::Clear);
}

CTracePanel::~CTracePanel()
{
    SetListening(false);
    if (m_canvas)
        m_canvas->TimerService().SetPaused(false);
}

void CTracePanel::SetListening(bool on)
{
    m_listening = on;
    if (!m_canvas)
        return;
    CPreviewEngine &engine = m_canvas->Engine();
    if (on)
        engine.SetTraceObserver(this);
    else if (engine.TraceObserver() == this)
        engine.SetTraceObserver(nullptr);
}

void CTracePanel::OnTrace(const TraceEvent &event)
{
    m_lines << QString(2 * event.depth, u' ') + TraceText(event, false);
    if (m_lines.size() > kMaxLines)
        m_lines.removeFirst();
    // What the operator or a timer did starts a step in bold; what followed is indented.
    QTextCursor cursor(m_view->document());
    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat block;
    block.setLeftMargin(16 * event.depth);
    if (m_view->document()->isEmpty()) {
        cursor.setBlockFormat(block);
        cursor.setCharFormat(QTextCharFormat());
    }
    else
        cursor.insertBlock(block, QTextCharFormat()); // no bold or highlight carried over
    const QString line = TraceText(event, true);
    cursor.insertHtml(event.depth == 0 ? QStringLiteral("<b>") + line + QStringLiteral("</b>") : line);
    m_view->ensureCursorVisible();
    m_view->verticalScrollBar()->setValue(m_view->verticalScrollBar()->maximum());
}

void CTracePanel::Clear()
{
    m_lines.clear();
    m_view->clear();
}

} // namespace orin
