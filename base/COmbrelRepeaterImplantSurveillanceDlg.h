#pragma once

#include "base/ReportWatch.h"
#include "base/ReportWatchView.h"
#include "link/DeviceContext.h"
#include "widgets/ExitGuardedDialog.h"

#include <memory>

class BusyAnimation;
class LogListWidget;
class QPushButton;

// "Implant Surveillance": what the base station hears from implants, body
// temperatures and switching on and off, listed and logged to "ImplantLog".
class COmbrelRepeaterImplantSurveillanceDlg final : public ExitGuardedDialog,
                                                    private ReportWatchView {
    Q_OBJECT
public:
    explicit COmbrelRepeaterImplantSurveillanceDlg(DeviceContext context,
                                                   QWidget* parent = nullptr);
    ~COmbrelRepeaterImplantSurveillanceDlg() override;

    [[nodiscard]] ReportWatch& watch() { return *m_watch; }
    QPushButton* surveillanceButton() const { return m_start; }
    QPushButton* deleteLogButton() const { return m_deleteLog; }
    QPushButton* exitButton() const { return m_exit; }
    QPushButton* cancelButton() const { return m_cancel; }
    LogListWidget* list() const { return m_list; }
    BusyAnimation* animation() const { return m_animation; }

private:
    void setControlsEnabled(bool enabled) override;
    void setCaption(const QString& caption) override;
    void setAnimation(bool running) override;
    void appendLine(const QString& line) override;

    std::unique_ptr<ReportWatch> m_watch;
    LogListWidget* m_list = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_deleteLog = nullptr;
    QPushButton* m_exit = nullptr;
    QPushButton* m_cancel = nullptr;
    BusyAnimation* m_animation = nullptr;
};
