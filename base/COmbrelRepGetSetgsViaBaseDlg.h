#pragma once

#include "base/BaseSettingsProcedure.h"
#include "base/BaseSettingsView.h"
#include "link/DeviceContext.h"
#include "logger/LoggerSettingsPanel.h"
#include "widgets/ExitGuardedDialog.h"

#include <memory>

class ImplantIdField;
class LoggersInVicinityGroup;
class QPushButton;

// "Harvane - Read Settings via Base Station": a distant logger's status read
// through the base station, shown in the same fields as the Logger Settings
// dialog and saved as a report; and the loggers in the vicinity.
class COmbrelRepGetSetgsViaBaseDlg final : public ExitGuardedDialog, private BaseSettingsView {
    Q_OBJECT
public:
    explicit COmbrelRepGetSetgsViaBaseDlg(DeviceContext context, QWidget* parent = nullptr);
    ~COmbrelRepGetSetgsViaBaseDlg() override;

    [[nodiscard]] BaseSettingsProcedure& procedure() { return *m_procedure; }
    [[nodiscard]] const LoggerSettingsPanel& panel() const { return *m_panel; }
    QPushButton* readButton() const { return m_read; }
    QPushButton* exitButton() const { return m_exit; }
    QPushButton* okButton() const { return m_ok; }
    ImplantIdField* implantField() const { return m_implant; }
    LoggersInVicinityGroup* vicinity() const { return m_vicinity; }

private:
    int takeImplantId() override;
    void setOtherControlsEnabled(bool enabled) override;
    void setReadCaption(const QString& caption) override;
    void setAnimation(bool running) override;
    void showValues() override;

    DeviceContext m_context;
    std::unique_ptr<LoggerSettingsPanel> m_panel;
    std::unique_ptr<BaseSettingsProcedure> m_procedure;
    QPushButton* m_read = nullptr;
    QPushButton* m_exit = nullptr;
    QPushButton* m_ok = nullptr;
    ImplantIdField* m_implant = nullptr;
    LoggersInVicinityGroup* m_vicinity = nullptr;
};
