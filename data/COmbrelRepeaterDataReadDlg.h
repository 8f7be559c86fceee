#pragma once

#include "data/ReadDataProcedure.h"
#include "data/ReadDataView.h"

#include "widgets/ExitGuardedDialog.h"

#include <memory>

class BusyAnimation;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// "Harvane – Read data": downloads the logger's memory over the cable.
class COmbrelRepeaterDataReadDlg final : public ExitGuardedDialog, private ReadDataView {
    Q_OBJECT
public:
    COmbrelRepeaterDataReadDlg(DeviceContext context, ReadDataProcedure::Hooks hooks,
                               QWidget* parent = nullptr);
    ~COmbrelRepeaterDataReadDlg() override;

    [[nodiscard]] ReadDataProcedure& procedure() { return *m_procedure; }
    QPushButton* readButton() const { return m_read; }
    QPushButton* exitButton() const { return m_exit; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* abortButton() const { return m_abort; }
    QProgressBar* progressBar() const { return m_progress; }
    QLabel* progressText() const { return m_progressText; }
    QPlainTextEdit* summaryText() const { return m_summary; }
    BusyAnimation* animation() const { return m_animation; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setBusy(bool busy) override;
    void setAbortEnabled(bool enabled) override;
    void showSummary(const QString& text) override;
    void setProgressRange(std::uint32_t total) override;
    void showProgress(std::uint64_t bytesRead, std::uint32_t stored, std::uint32_t total,
                      double bytesPerSecond) override;

    std::unique_ptr<ReadDataProcedure> m_procedure;
    QPushButton* m_read = nullptr;
    QPushButton* m_exit = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_abort = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_progressText = nullptr;
    QPlainTextEdit* m_summary = nullptr;
    BusyAnimation* m_animation = nullptr;
    std::uint32_t m_total = 0;
};
