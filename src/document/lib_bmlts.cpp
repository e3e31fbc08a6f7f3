// SPDX-License-Identifier: MIT
#include "document/lib_bmlts.h"

namespace orin {

void CLibBMLTS::ClearBCML()
{
    m_documentLength = 0;
    m_documentCheck = 0;
}

} // namespace orin
