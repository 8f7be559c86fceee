#include "base/ImplantIdField.h"

#include "link/UserPrompts.h"

ImplantIdField::ImplantIdField(QWidget* parent) : QLineEdit(parent)
{
    setText(QString::number(m_value));
    setMaximumWidth(80);
}

int ImplantIdField::take(UserPrompts& prompts)
{
    bool ok = false;
    const int value = text().trimmed().toInt(&ok);
    if (ok) {
        m_value = value;
    } else {
        prompts.showMessage(tr("Enter an integer."));
        setText(QString::number(m_value));
    }
    return m_value;
}
