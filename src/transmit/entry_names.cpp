// SPDX-License-Identifier: MIT
#include "transmit/entry_names.h"

namespace orin {
namespace {

bool ForbiddenChar(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f || c == u'/' || c == u'\\' || c == u':';
}

} // namespace

bool IsUsableEntryName(QStringView name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    if (name.toUtf8().size() > kMaxEntryNameBytes)
        return false;
    for (const QChar c : name) {
        if (ForbiddenChar(c))
            return false;
    }
    return true;
}

QString UsableEntryName(const QString &name)
{
    QString usable;
    usable.reserve(name.size());
    for (const QChar c : name)
        usable.append(ForbiddenChar(c) ? QChar(u'_') : c);
    // A lone surrogate cannot be written as UTF-8: it goes too.
    for (qsizetype i = 0; i < usable.size(); ++i) {
        const QChar c = usable.at(i);
        if (c.isHighSurrogate() && i + 1 < usable.size() && usable.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate())
            usable[i] = u'_';
    }
    if (usable.isEmpty() || usable == u"." || usable == u"..")
        return QStringLiteral("_");
    if (usable.toUtf8().size() <= kMaxEntryNameBytes)
        return usable;
    // Shortened before the extension (when it is short itself), whole characters only.
    const qsizetype dot = usable.lastIndexOf(u'.');
    QString extension = dot > 0 && usable.size() - dot <= 16 ? usable.mid(dot) : QString();
    QString base = usable.left(usable.size() - extension.size());
    while (!base.isEmpty() && (base + extension).toUtf8().size() > kMaxEntryNameBytes) {
        base.chop(base.size() >= 2 && base.at(base.size() - 1).isLowSurrogate() ? 2 : 1);
    }
    return base.isEmpty() ? QStringLiteral("_") + extension.left(16) : base + extension;
}

} // namespace orin
