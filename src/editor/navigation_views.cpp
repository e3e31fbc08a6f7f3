// SPDX-License-Identifier: MIT
#include "editor/navigation_views.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <set>

namespace orin {

namespace {

constexpr int kMargin = 16;
constexpr int kGap = 44;
constexpr int kLabelHeight = 16;

QSize ThumbSize(bool vertical)
{
    return vertical ? QSize(54, 96) : QSize(96, 54);
}

// Where the line from `outside` towards the centre of `rect` meets its border.
QPointF BorderPoint(const QRectF &rect, QPointF outside)
{
    const QPointF c = rect.center();
    const QPointF d = outside - c;
    const double hw = rect.width() / 2;
    const double hh = rect.height() / 2;
    double s = 1;
    if (std::abs(d.x()) > 1e-9)
        s = std::min(s, hw / std::abs(d.x()));
    if (std::abs(d.y()) > 1e-9)
        s = std::min(s, hh / std::abs(d.y()));
    return c + d * s;
}

void DrawArrow(QPainter &p, QPointF from, QPointF to)
{
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double length = std::hypot(d.x(), d.y());
    if (length < 1)
        return;
    const QPointF u = d / length;
    const QPointF n(-u.y(), u.x());
    QPainterPath head;
    head.moveTo(to);
    head.lineTo(to - u * 9 + n * 4);
    head.lineTo(to - u * 9 - n * 4);
    head.closeSubpath();
    p.fillPath(head, p.pen().color());
}

} // namespace

// ------------------------------------------------------------------ page graph

CPageGraphView::CPageGraphView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CPageGraphView"));
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void CPageGraphView::SetContent(const CContentModel *model, const NavigationAnalysis *analysis,
                                PageThumbnailSource thumbnails, bool vertical)
{
    m_model = model;
    m_analysis = analysis;
    m_thumbnails = std::move(thumbnails);
    m_vertical = vertical;
    Layout();
    updateGeometry();
    update();
}

void CPageGraphView::SetCurrentPage(int pageId)
{
    if (pageId == m_current)
        return;
    m_current = pageId;
    update();
}

void CPageGraphView::Layout()
{
    m_nodes.clear();
    m_extent = QSize();
    if (!m_model || m_model->pages.Count() == 0)
        return;
    const int count = m_model->pages.Count();
    const int columns = std::max(1, int(std::ceil(std::sqrt(double(count)))));
    const QSize thumb = ThumbSize(m_vertical);
    const int cellW = thumb.width() + kGap;
    const int cellH = thumb.height() + kLabelHeight + kGap;
    for (int i = 0; i < count; ++i) {
        const int id = m_model->pages.At(i)->id;
        if (m_nodes.count(id))
            continue; // a second page with the same id cannot be reached apart
        m_nodes[id] = QRect(kMargin + (i % columns) * cellW, kMargin + (i / columns) * cellH,
                            thumb.width(), thumb.height() + kLabelHeight);
    }
    const int rows = (count + columns - 1) / columns;
    m_extent = QSize(2 * kMargin + columns * cellW - kGap, 2 * kMargin + rows * cellH - kGap);
}

QRect CPageGraphView::NodeRect(int pageId) const
{
    const auto it = m_nodes.find(pageId);
    return it == m_nodes.end() ? QRect() : it->second;
}

QSize CPageGraphView::sizeHint() const
{
    return m_extent.isEmpty() ? QSize(200, 120) : m_extent;
}

void CPageGraphView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!m_model || !m_analysis)
        return;
    // Edges first, one per pair of pages, under the nodes.
    std::set<std::pair<int, int>> pairs;
    for (const PageEdge &edge : m_analysis->edges) {
        if (edge.from != edge.to && m_nodes.count(edge.from) && m_nodes.count(edge.to))
            pairs.insert({edge.from, edge.to});
    }
    p.setPen(QPen(QColor(40, 90, 170), 1.5));
    for (const auto &[from, to] : pairs) {
        QRectF a = m_nodes.at(from);
        QRectF b = m_nodes.at(to);
        // Jumps both ways are drawn side by side.
        QPointF shift;
        if (pairs.count({to, from})) {
            const QPointF d = b.center() - a.center();
            const double length = std::hypot(d.x(), d.y());
            if (length > 0)
                shift = QPointF(-d.y(), d.x()) / length * 5;
        }
        a.translate(shift);
        b.translate(shift);
        DrawArrow(p, BorderPoint(a, b.center()), BorderPoint(b, a.center()));
    }
    const std::set<int> reachable(m_analysis->reachablePages.begin(), m_analysis->reachablePages.end());
    const QSize thumb = ThumbSize(m_vertical);
    for (const auto &record : m_model->pages) {
        const auto it = m_nodes.find(record->id);
        if (it == m_nodes.end())
            continue;
        const QRect node = it->second;
        const QRect picture(node.topLeft(), thumb);
        if (m_thumbnails)
            p.drawImage(picture, m_thumbnails(*record, thumb));
        else
            p.fillRect(picture, Qt::lightGray);
        const bool current = record->id == m_current;
        const bool lost = !reachable.count(record->id);
        QPen frame(lost ? QColor(200, 30, 30) : current ? QColor(30, 110, 230) : QColor(90, 90, 90),
                   current ? 3 : 1.5);
        if (lost)
            frame.setStyle(Qt::DashLine);
        p.setPen(frame);
        p.setBrush(Qt::NoBrush);
        p.drawRect(picture);
        p.setPen(palette().color(QPalette::Text));
        p.drawText(
            QRect(node.left() - kGap / 2, picture.bottom() + 1, node.width() + kGap, kLabelHeight),
            Qt::AlignCenter, QCoreApplication::translate("OrinEdit", "ページ %1").arg(record->id));
    }
}

void CPageGraphView::mousePressEvent(QMouseEvent *event)
{
    for (const auto &[id, rect] : m_nodes) {
        if (rect.contains(event->position().toPoint())) {
            if (m_clicked)
                m_clicked(id);
            return;
        }
    }
    QWidget::mousePressEvent(event);
}

// ------------------------------------------------------------------ focus arrows

CFocusArrowsView::CFocusArrowsView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CFocusArrowsView"));
    setMinimumHeight(120);
}

void CFocusArrowsView::SetPage(const CMyProgramInfo *page, const PageNavigation *navigation,
                               const std::vector<Finding> *findings, const QImage &background,
                               bool vertical)
{
    m_page = page;
    m_navigation = navigation;
    m_findings = findings;
    m_background = background;
    m_vertical = vertical;
    update();
}

void CFocusArrowsView::SetFocusItem(int itemId)
{
    if (itemId == m_focus)
        return;
    m_focus = itemId;
    update();
}

QStringList CFocusArrowsView::Arrows() const
{
    QStringList arrows;
    if (!m_page || !m_navigation)
        return arrows;
    for (const FocusMove &move : m_navigation->focusMoves) {
        if (move.from == 0 || move.from == move.to || FindItemSlot(*m_page, move.from) < 0)
            continue;
        const QString arrow = QStringLiteral("%1>%2").arg(move.from).arg(move.to);
        if (!arrows.contains(arrow))
            arrows << arrow;
    }
    return arrows;
}

QRectF CFocusArrowsView::PageArea() const
{
    const QSizeF page = m_vertical ? QSizeF(540, 960) : QSizeF(960, 540);
    const QSizeF fitted = page.scaled(QSizeF(size()) - QSizeF(8, 8), Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

void CFocusArrowsView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (!m_page)
        return;
    const QRectF area = PageArea();
    if (m_background.isNull())
        p.fillRect(area, Qt::black);
    else
        p.drawImage(area, m_background);
    const double scale = area.width() / (m_vertical ? 540.0 : 960.0);
    auto itemRect = [&](const PageItem &item) {
        return QRectF(area.left() + item.x * scale, area.top() + item.y * scale,
                      item.width * scale, item.height * scale);
    };
    auto flagged = [&](int itemId, FindingKind kind) {
        if (!m_findings)
            return false;
        return std::any_of(m_findings->begin(), m_findings->end(), [&](const Finding &f) {
            return f.kind == kind && f.pageId == m_page->id && f.itemId == itemId;
        });
    };
    const int count = std::clamp(m_page->itemCount, 0, kItemSlots);
    std::map<int, QRectF> rects;
    for (int i = 0; i < count; ++i) {
        const PageItem &item = m_page->items[size_t(i)];
        if (item.id == 0 || rects.count(item.id))
            continue;
        const QRectF r = itemRect(item);
        rects[item.id] = r;
        QColor colour(255, 255, 255, 150);
        if (flagged(item.id, FindingKind::UnreachedItem))
            colour = QColor(230, 40, 40);
        else if (flagged(item.id, FindingKind::FocusDeadEnd))
            colour = QColor(240, 150, 20);
        if (item.id == m_focus)
            p.fillRect(r, QColor(255, 220, 60, 90));
        QPen pen(colour, item.id == (m_navigation ? m_navigation->startFocus : 0) ? 2.5 : 1);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
        p.setPen(Qt::white);
        p.drawText(r.adjusted(2, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, QString::number(item.id));
    }
    if (!m_navigation)
        return;
    p.setPen(QPen(QColor(80, 230, 120), 1.5));
    for (const QString &arrow : Arrows()) {
        const QStringList ends = arrow.split(u'>');
        const auto from = rects.find(ends[0].toInt());
        const auto to = rects.find(ends[1].toInt());
        if (from == rects.end() || to == rects.end())
            continue;
        // Moves both ways are drawn side by side.
        QPointF shift;
        if (Arrows().contains(ends[1] + u'>' + ends[0])) {
            const QPointF d = to->second.center() - from->second.center();
            const double length = std::hypot(d.x(), d.y());
            if (length > 0)
                shift = QPointF(-d.y(), d.x()) / length * 3;
        }
        const QRectF a = from->second.translated(shift);
        const QRectF b = to->second.translated(shift);
        DrawArrow(p, BorderPoint(a, b.center()), BorderPoint(b, a.center()));
    }
}

} // namespace orin
