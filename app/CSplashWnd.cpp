#include "app/CSplashWnd.h"

#include "app/WarningPicture.h"
#include "link/Pump.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

CSplashWnd::CSplashWnd(Pump& pump)
    : QWidget(nullptr,
              Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      m_timer(pump.createTimer([this] {
          m_timer->stop();
          close();
          deleteLater();
      }))
{
    setObjectName(QStringLiteral("SplashWindow"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(180, 180);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    m_timer->start(LifetimeMs);
}

CSplashWnd::~CSplashWnd() = default;

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, logoPicture(180));
}
