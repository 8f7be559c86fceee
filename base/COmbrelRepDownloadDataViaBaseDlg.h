#pragma once

#include "base/BaseDownloadProcedure.h"
#include "base/BaseDownloadView.h"
#include "link/DeviceContext.h"
#include "widgets/ExitGuardedDialog.h"

#include <memory>

class BusyAnimation;
class ImplantIdField;
class LoggersInVicinityGroup;
class QLabel;
class QProgressBar;
class QPushButton;

// "Harvane - Read Data via Base Station": downloads a distant logger's
// memory in checked chunks into its repository file, resuming where the last
// download of the pair stopped, and shows the result in the main window; and
// the loggers in the vicinity.
class COmbrelRepDownloadDataViaBaseDlg final : public ExitGuardedDialog, private BaseDownloadView {
    Q_OBJECT
public:
    COmbrelRepDownloadDataViaBaseDlg(DeviceContext context, BaseDownloadProcedure::Hooks hooks,
                                     QWidget* parent = nullptr);
    ~COmbrelRepDownloadDataViaBaseDlg() override;

    [[nodiscard]] BaseDownloadProcedure& procedure() { return *m_procedure; }
    QPushButton* readButton() const { return m_read; }
    QPushButton* exitButton() const { return m_exit; }
    QPushButton* okButton() const { return m_ok; }
    ImplantIdField* implantField() const { return m_implant; }
    QProgressBar* progressBar() const { return m_progress; }
    QLabel* transferText() const { return m_transfer; }
    QLabel* statusText() const { return m_status; }
    QLabel* sinceLastPacketText() const { return m_sinceLast; }
    QLabel* elapsedText() const { return m_elapsed; }
    BusyAnimation* animation() const { return m_animation; }
    LoggersInVicinityGroup* vicinity() const { return m_vicinity; }

private:
    int takeImplantId() override;
    void setOtherControlsEnabled(bool enabled) override;
    void setReadEnabled(bool enabled) override;
    void setReadCaption(const QString& caption) override;
    void setAnimation(bool running) override;
    void setStatusText(const QString& text) override;
    void setTimeTexts(const QString& sinceLastPacket, const QString& sinceStart) override;
    void setProgressRange(std::uint32_t maximum) override;
    void setProgress(std::uint32_t value) override;
    void showTransfer(std::uint32_t stored, std::uint32_t total, double bytesPerSecond) override;

    DeviceContext m_context;
    std::unique_ptr<BaseDownloadProcedure> m_procedure;
    QPushButton* m_read = nullptr;
    QPushButton* m_exit = nullptr;
    QPushButton* m_ok = nullptr;
    ImplantIdField* m_implant = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_transfer = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_sinceLast = nullptr;
    QLabel* m_elapsed = nullptr;
    BusyAnimation* m_animation = nullptr;
    LoggersInVicinityGroup* m_vicinity = nullptr;
    std::uint32_t m_progressMaximum = 1;
};
