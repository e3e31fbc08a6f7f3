// SPDX-License-Identifier: MIT
#pragma once
// A page with three items shown on the design surface at scale 1, and the mouse and key
// helpers the design tests drive it with.

#include "document_fixture.h"

#include "actions/item_clipboard.h"
#include "document/item_edits.h"
#include "editor/form_graph.h"
#include "editor/graph_traker.h"
#include "images/colour_map.h"

#include <QApplication>
#include <QtTest>

namespace orin::test {

struct DesignFixture : DocumentParts {
    CItemClipboard clipboard;
    CColourMap map;
    CFormGraph pane;
    int saves = 0;

    // One page of 960 x 540 with items 1, 2 and 7 of 100 x 50 at (100, 100), (300, 100) and
    // (500, 300), shown on a design surface of the page's own size (scale 1, no offsets).
    void Open()
    {
        CContentModel source;
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = 1;
        const int ids[] = {1, 2, 7};
        const QPoint at[] = {{100, 100}, {300, 100}, {500, 300}};
        for (int i = 0; i < 3; ++i)
            page->items[size_t(i)] = NewItemSlot(ids[i], QRectF(at[i], QSizeF(100, 50)));
        page->itemCount = 3;
        source.pages.Add(std::move(page));
        const QString path = Path(QStringLiteral("design.bjpx"));
        QVERIFY(SaveProject(source, path, SaveMode::Plain, ContentFolderOf(path),
                            ProgramSettings()).ok);
        QVERIFY(document.OpenProjectFile(path));
        pane.BindDesign({&model, &document, &edits, &imageEdits, &clipboard, &map, &prompt,
                         dir.path()});
        pane.resize(960, 540);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        pane.ShowPage(0);
        pane.SetDesignMode(true);
        QCOMPARE(Surface()->size(), QSize(960, 540));
        QCOMPARE(pane.Design()->Scale().s, 1.0f);
    }

    CGraphTraker *Surface() const { return pane.DesignSurface(); }
    CDesignCommands &Design() const { return *pane.Design(); }
    const CMyProgramInfo &Page() const { return *model.pages.At(0); }
    const PageItem &Item(int slot) const { return Page().items[size_t(slot)]; }
    QRectF Rect(int slot) const
    {
        const PageItem &item = Item(slot);
        return QRectF(item.x, item.y, item.width, item.height);
    }

    QByteArray Saved()
    {
        const QString path = Path(QStringLiteral("save%1.bjpx").arg(++saves));
        if (!SaveProject(model, path, SaveMode::Plain, ContentFolderOf(path),
                         document.Settings()).ok)
            return {};
        return ReadBytes(path);
    }

    void Press(QPoint p, Qt::KeyboardModifiers keys = {})
    {
        QTest::mousePress(Surface(), Qt::LeftButton, keys, p);
    }
    void Move(QPoint p) { QTest::mouseMove(Surface(), p); }
    void Release(QPoint p, Qt::KeyboardModifiers keys = {})
    {
        QTest::mouseRelease(Surface(), Qt::LeftButton, keys, p);
    }
    void RightClick(QPoint p)
    {
        QTest::mousePress(Surface(), Qt::RightButton, {}, p);
        QTest::mouseRelease(Surface(), Qt::RightButton, {}, p);
        // The item menu pops up; the tests run its commands themselves.
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    }
};

} // namespace orin::test
