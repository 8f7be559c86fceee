#pragma once

#include "base/BaseRevisionProcedure.h"
#include "link/DeviceContext.h"
#include "widgets/ExitGuardedDialog.h"

#include <memory>

class QLineEdit;
class QPushButton;

// "Harvane - Read Base Station Revision": the base station's firmware and
// hardware revision texts.
class COmbrelRepReadBaseRevDlg final : public ExitGuardedDialog {
    Q_OBJECT
public:
    explicit COmbrelRepReadBaseRevDlg(DeviceContext context, QWidget* parent = nullptr);
    ~COmbrelRepReadBaseRevDlg() override;

    [[nodiscard]] BaseRevisionProcedure& procedure() { return *m_procedure; }
    QPushButton* readButton() const { return m_read; }
    QPushButton* exitButton() const { return m_exit; }
    QPushButton* okButton() const { return m_ok; }
    QLineEdit* firmwareField() const { return m_firmware; }
    QLineEdit* hardwareField() const { return m_hardware; }

private:
    std::unique_ptr<BaseRevisionProcedure> m_procedure;
    QPushButton* m_read = nullptr;
    QPushButton* m_exit = nullptr;
    QPushButton* m_ok = nullptr;
    QLineEdit* m_firmware = nullptr;
    QLineEdit* m_hardware = nullptr;
};
