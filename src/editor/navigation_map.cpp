// SPDX-License-Identifier: MIT
#include "editor/navigation_map.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

namespace orin {

namespace {

constexpr int kPageRole = Qt::UserRole;
constexpr int kItemRole = Qt::UserRole + 1;
constexpr int kLayoutRole = Qt::UserRole + 2;
// A burst of edits (typing, dragging) gives one pass, when it pauses.
constexpr int kDefaultPauseMs = 300;
constexpr int kDefaultSliceMs = 20;

} // namespace

CNavigationMap::CNavigationMap(const CContentModel &model, const ProgramSettings &settings,
                               QWidget *parent)
    : QWidget(parent), m_model(model), m_settings(settings)
{
    setObjectName(QStringLiteral("CNavigationMap"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *splitter = new QSplitter(Qt::Vertical, this);
    layout->addWidget(splitter);

    m_graph = new CPageGraphView;
    auto *scroll = new QScrollArea(splitter);
    scroll->setWidget(m_graph);
    scroll->setWidgetResizable(false);
    splitter->addWidget(scroll);
    m_graph->SetPageClicked([this](int pageId) { emit PageActivated(pageId); });

    m_focusView = new CFocusArrowsView(splitter);
    splitter->addWidget(m_focusView);

    auto *findingsBox = new QWidget(splitter);
    auto *findingsLayout = new QVBoxLayout(findingsBox);
    findingsLayout->setContentsMargins(0, 0, 0, 0);
    m_findingsTitle = new QLabel(findingsBox);
    m_findings = new QListWidget(findingsBox);
    m_findings->setObjectName(QStringLiteral("NavigationFindings"));
    findingsLayout->addWidget(m_findingsTitle);
    findingsLayout->addWidget(m_findings);
    splitter->addWidget(findingsBox);
    // The page graph is what the dock is for; the findings are usually a few lines.
    splitter->setStretchFactor(0, 4);
    splitter->setStretchFactor(1, 2);
    splitter->setStretchFactor(2, 1);
    connect(m_findings, &QListWidget::itemActivated, this, &CNavigationMap::OnFindingChosen);
    connect(m_findings, &QListWidget::itemClicked, this, &CNavigationMap::OnFindingChosen);
    m_pauseTimer = new QTimer(this);
    m_pauseTimer->setSingleShot(true);
    m_pauseTimer->setInterval(kDefaultPauseMs);
    connect(m_pauseTimer, &QTimer::timeout, this, &CNavigationMap::StartLayoutPass);
    m_sliceTimer = new QTimer(this);
    m_sliceTimer->setSingleShot(true);
    m_sliceTimer->setInterval(0);
    m_sliceMs = kDefaultSliceMs;
    connect(m_sliceTimer, &QTimer::timeout, this, &CNavigationMap::RunLayoutSlice);
    Refresh();
}

void CNavigationMap::SetLayoutTiming(int pauseMs, int sliceMs)
{
    m_pauseTimer->setInterval(std::max(0, pauseMs));
    m_sliceMs = std::max(0, sliceMs);
}

void CNavigationMap::SetThumbnailSource(PageThumbnailSource thumbnails)
{
    m_thumbnails = std::move(thumbnails);
    Refresh();
}

void CNavigationMap::SetLayoutSource(LayoutSource source)
{
    m_layoutSource = std::move(source);
    Refresh();
}

void CNavigationMap::Refresh()
{
    m_analysis = AnalyseNavigation(m_model, m_settings);
    const bool vertical = m_settings.Vertical == 1;
    m_graph->SetContent(&m_model, &m_analysis, m_thumbnails, vertical);
    m_graph->resize(m_graph->sizeHint());

    // The layout findings listed so far are of the model as it was: they go, and a new pass
    // starts once the edits pause.
    m_layout.clear();
    m_pass.reset();
    m_sliceTimer->stop();
    m_layoutPending = bool(m_layoutSource);
    if (m_layoutPending)
        m_pauseTimer->start();
    else
        m_pauseTimer->stop();
    ListFindings();
    ShowFocusOf(m_currentPage);
}

void CNavigationMap::ForgetLayout()
{
    m_pauseTimer->stop();
    m_sliceTimer->stop();
    m_pass.reset();
    m_layout.clear();
    m_layoutPending = bool(m_layoutSource);
    ListFindings();
}

void CNavigationMap::StartLayoutPass()
{
    m_pass = m_layoutSource ? m_layoutSource() : nullptr;
    if (!m_pass) {
        m_layoutPending = false;
        ListFindings();
        emit LayoutFindingsReady();
        return;
    }
    m_sliceTimer->start();
}

void CNavigationMap::RunLayoutSlice()
{
    if (!m_pass)
        return;
    QElapsedTimer clock;
    clock.start();
    bool more = true;
    do {
        more = m_pass->Step();
    } while (more && clock.elapsed() < m_sliceMs);
    const int pages = m_model.pages.Count();
    const CLayoutPass *pass = m_pass.get();
    emit LayoutProgress(std::min(pass->PagesChecked(), pages), pages);
    // A slot of the progress signal may have refreshed the map meanwhile.
    if (m_pass.get() != pass)
        return;
    if (more) {
        m_sliceTimer->start();
        return;
    }
    m_layout = m_pass->TakeFindings();
    m_pass.reset();
    m_layoutPending = false;
    ListFindings();
    emit LayoutFindingsReady();
}

void CNavigationMap::ListFindings()
{
    m_findings->clear();
    const int broken = m_analysis.BrokenCount();
    const int warnings = int(m_analysis.findings.size()) - broken + int(m_layout.size());
    QString title = tr("問題: 参照切れ %1、警告 %2").arg(broken).arg(warnings);
    if (m_layoutPending)
        title += QStringLiteral("  ") + tr("レイアウトを確認中…");
    m_findingsTitle->setText(title);
    for (const Finding &finding : m_analysis.findings) {
        auto *row = new QListWidgetItem(DescribeFinding(finding), m_findings);
        row->setData(kPageRole, finding.pageId);
        row->setData(kItemRole, finding.itemId);
        row->setForeground(IsBrokenReference(finding.kind) ? QColor(190, 20, 20) : QColor(170, 100, 0));
    }
    for (const LayoutFinding &finding : m_layout) {
        auto *row = new QListWidgetItem(finding.description, m_findings);
        row->setData(kPageRole, finding.pageId);
        row->setData(kItemRole, finding.itemId);
        row->setData(kLayoutRole, true);
        row->setToolTip(LayoutFindingCode(finding.code));
        row->setForeground(QColor(170, 100, 0));
    }
}

void CNavigationMap::SetCurrent(int pageId, int focusItem)
{
    if (pageId != m_currentPage) {
        m_currentPage = pageId;
        m_graph->SetCurrentPage(pageId);
        ShowFocusOf(pageId);
    }
    m_focusView->SetFocusItem(focusItem);
}

void CNavigationMap::ShowFocusOf(int pageId)
{
    const CMyProgramInfo *page = pageId > 0 ? m_model.pages.FindById(pageId) : nullptr;
    QImage background;
    const bool vertical = m_settings.Vertical == 1;
    if (page && m_thumbnails)
        background = m_thumbnails(*page, vertical ? QSize(270, 480) : QSize(480, 270));
    m_focusView->SetPage(page, page ? m_analysis.Page(pageId) : nullptr, &m_analysis.findings,
                         background, vertical);
}

void CNavigationMap::OnFindingChosen(QListWidgetItem *item)
{
    if (!item)
        return;
    if (item->data(kLayoutRole).toBool())
        emit LayoutFindingActivated(item->data(kPageRole).toInt(), item->data(kItemRole).toInt());
    else
        emit FindingActivated(item->data(kPageRole).toInt(), item->data(kItemRole).toInt());
}

} // namespace orin
