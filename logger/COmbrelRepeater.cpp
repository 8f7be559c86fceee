#include "logger/COmbrelRepeater.h"

#include "app/CMainFrame.h"
#include "link/UserPrompts.h"
#include "logger/COmbrelRepeaterConfigDlg.h"

#include <QDialog>

COmbrelRepeater::COmbrelRepeater(CMainFrame& frame) : m_frame(frame) {}

int COmbrelRepeater::notBuiltYet(const QString& function)
{
    m_frame.services().prompts.showMessage(
        QStringLiteral("%1 is not available in this version of Harvane yet.").arg(function));
    return QDialog::Rejected;
}

int COmbrelRepeater::ShowReadDataDialog()
{
    return notBuiltYet(QStringLiteral("Read Data"));
}

int COmbrelRepeater::ShowSettingsDialog()
{
    COmbrelRepeaterConfigDlg dialog(m_frame.deviceContext(), &m_frame);
    return dialog.exec();
}

int COmbrelRepeater::ShowEraseDialog()
{
    return notBuiltYet(QStringLiteral("Erase Memory"));
}

int COmbrelRepeater::ShowHeadPositionDialog()
{
    return notBuiltYet(QStringLiteral("Set Head Pos Threshold"));
}

void COmbrelRepeater::DrawRecordPane(QPainter&, const CVelmoraDoc&)
{
    // The document holds no logged data yet, so there is nothing to draw.
}

void COmbrelRepeater::DrawHeartRatePane(QPainter&, const CVelmoraDoc&)
{
    // As the record pane.
}

bool COmbrelRepeater::SaveDataFile(const QString&)
{
    notBuiltYet(QStringLiteral("Saving data files"));
    return false;
}

bool COmbrelRepeater::OpenDataFile(const QString&)
{
    notBuiltYet(QStringLiteral("Opening data files"));
    return false;
}
