#pragma once

#include <QGroupBox>

class ImplantIdField;
class QPushButton;

// "Logger Control" in the base-station dialogs that reach a logger: the
// dialog's main button ("Read Settings", "Read Data") and "Pick Implant ID:".
class LoggerControlGroup final : public QGroupBox {
    Q_OBJECT
public:
    LoggerControlGroup(const QString& buttonCaption, QWidget* parent = nullptr);

    QPushButton* button() const { return m_button; }
    ImplantIdField* implantField() const { return m_implant; }

private:
    QPushButton* m_button = nullptr;
    ImplantIdField* m_implant = nullptr;
};
