// SPDX-License-Identifier: MIT
#include "dialogs/dlg_clist.h"

#include "model/xml_doc.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

namespace orin {

QList<ChannelListRow> ParseChannelList(const QByteArray &file)
{
    // The buffer holds 1024 wide characters; the file fills at most its first half.
    const QByteArray bytes = file.left(kChannelListBytes);
    QString text;
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        const auto low = static_cast<uchar>(bytes.at(i));
        const auto high = i + 1 < bytes.size() ? static_cast<uchar>(bytes.at(i + 1)) : 0;
        const char16_t c = static_cast<char16_t>(low | (high << 8));
        if (c == 0)
            break;
        text.append(QChar(c));
    }
    QList<ChannelListRow> rows;
    CXmlDoc doc;
    doc.LoadText(text);
    doc.Rewind();
    if (!doc.NextElement() || !doc.Descend())
        return rows;
    while (rows.size() < kChannelListRows && doc.NextElement()) {
        if (doc.ElementName() != u"Channel")
            break;
        const QString type = doc.Attribute(QStringLiteral("type"));
        rows.append({doc.ElementText(),
                     type == u"0" ? QStringLiteral("D")
                                  : type == u"1" ? QStringLiteral("H") : QString()});
    }
    return rows;
}

CDlgCList::CDlgCList(const QByteArray &file, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf16(kChannelListTitle));
    auto *grid = new QGridLayout(this);
    const QList<ChannelListRow> rows = ParseChannelList(file);
    for (int i = 0; i < kChannelListRows; ++i) {
        grid->addWidget(new QLabel(QString::number(i + 1), this), i, 0);
        auto *name = new QLabel(i < rows.size() ? rows.at(i).name : QString(), this);
        auto *type = new QLabel(i < rows.size() ? rows.at(i).type : QString(), this);
        name->setProperty("controlId", 1004 + i);
        type->setProperty("controlId", i == 0 ? 1023 : 1024 + i);
        name->setMinimumWidth(160);
        grid->addWidget(name, i, 1);
        grid->addWidget(type, i, 2);
        m_names.append(name);
        m_types.append(type);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    grid->addWidget(buttons, kChannelListRows, 0, 1, 3);
}

QString CDlgCList::NameAt(int row) const
{
    return m_names.value(row) ? m_names.value(row)->text() : QString();
}

QString CDlgCList::TypeAt(int row) const
{
    return m_types.value(row) ? m_types.value(row)->text() : QString();
}

} // namespace orin
