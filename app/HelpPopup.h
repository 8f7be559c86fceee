#pragma once

#include <QFrame>

class QLabel;

// The small note a right-click help text is shown in: near the mouse, kept
// on the screen, closed by the next click or key.
class HelpPopup final : public QFrame {
    Q_OBJECT
public:
    HelpPopup(const QString& text, QWidget* parent = nullptr);

    // Shows it with its top-left corner at `globalPos`, or moved so that it
    // stays on the screen.
    void showAt(const QPoint& globalPos);
    [[nodiscard]] QString text() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* m_label = nullptr;
};
