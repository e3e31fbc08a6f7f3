// SPDX-License-Identifier: MIT
#include "webexport/web_content.h"
#include "model/settings_json.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace orin {

namespace {

QJsonValue Number(float value)
{
    return QJsonValue(double(value));
}

ExportedFile FileAt(const std::vector<ExportedFile> &files, int index)
{
    return index >= 0 && size_t(index) < files.size() ? files[size_t(index)] : ExportedFile();
}

QJsonObject ItemObject(const PageItem &item)
{
    return QJsonObject{
        {QStringLiteral("id"), item.id},
        {QStringLiteral("idg"), item.idg},
        {QStringLiteral("parent"), item.parent},
        {QStringLiteral("x"), Number(item.x)},
        {QStringLiteral("y"), Number(item.y)},
        {QStringLiteral("width"), Number(item.width)},
        {QStringLiteral("height"), Number(item.height)},
        {QStringLiteral("focus"), item.focus},
        {QStringLiteral("outfocus"), item.outfocus},
        {QStringLiteral("ret"), item.ret},
        {QStringLiteral("up"), item.up},
        {QStringLiteral("down"), item.down},
        {QStringLiteral("left"), item.left},
        {QStringLiteral("right"), item.right},
        {QStringLiteral("pic_no"), item.pic_no},
        {QStringLiteral("text_no"), item.text_no},
        {QStringLiteral("margin_x"), item.margin_x},
        {QStringLiteral("margin_y"), item.margin_y},
        {QStringLiteral("color"), item.color},
        {QStringLiteral("size"), item.size},
        {QStringLiteral("bcolor"), item.bcolor},
        {QStringLiteral("wordwrap"), item.wordwrap},
        {QStringLiteral("text"), item.text},
    };
}

QJsonObject PageObject(const CMyProgramInfo &page, const ExportedFile &background)
{
    QJsonObject o{
        {QStringLiteral("id"), page.id},
        {QStringLiteral("comment"), page.comment},
        {QStringLiteral("changed"), page.changed},
        {QStringLiteral("background"), background.file},
        {QStringLiteral("backgroundMissing"), background.missing},
    };
    const std::pair<const char *, int> numbers[] = {
        {"defitem", page.defitem}, {"tvitem", page.tvitem}, {"clock", page.clock},
        {"marquee", page.marquee}, {"marquee_speed", page.marquee_speed},
        {"timer", page.timer}, {"timer_item", page.timer_item}, {"timer_ino", page.timer_ino},
        {"textid", page.textid}, {"curcol", page.curcol}, {"backcol", page.backcol},
        {"cursize", page.cursize}, {"return_", page.return_}, {"back", page.back},
        {"data", page.data}, {"up", page.up}, {"down", page.down}, {"left", page.left},
        {"right", page.right}, {"blue", page.blue}, {"red", page.red},
        {"green", page.green}, {"yellow", page.yellow}, {"memory", page.memory},
        {"cursor", page.cursor}, {"smacro", page.smacro},
    };
    for (const auto &[name, value] : numbers)
        o.insert(QLatin1String(name), value);
    const int count = std::clamp(page.itemCount, 0, kItemSlots);
    o.insert(QStringLiteral("itemCount"), count);
    QJsonArray items;
    for (int slot = 0; slot < count; ++slot)
        items.append(ItemObject(page.items[size_t(slot)]));
    o.insert(QStringLiteral("items"), items);
    return o;
}

QJsonArray ImageArray(const CMyDataArray<CMyPictureInfo> &table,
                      const std::vector<ExportedFile> &files)
{
    QJsonArray array;
    for (int i = 0; i < table.Count(); ++i) {
        const CMyPictureInfo &r = *table.At(i);
        const ExportedFile file = FileAt(files, i);
        array.append(QJsonObject{
            {QStringLiteral("id"), r.id},
            {QStringLiteral("item"), r.item},
            {QStringLiteral("type"), r.type},
            {QStringLiteral("width"), r.width},
            {QStringLiteral("height"), r.height},
            {QStringLiteral("sizeText"), r.sizeText},
            {QStringLiteral("label"), r.label},
            {QStringLiteral("changed"), r.changed},
            {QStringLiteral("file"), file.file},
            {QStringLiteral("missing"), file.missing},
        });
    }
    return array;
}

QString CssColour(const ColourEntry &c)
{
    if (c.a == 255)
        return QStringLiteral("#%1%2%3")
            .arg(c.r, 2, 16, QLatin1Char('0'))
            .arg(c.g, 2, 16, QLatin1Char('0'))
            .arg(c.b, 2, 16, QLatin1Char('0'));
    return QStringLiteral("rgba(%1,%2,%3,%4)")
        .arg(c.r)
        .arg(c.g)
        .arg(c.b)
        .arg(QString::number(c.a / 255.0, 'g', 6));
}

} // namespace

QJsonArray PlayerFontFamilies()
{
    return QJsonArray{QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                      QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("monospace")};
}

QJsonObject PlayerFonts()
{
    // The face of item texts as the editor makes it; its ascent and descent per pixel of size
    // give the player the line heights of the editor's layout, whatever face the browser finds.
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(1000);
    font.setStyleHint(QFont::TypeWriter, QFont::PreferQuality);
    font.setFixedPitch(true);
    const QFontMetricsF metrics(font);
    return QJsonObject{{QStringLiteral("families"), PlayerFontFamilies()},
                       {QStringLiteral("resolved"), QFontInfo(font).family()},
                       {QStringLiteral("ascent"), metrics.ascent() / 1000.0},
                       {QStringLiteral("descent"), metrics.descent() / 1000.0}};
}

QJsonArray ColourTable(const CColourMap &map)
{
    int count = CColourMap::kEntries;
    while (count > 0 && map.ColourOf(count - 1) == ColourEntry())
        --count;
    QJsonArray colours;
    for (int i = 0; i < count; ++i)
        colours.append(CssColour(map.ColourOf(i)));
    return colours;
}

QByteArray ContentScript(const CContentModel &model, const ProgramSettings &settings,
                         const CColourMap &map, const ExportedFiles &files)
{
    QJsonObject root;
    root.insert(QStringLiteral("format"), 1);
    root.insert(QStringLiteral("settings"), SettingsJson(settings));
    root.insert(QStringLiteral("functionValue"), model.functionValue);

    QJsonArray pages;
    for (int i = 0; i < model.pages.Count(); ++i)
        pages.append(PageObject(*model.pages.At(i), FileAt(files.backgrounds, i)));
    root.insert(QStringLiteral("pages"), pages);
    root.insert(QStringLiteral("pictures"), ImageArray(model.pictures, files.pictures));
    root.insert(QStringLiteral("materials"), ImageArray(model.materials, files.materials));

    QJsonArray texts;
    for (const auto &r : model.texts)
        texts.append(QJsonObject{{QStringLiteral("id"), r->id},
                                 {QStringLiteral("text"), r->text},
                                 {QStringLiteral("item"), r->item},
                                 {QStringLiteral("label"), r->label},
                                 {QStringLiteral("changed"), r->changed}});
    root.insert(QStringLiteral("texts"), texts);
    QJsonArray channels;
    for (const auto &r : model.channels)
        channels.append(QJsonObject{{QStringLiteral("id"), r->id},
                                    {QStringLiteral("screen"), r->screen},
                                    {QStringLiteral("page"), r->page},
                                    {QStringLiteral("address"), r->address},
                                    {QStringLiteral("data"), r->data},
                                    {QStringLiteral("item"), r->item}});
    root.insert(QStringLiteral("channels"), channels);
    QJsonArray webPages;
    for (const auto &r : model.webPages)
        webPages.append(QJsonObject{{QStringLiteral("id"), r->id},
                                    {QStringLiteral("screen"), r->screen},
                                    {QStringLiteral("page"), r->page},
                                    {QStringLiteral("address"), r->address},
                                    {QStringLiteral("data"), r->data},
                                    {QStringLiteral("item"), r->item},
                                    {QStringLiteral("label"), r->label}});
    root.insert(QStringLiteral("webPages"), webPages);
    QJsonArray macros;
    for (const auto &r : model.macros)
        macros.append(QJsonObject{{QStringLiteral("id"), r->id},
                                  {QStringLiteral("macro"), r->macro},
                                  {QStringLiteral("item"), r->item},
                                  {QStringLiteral("label"), r->label},
                                  {QStringLiteral("changed"), r->changed}});
    root.insert(QStringLiteral("macros"), macros);
    QJsonArray sounds;
    for (int i = 0; i < model.sounds.Count(); ++i) {
        const CMySoundInfo &r = *model.sounds.At(i);
        const ExportedFile file = FileAt(files.sounds, i);
        sounds.append(QJsonObject{{QStringLiteral("id"), r.id},
                                  {QStringLiteral("item"), r.item},
                                  {QStringLiteral("label"), r.label},
                                  {QStringLiteral("comment"), r.comment},
                                  {QStringLiteral("file"), file.file},
                                  {QStringLiteral("missing"), file.missing}});
    }
    root.insert(QStringLiteral("sounds"), sounds);
    QJsonArray functions;
    for (const auto &r : model.functions)
        functions.append(QJsonObject{{QStringLiteral("id"), r->id},
                                     {QStringLiteral("item"), r->item},
                                     {QStringLiteral("data"), r->data}});
    root.insert(QStringLiteral("functions"), functions);

    root.insert(QStringLiteral("colours"), ColourTable(map));
    root.insert(QStringLiteral("fonts"), PlayerFonts());
    QJsonObject screens;
    for (const auto &[name, file] : files.screens)
        screens.insert(name, file);
    root.insert(QStringLiteral("screens"), screens);

    return QByteArrayLiteral("window.ORIN_CONTENT = ")
           + QJsonDocument(root).toJson(QJsonDocument::Compact) + QByteArrayLiteral(";\n");
}

} // namespace orin
