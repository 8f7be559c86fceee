#pragma once

#include "base/ReportWatch.h"
#include "base/ReportWatchView.h"

#include <QGroupBox>

#include <functional>
#include <memory>

class BusyAnimation;
class LogListWidget;
class QPushButton;

// "Loggers in vicinity", in both base-station dialogs that reach a logger:
// the list of the loggers the base station hears, "Start Observation" and
// "Delete Log". The dialog says which of its controls the observation
// disables and lends its busy animation.
class LoggersInVicinityGroup final : public QGroupBox, private ReportWatchView {
    Q_OBJECT
public:
    LoggersInVicinityGroup(DeviceContext context, ReportWatch::Settings settings,
                           std::function<void(bool enabled)> setDialogControlsEnabled,
                           BusyAnimation* animation, QWidget* parent = nullptr);
    ~LoggersInVicinityGroup() override;

    [[nodiscard]] ReportWatch& watch() { return *m_watch; }
    QPushButton* startButton() const { return m_start; }
    QPushButton* deleteLogButton() const { return m_deleteLog; }
    LogListWidget* list() const { return m_list; }
    // The dialog's own run disables the group's buttons meanwhile.
    void setButtonsEnabled(bool enabled);

private:
    void setControlsEnabled(bool enabled) override;
    void setCaption(const QString& caption) override;
    void setAnimation(bool running) override;
    void appendLine(const QString& line) override;

    std::function<void(bool)> m_setDialogControlsEnabled;
    BusyAnimation* m_animation;
    std::unique_ptr<ReportWatch> m_watch;
    LogListWidget* m_list = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_deleteLog = nullptr;
};
