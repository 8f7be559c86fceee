#include "app/MessageBoxPrompts.h"
#include <QCoreApplication>

#include "app/CYesNoDlg.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QWidget* ownerFor(QWidget* parent)
{
    // A modal dialog that is open owns the message, so it stays on top of it.
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return parent;
}

} // namespace

void MessageBoxPrompts::showMessage(const QString& text)
{
    QMessageBox::information(ownerFor(m_parent), QApplication::applicationDisplayName(), text);
}

YesNoAnswer MessageBoxPrompts::askYesNo(const QString& question)
{
    CYesNoDlg dialog(question, ownerFor(m_parent));
    switch (dialog.exec()) {
    case CYesNoDlg::ResultYes:
        return YesNoAnswer::Yes;
    case CYesNoDlg::ResultNo:
        return YesNoAnswer::No;
    default:
        return YesNoAnswer::Dismissed;
    }
}

SaveChangesAnswer MessageBoxPrompts::askSaveChanges(const QString& documentName)
{
    const auto answer = QMessageBox::question(
        ownerFor(m_parent), QApplication::applicationDisplayName(),
        QCoreApplication::translate("MessageBoxPrompts", "Save changes to %1?").arg(documentName),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        return SaveChangesAnswer::Save;
    if (answer == QMessageBox::No)
        return SaveChangesAnswer::Discard;
    return SaveChangesAnswer::Cancel;
}
