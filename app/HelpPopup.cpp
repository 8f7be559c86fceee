#include "app/HelpPopup.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

HelpPopup::HelpPopup(const QString& text, QWidget* parent) : QFrame(parent, Qt::Popup)
{
    setObjectName(QStringLiteral("HelpPopup"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    // The colours of a tool tip: the note looks like what it is, a short
    // explanation, not a window to work in.
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
    setPalette(colours);
    m_label = new QLabel(text, this);
    m_label->setObjectName(QStringLiteral("HelpPopupText"));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setWordWrap(true);
    const int width = m_label->fontMetrics().averageCharWidth() * 48;
    m_label->setFixedWidth(width);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->addWidget(m_label);
}

QString HelpPopup::text() const
{
    return m_label->text();
}

void HelpPopup::showAt(const QPoint& globalPos)
{
    adjustSize();
    QPoint at = globalPos + QPoint(2, 2);
    if (const QScreen* screen = QGuiApplication::screenAt(globalPos)) {
        const QRect area = screen->availableGeometry();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width())));
        if (at.y() + height() > area.bottom())
            at.setY(std::max(area.top(), globalPos.y() - height() - 2));
    }
    move(at);
    show();
}

void HelpPopup::mousePressEvent(QMouseEvent* event)
{
    QFrame::mousePressEvent(event);
    close();
}

void HelpPopup::keyPressEvent(QKeyEvent* event)
{
    QFrame::keyPressEvent(event);
    close();
}
