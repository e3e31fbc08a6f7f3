// SPDX-License-Identifier: MIT
#pragma once

#include "prompt_fixtures.h"

#include "document/document.h"
#include "document/document_edits.h"
#include "document/image_edits.h"
#include "document/recent_files.h"
#include "images/load_services.h"

#include <QTemporaryDir>

// A document of the HTML edition with its edit operations, a scripted prompt and a temporary
// folder: what the tests of edits, dialogs and the page list build on.

namespace orin::test {

struct DocumentParts {
    QTemporaryDir dir;
    CContentModel model;
    CScriptedPrompt prompt;
    CRecentFiles recent;
    CDocument document{model, prompt, recent, StandardLoadServices(), 4};
    CImageEdits imageEdits{document, model, prompt};
    CDocumentEdits edits{document, model, prompt, imageEdits};

    QString Path(const QString &name) const { return dir.filePath(name); }
};

} // namespace orin::test
