// SPDX-License-Identifier: MIT
#pragma once

#include "images/display_copy.h"
#include "preview/simulated_clock.h"

#include <QColor>
#include <QStringList>

#include <map>
#include <memory>
#include <set>

// A small content set built in code and a simulation on the simulated seams. Images are made
// in memory: the picture of record id n is a 4 x 4 image whose red component is n, so that a
// test can tell which record an item shows; `liveCopies` counts the copies still held.

namespace orin::test {

class CFixtureImages : public CImageSource {
public:
    DisplayImage DisplayCopy(const CMyPictureInfo &record) override
    {
        DisplayImage copy;
        if (record.path.isEmpty())
            return copy;
        copy.type = record.type;
        if (const auto it = pictures.find(record.id); it != pictures.end()) {
            copy.image = it->second;
        } else {
            copy.image = QImage(4, 4, QImage::Format_ARGB32);
            copy.image.fill(QColor(record.id, 0, 0));
        }
        copy.owner = std::make_shared<Counter>(liveCopies);
        return copy;
    }
    DisplayImage BackgroundCopy(const CMyProgramInfo &page, bool vertical) override
    {
        DisplayImage copy;
        copy.image = QImage(vertical ? 540 : 960, vertical ? 960 : 540, QImage::Format_RGB32);
        copy.image.fill(Qt::black);
        if (const auto it = backgrounds.find(page.id); it != backgrounds.end() && !vertical)
            copy.image = it->second;
        if (unreadableBackgrounds.count(page.id) != 0) {
            copy.image = PlaceholderPicture(copy.image.size());
            copy.placeholder = true;
        }
        return copy;
    }
    std::shared_ptr<int> liveCopies = std::make_shared<int>(0);
    // Pictures by record id that replace the 4 x 4 default.
    std::map<int, QImage> pictures;
    // Backgrounds by page id that replace the black one of the horizontal screen.
    std::map<int, QImage> backgrounds;
    // Pages whose background file cannot be read: the placeholder stands in.
    std::set<int> unreadableBackgrounds;

private:
    struct Counter {
        explicit Counter(std::shared_ptr<int> count) : m_count(std::move(count)) { ++*m_count; }
        ~Counter() { --*m_count; }
        std::shared_ptr<int> m_count;
    };
};

// Records what the engine tells its view.
class CRecordingObserver : public CPreviewObserver {
public:
    void Repaint() override { ++repaints; }
    void RedrawItemDirect(int itemId, const QString &text) override
    {
        direct.append(QString::number(itemId) + u'=' + text);
    }
    void ShowMessage(const QString &text, const QString &caption) override
    {
        messages.append(caption + u':' + text);
    }
    void DigitEntryChanged(bool on) override { digitButtons = on; }

    int repaints = 0;
    QStringList direct;
    QStringList messages;
    bool digitButtons = false;
};

class CPreviewFixture {
public:
    CContentModel model;
    ProgramSettings settings;
    CFixtureImages images;
    CRecordingObserver observer;
    std::unique_ptr<CSimulation> sim;

    CMyProgramInfo &AddPage(int id)
    {
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = id;
        page->curcol = 1;
        page->backcol = kNoColour;
        return *model.pages.At(model.pages.Add(std::move(page)));
    }
    PageItem &AddItem(CMyProgramInfo &page, int id, int idg = 0)
    {
        PageItem &item = page.items[size_t(page.itemCount++)];
        item.id = id;
        item.idg = idg;
        item.x = float(10 * id);
        item.y = 20;
        item.width = 100;
        item.height = 40;
        item.focus = item.outfocus = QStringLiteral("0");
        item.ret = item.up = item.down = item.left = item.right = QStringLiteral("0");
        item.size = 20;
        item.color = 7;
        item.bcolor = kNoColour;
        item.text = QStringLiteral("item") + QString::number(id);
        return item;
    }
    void AddText(int id, const QString &text)
    {
        auto record = std::make_unique<CMyTextInfo>();
        record->id = id;
        record->text = text;
        model.texts.Add(std::move(record));
    }
    void AddMacro(int id, const QString &macro)
    {
        auto record = std::make_unique<CMyMacroInfo>();
        record->id = id;
        record->macro = macro;
        model.macros.Add(std::move(record));
    }
    void AddImage(int id, int type = kImageJpeg)
    {
        auto record = std::make_unique<CMyPictureInfo>();
        record->id = id;
        record->type = type;
        record->path = QStringLiteral("/images/") + QString::number(id);
        (id < 200 ? model.pictures : model.materials).Add(std::move(record));
    }

    CPreviewEngine &Engine() { return sim->engine; }

    // Makes the simulation and shows `page`; the posted commands run.
    CPreviewEngine &Start(int page)
    {
        sim = std::make_unique<CSimulation>(model, settings, images);
        sim->engine.SetObserver(&observer);
        sim->engine.ShowPage(page);
        sim->Settle();
        return sim->engine;
    }
    void Key(int code)
    {
        sim->engine.PressKey(code);
        sim->Settle();
    }

    // The red component of the picture item `id` shows: the id of its record, 0 for none.
    int ImageOf(int id)
    {
        const int index = Engine().IndexOfItem(id);
        if (index < 0 || Engine().Items()[size_t(index)].image.IsNull())
            return 0;
        return qRed(Engine().Items()[size_t(index)].image.image.pixel(0, 0));
    }
};

} // namespace orin::test
