// SPDX-License-Identifier: MIT
#include "dialogs/network_fields.h"

#include <QStringList>

namespace orin {

namespace {

constexpr qsizetype kMaxHostName = 253;
constexpr qsizetype kMaxLabel = 63;

bool AllDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

bool IsHostLabel(const QString &label)
{
    if (label.isEmpty() || label.size() > kMaxLabel || label.startsWith(u'-')
        || label.endsWith(u'-'))
        return false;
    for (const QChar c : label) {
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
        const bool digit = c >= u'0' && c <= u'9';
        if (!letter && !digit && c != u'-')
            return false;
    }
    return true;
}

} // namespace

std::optional<QString> NormalizedAddress(const QString &text)
{
    const QString address = text.trimmed();
    if (address.isEmpty() || address.size() > kMaxHostName)
        return std::nullopt;
    const QStringList parts = address.split(u'.');
    bool numeric = true;
    for (const QString &part : parts)
        numeric = numeric && AllDigits(part);
    if (numeric) {
        // Dotted numbers are an IPv4 address or nothing: a resolver would read "10.1.2" as one.
        if (parts.size() != 4)
            return std::nullopt;
        QStringList bytes;
        for (const QString &part : parts) {
            if (part.size() > 3 || part.toInt() > 255)
                return std::nullopt;
            bytes.append(QString::number(part.toInt()));
        }
        return bytes.join(u'.');
    }
    // The top-level label of a host name is never all digits.
    if (AllDigits(parts.last()))
        return std::nullopt;
    for (const QString &part : parts) {
        if (!IsHostLabel(part))
            return std::nullopt;
    }
    return address;
}

QString AddressFieldText(const QString &stored)
{
    return stored.trimmed().isEmpty() ? QStringLiteral("0.0.0.0") : stored;
}

std::optional<int> ParsePort(const QString &text)
{
    const QString digits = text.trimmed();
    if (!AllDigits(digits) || digits.size() > 5)
        return std::nullopt;
    const int port = digits.toInt();
    if (port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

} // namespace orin
