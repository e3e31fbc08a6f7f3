// SPDX-License-Identifier: MIT
#include "editor/compare_panel.h"

#include "preview/page_snapshot.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orin {

namespace {

constexpr int kBeforeIdRole = Qt::UserRole;
constexpr int kAfterIdRole = Qt::UserRole + 1;
constexpr int kIsPageRole = Qt::UserRole + 2;

// The lines of one page's changes, in the operator's words.
QStringList LinesOf(const PageDiff &page, const DiffWording &wording)
{
    ContentDiff part;
    part.pages.push_back(page);
    return DiffReportLines(part, wording);
}

QList<int> Outlined(const PageDiff &page, bool before)
{
    QList<int> ids;
    for (const ItemDiff &item : page.items) {
        if (before && item.kind != DiffKind::Added)
            ids << item.beforeId;
        if (!before && item.kind != DiffKind::Removed)
            ids << item.afterId;
    }
    return ids;
}

} // namespace

// One side's picture, scaled to the room it has with its proportions kept; a line of text when
// there is no picture.
class CComparePicture : public QWidget {
public:
    void Show(const QImage &picture, const QString &text)
    {
        m_picture = picture;
        m_text = text;
        update();
    }
    QSize sizeHint() const override { return CComparePanel::kPictureSize / 2; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width * 9 / 16; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        if (m_picture.isNull()) {
            painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, m_text);
            return;
        }
        const QSize size = m_picture.size().scaled(this->size(), Qt::KeepAspectRatio);
        const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2),
                           size);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, m_picture);
    }

private:
    QImage m_picture;
    QString m_text;
};

CComparePanel::CComparePanel(const CColourMap &map, const CContentModel &after,
                             const ProgramSettings &afterSettings, const QString &workFolder,
                             QWidget *parent)
    : QWidget(parent), m_map(map), m_after(after), m_afterSettings(afterSettings),
      m_images(map, workFolder)
{
    m_summary = new QLabel(tr("比較するファイルを「ファイル」メニューの「比較...」で選んでください"));
    m_summary->setWordWrap(true);
    m_list = new QTreeWidget;
    m_list->setHeaderHidden(true);
    m_list->setObjectName(QStringLiteral("CompareChanges"));
    m_beforeView = new CComparePicture;
    m_afterView = new CComparePicture;
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    m_beforeView->setSizePolicy(policy);
    m_afterView->setSizePolicy(policy);
    auto *beforeCaption = new QLabel(tr("前（ファイル）"));
    auto *afterCaption = new QLabel(tr("後（開いている内容）"));
    auto *sides = new QHBoxLayout;
    auto *beforeColumn = new QVBoxLayout;
    beforeColumn->addWidget(beforeCaption);
    beforeColumn->addWidget(m_beforeView);
    beforeColumn->addStretch(1);
    auto *afterColumn = new QVBoxLayout;
    afterColumn->addWidget(afterCaption);
    afterColumn->addWidget(m_afterView);
    afterColumn->addStretch(1);
    sides->addLayout(beforeColumn);
    sides->addLayout(afterColumn);
    auto *pictures = new QWidget;
    pictures->setLayout(sides);
    // The list and the pictures share the height; the operator moves the line between them.
    auto *split = new QSplitter(Qt::Vertical);
    split->addWidget(m_list);
    split->addWidget(pictures);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 2);
    split->setChildrenCollapsible(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(split, 1);

    connect(m_list, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { OnCurrentChanged(current); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        QTreeWidgetItem *top = item->parent() ? item->parent() : item;
        const int afterId = top->data(0, kAfterIdRole).toInt();
        if (top->data(0, kIsPageRole).toBool() && afterId > 0)
            emit PageActivated(afterId);
    });
}

CComparePanel::~CComparePanel() = default;

DiffWording CComparePanel::Wording()
{
    DiffWording w;
    w.settings = tr("設定", "where a change of the program settings is, in a line of changes");
    w.page = tr("ページ %1", "a page in a line of changes");
    w.pageRenumbered = tr("ページ %1→%2", "a page in a line of changes");
    w.item = tr("%1 のアイテム %2");
    w.record = tr("%1 %2", "a record: its table and id");
    w.recordRenumbered = tr("%1 %2→%3", "a record: its table, old id and new id");
    w.tables = {
        {QStringLiteral("material"), tr("素材")},
        {QStringLiteral("picture"), tr("画像")},
        {QStringLiteral("text"), tr("テキスト")},
        {QStringLiteral("channel"), tr("チャンネル")},
        {QStringLiteral("webpage"), tr("ウェブページ")},
        {QStringLiteral("macro"), tr("マクロ")},
        {QStringLiteral("sound"), tr("音声")},
        {QStringLiteral("function"), tr("ファンクション")},
    };
    w.field = tr("%1 の %2: %3 → %4");
    w.fieldWords = tr("%1 の %2: %3");
    w.pageAdded = tr("%1: %2 番目に追加");
    w.pageRemoved = tr("%1: %2 番目から削除");
    w.renumbered = tr("%1: 番号を %2 から %3 に変更");
    w.pageMoved = tr("%1: %2 番目から %3 番目に移動");
    w.itemAdded = tr("%1: (%2,%3) に %4×%5 で追加");
    w.itemRemoved = tr("%1: (%2,%3) の %4×%5 を削除");
    w.itemMoved = tr("%1: (%2,%3) から (%4,%5) に移動");
    w.itemResized = tr("%1: 大きさを %2×%3 から %4×%5 に変更");
    w.recordAdded = tr("%1: 追加", "a record added");
    w.recordRemoved = tr("%1: 削除", "a record removed");
    return w;
}

void CComparePanel::SetBefore(std::unique_ptr<CContentModel> model,
                              const ProgramSettings &settings, const QString &path)
{
    m_before = std::move(model);
    m_beforeSettings = settings;
    m_beforePath = path;
    Refresh();
}

void CComparePanel::Refresh()
{
    if (!m_before)
        return;
    QTreeWidgetItem *current = m_list->currentItem();
    if (current && current->parent())
        current = current->parent();
    const int keepBefore = current ? current->data(0, kBeforeIdRole).toInt() : 0;
    const int keepAfter = current ? current->data(0, kAfterIdRole).toInt() : 0;
    m_diff = DiffContent({*m_before, m_beforeSettings, m_beforePath},
                         {m_after, m_afterSettings, m_afterPath});
    Fill();
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        QTreeWidgetItem *item = m_list->topLevelItem(row);
        if (item->data(0, kIsPageRole).toBool()
            && item->data(0, kBeforeIdRole).toInt() == keepBefore
            && item->data(0, kAfterIdRole).toInt() == keepAfter) {
            m_list->setCurrentItem(item);
            return;
        }
    }
    ShowPage(nullptr);
}

void CComparePanel::ChooseFirstPage()
{
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        QTreeWidgetItem *item = m_list->topLevelItem(row);
        if (item->data(0, kIsPageRole).toBool()) {
            item->setExpanded(true);
            m_list->setCurrentItem(item);
            return;
        }
    }
}

QString CComparePanel::Summary() const
{
    return m_summary->text();
}

void CComparePanel::Fill()
{
    const QSignalBlocker block(m_list);
    m_list->clear();
    const QString name = QFileInfo(m_beforePath).fileName();
    if (m_diff.IsEmpty()) {
        m_summary->setText(tr("%1 と開いている内容に違いはありません").arg(name));
        return;
    }
    m_summary->setText(tr("%1（前）から開いている内容（後）への変更: ページ %2、レコード %3、設定 %4")
                           .arg(name)
                           .arg(m_diff.pages.size())
                           .arg(m_diff.records.size())
                           .arg(m_diff.settings.size()));
    const DiffWording wording = Wording();
    auto group = [this](const QString &title, const QStringList &lines) {
        auto *top = new QTreeWidgetItem(m_list, {title});
        for (const QString &line : lines)
            new QTreeWidgetItem(top, {line});
        return top;
    };
    if (!m_diff.settings.empty()) {
        ContentDiff part;
        part.settings = m_diff.settings;
        group(tr("設定"), DiffReportLines(part, wording));
    }
    for (const PageDiff &page : m_diff.pages) {
        QString title;
        switch (page.kind) {
        case DiffKind::Added: title = tr("ページ %1: 追加").arg(page.afterId); break;
        case DiffKind::Removed: title = tr("ページ %1: 削除").arg(page.beforeId); break;
        case DiffKind::Changed:
        case DiffKind::Same:
            title = page.renumbered ? tr("ページ %1→%2").arg(page.beforeId).arg(page.afterId)
                                    : tr("ページ %1").arg(page.afterId);
            QStringList what;
            if (page.kind == DiffKind::Changed)
                what << tr("変更");
            if (page.renumbered)
                what << tr("番号変更");
            if (page.moved)
                what << tr("移動");
            title += QStringLiteral(": ") + what.join(QStringLiteral("、"));
            break;
        }
        QTreeWidgetItem *top = group(title, LinesOf(page, wording));
        top->setData(0, kBeforeIdRole, page.beforeId);
        top->setData(0, kAfterIdRole, page.afterId);
        top->setData(0, kIsPageRole, true);
    }
    if (!m_diff.records.empty()) {
        ContentDiff part;
        part.records = m_diff.records;
        group(tr("レコード"), DiffReportLines(part, wording));
    }
}

void CComparePanel::OnCurrentChanged(QTreeWidgetItem *item)
{
    if (item && item->parent())
        item = item->parent();
    if (!item || !item->data(0, kIsPageRole).toBool()) {
        ShowPage(nullptr);
        return;
    }
    ShowPage(m_diff.FindPage(item->data(0, kBeforeIdRole).toInt(),
                             item->data(0, kAfterIdRole).toInt()));
}

void CComparePanel::ShowPage(const PageDiff *page)
{
    m_beforePicture = QImage();
    m_afterPicture = QImage();
    if (page && m_before) {
        if (page->kind != DiffKind::Added)
            m_beforePicture = RenderPageSnapshot(*m_before, m_beforeSettings, m_map, m_images,
                                                 page->beforeId, kPictureSize,
                                                 Outlined(*page, true));
        if (page->kind != DiffKind::Removed)
            m_afterPicture = RenderPageSnapshot(m_after, m_afterSettings, m_map, m_images,
                                                page->afterId, kPictureSize,
                                                Outlined(*page, false));
    }
    const QString none = page ? tr("（このページはありません）") : QString();
    m_beforeView->Show(m_beforePicture, none);
    m_afterView->Show(m_afterPicture, none);
}

} // namespace orin
