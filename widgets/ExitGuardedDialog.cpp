#include "widgets/ExitGuardedDialog.h"

#include <QCloseEvent>
#include <QPushButton>

bool ExitGuardedDialog::mayClose() const
{
    return m_exit == nullptr || m_exit->isEnabled();
}

void ExitGuardedDialog::reject()
{
    if (mayClose())
        QDialog::reject();
}

void ExitGuardedDialog::closeEvent(QCloseEvent* event)
{
    if (mayClose())
        QDialog::closeEvent(event);
    else
        event->ignore();
}
