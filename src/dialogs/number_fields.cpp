// SPDX-License-Identifier: MIT
#include "dialogs/number_fields.h"

#include "document/prompt.h"
#include "model/ui_text.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QRegularExpression>

#include <cmath>

#include <limits>

namespace orin {

std::optional<int> ParseNumberField(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : trimmed) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        // A number beyond int would be stored wrapped; it is refused like any bad text.
        if (value > std::numeric_limits<int>::max())
            return std::nullopt;
    }
    return static_cast<int>(value);
}

namespace {

// At the first field whose text `valid` refuses: the message, the focus on it, false.
template <typename Valid>
bool CheckFields(const QList<QLineEdit *> &fields, const char16_t *message, CPrompt &prompt,
                 Valid valid)
{
    for (QLineEdit *field : fields) {
        if (!field || !field->isEnabled() || field->isReadOnly())
            continue;
        if (!valid(field->text())) {
            prompt.MessageBox(UiText(message),
                              QCoreApplication::translate("OrinEdit", "エラー"), PromptButtons::Ok);
            field->setFocus();
            field->selectAll();
            return false;
        }
    }
    return true;
}

} // namespace

bool CheckNumberFields(const QList<QLineEdit *> &fields, CPrompt &prompt)
{
    return CheckFields(fields, kNumberMessage, prompt,
                       [](const QString &text) { return ParseNumberField(text).has_value(); });
}

std::optional<float> ParseGeometryField(const QString &text, bool signedValue)
{
    static const QRegularExpression kSigned(QStringLiteral("^-?(\\d+\\.?\\d*|\\.\\d+)$"));
    static const QRegularExpression kUnsigned(QStringLiteral("^(\\d+\\.?\\d*|\\.\\d+)$"));
    const QString trimmed = text.trimmed();
    if (!(signedValue ? kSigned : kUnsigned).match(trimmed).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok || std::abs(value) > kGeometryLimit)
        return std::nullopt;
    return static_cast<float>(value);
}

QString FormatGeometry(float value)
{
    // Whole numbers stay whole; a fraction gets the fewest decimals that give the value back.
    // (A value finer than 10^-9 is shown rounded to nine decimals.)
    for (int decimals = 0; decimals < 9; ++decimals) {
        const QString text = QString::number(double(value), 'f', decimals);
        if (text.toFloat() == value)
            return text;
    }
    return QString::number(double(value), 'f', 9);
}

bool CheckGeometryFields(const QList<QLineEdit *> &fields, bool signedValues, CPrompt &prompt)
{
    return CheckFields(fields, kGeometryMessage, prompt, [signedValues](const QString &text) {
        return ParseGeometryField(text, signedValues).has_value();
    });
}

} // namespace orin
