// SPDX-License-Identifier: MIT
#include "document/transmission_refusal.h"

#include "document/prompt.h"
#include "settings/edition_info.h"

namespace orin {

bool RefuseTransmission(CPrompt &prompt, int edition)
{
    if (EditionTransmits(edition))
        return false;
    prompt.MessageBox(QString::fromUtf16(kTransmitRefusal), QString::fromUtf16(kTransmitCaption),
                      PromptButtons::Ok);
    return true;
}

} // namespace orin
