#include "base/LoggerControlGroup.h"

#include "base/ImplantIdField.h"

#include <QFormLayout>
#include <QPushButton>

LoggerControlGroup::LoggerControlGroup(const QString& buttonCaption, QWidget* parent)
    : QGroupBox(tr("Logger Control"), parent)
{
    m_button = new QPushButton(buttonCaption, this);
    m_button->setAutoDefault(false);
    m_implant = new ImplantIdField(this);
    m_button->setObjectName(QStringLiteral("ReadButton"));
    m_implant->setObjectName(QStringLiteral("PickImplantField"));
    auto* layout = new QFormLayout(this);
    layout->addRow(m_button);
    layout->addRow(tr("Pick Implant ID:"), m_implant);
}
