#pragma once

#include <QTimer>
#include <QWidget>

// Turning cogs, played while a dialog talks to a device. Drawn by the
// program itself, so there is no clip file to lose. Stopped, it is empty.
class BusyAnimation final : public QWidget {
    Q_OBJECT
public:
    explicit BusyAnimation(QWidget* parent = nullptr);

    void start();
    void stop();
    [[nodiscard]] bool isRunning() const { return m_running; }
    [[nodiscard]] int frame() const { return m_frame; }

    [[nodiscard]] QSize sizeHint() const override { return {80, 48}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer m_timer;
    int m_frame = 0;
    bool m_running = false;
};
