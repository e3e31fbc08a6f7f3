// SPDX-License-Identifier: MIT
#include "dialogs/number_fields.h"

#include "document/prompt.h"
#include "model/ui_text.h"

#include <QCoreApplication>
#include <QLineEdit>

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

bool CheckNumberFields(const QList<QLineEdit *> &fields, CPrompt &prompt)
{
    for (QLineEdit *field : fields) {
        if (!field || !field->isEnabled() || field->isReadOnly())
            continue;
        if (!ParseNumberField(field->text())) {
            prompt.MessageBox(UiText(kNumberMessage),
                              QCoreApplication::translate("OrinEdit", "エラー"), PromptButtons::Ok);
            field->setFocus();
            field->selectAll();
            return false;
        }
    }
    return true;
}

} // namespace orin
