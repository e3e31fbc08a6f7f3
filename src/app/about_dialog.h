// SPDX-License-Identifier: MIT
#pragma once

#include "orin_version.h"

#include <QDialog>

class QLabel;

namespace orin {

// The about box: the edition title, the product name and "ver. " with the program's version.
class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(int edition = kEdition, QWidget *parent = nullptr);

    // The three texts, top to bottom.
    QStringList Texts() const;

private:
    QLabel *m_title = nullptr;
    QLabel *m_product = nullptr;
    QLabel *m_version = nullptr;
};

} // namespace orin
