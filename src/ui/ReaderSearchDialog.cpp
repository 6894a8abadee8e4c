#include "ui/ReaderSearchDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "base/StringTable.h"

namespace kestrel {

ReaderSearchDialog::ReaderSearchDialog(QWidget* parent) : QDialog(parent), m_candidate(new QLineEdit(this))
{
    setWindowTitle(StringTable::text(sid::FindCardPeripheral_9511));
    setModal(false);
    m_candidate->setObjectName(QStringLiteral("candidate"));
    m_candidate->setReadOnly(true);
    m_candidate->setMinimumWidth(180);

    auto* label = new QLabel(StringTable::text(sid::LocatingReaderOn_9512), this);
    label->setBuddy(m_candidate);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_candidate, 1);
}

void ReaderSearchDialog::showCandidate(const QString& device)
{
    m_candidate->setText(device);
    repaint();
}

QString ReaderSearchDialog::candidate() const
{
    return m_candidate->text();
}

} // namespace kestrel
