// SPDX-License-Identifier: MIT
#include "document/transmission_refusal.h"

#include "document/prompt.h"
#include "model/ui_text.h"
#include "settings/edition_info.h"

namespace orin {

bool RefuseTransmission(CPrompt &prompt, int edition)
{
    if (EditionTransmits(edition))
        return false;
    prompt.MessageBox(UiText(kTransmitRefusal), QString::fromUtf16(kTransmitCaption),
                      PromptButtons::Ok);
    return true;
}

} // namespace orin
