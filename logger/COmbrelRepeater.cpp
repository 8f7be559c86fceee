#include "logger/COmbrelRepeater.h"
#include <QCoreApplication>

#include "app/CMainFrame.h"
#include "app/CVelmoraDoc.h"
#include "data/COmbrelRepeaterDataReadDlg.h"
#include "data/CsvExport.h"
#include "data/DataFile.h"
#include "data/PaneDrawing.h"
#include "link/Pump.h"
#include "link/UserPrompts.h"
#include "logger/COmbrelRepeaterAskBeforeErase.h"
#include "logger/COmbrelRepeaterConfigDlg.h"
#include "logger/COmbrelRepeaterSetZAxisThresDlg.h"

#include <QDialog>

COmbrelRepeater::COmbrelRepeater(CMainFrame& frame) : m_frame(frame) {}

int COmbrelRepeater::ShowReadDataDialog()
{
    ReadDataProcedure::Hooks hooks;
    hooks.saveModified = [this] { return m_frame.saveModified(); };
    hooks.installData = [this](DataDocument data) {
        m_frame.document().installDownload(std::move(data));
    };
    COmbrelRepeaterDataReadDlg dialog(m_frame.deviceContext(), std::move(hooks), &m_frame);
    return dialog.exec();
}

int COmbrelRepeater::ShowSettingsDialog()
{
    COmbrelRepeaterConfigDlg dialog(m_frame.deviceContext(), &m_frame);
    return dialog.exec();
}

int COmbrelRepeater::ShowEraseDialog()
{
    COmbrelRepeaterAskBeforeErase dialog(m_frame.deviceContext(), &m_frame);
    return dialog.exec();
}

int COmbrelRepeater::ShowHeadPositionDialog()
{
    COmbrelRepeaterSetZAxisThresDlg dialog(m_frame.deviceContext(), &m_frame);
    return dialog.exec();
}

CivilTime COmbrelRepeater::pcClock() const
{
    return CivilTime::fromDateTime(m_frame.services().pump.currentDateTime());
}

void COmbrelRepeater::DrawRecordPane(QPainter& painter, const CVelmoraDoc& document)
{
    PaneDrawing::drawRecords(painter, document.data(), pcClock());
}

void COmbrelRepeater::DrawHeartRatePane(QPainter& painter, const CVelmoraDoc& document)
{
    PaneDrawing::drawGroups(painter, document.data(), pcClock());
}

bool COmbrelRepeater::SaveDataFile(const QString& path)
{
    CVelmoraDoc& document = m_frame.document();
    UserPrompts& prompts = m_frame.services().prompts;
    if (!document.hasData()) {
        prompts.showMessage(QCoreApplication::translate(
            "COmbrelRepeater", "No current logger data to be saved to file!"));
        return false;
    }
    QString error;
    if (!DataFile::save(path, document.data(), &error)) {
        prompts.showMessage(error);
        return false;
    }
    if (!CsvExport::write(document.data(), CsvExport::exportPath(path, QStringLiteral("BT")),
                          CsvExport::exportPath(path, QStringLiteral("HB")), pcClock(), &error)) {
        prompts.showMessage(error);
        return false;
    }
    document.setModifiedFlag(false);
    return true;
}

bool COmbrelRepeater::OpenDataFile(const QString& path)
{
    DataFile::Loaded loaded = DataFile::load(path);
    if (!loaded.document) {
        m_frame.services().prompts.showMessage(loaded.error);
        return false;
    }
    m_frame.document().replaceData(std::move(*loaded.document), false);
    return true;
}
