#pragma once

#include <QWidget>

#include <memory>

class Pump;
class PumpTimer;

// The logo shown while the program starts: borderless, centred, above the
// main window, with no task-bar entry. It closes itself after 5 seconds.
class CSplashWnd final : public QWidget {
    Q_OBJECT
public:
    static constexpr std::uint32_t LifetimeMs = 5000;

    explicit CSplashWnd(Pump& pump);
    ~CSplashWnd() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<PumpTimer> m_timer;
};
