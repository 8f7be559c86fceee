#pragma once

#include <QPixmap>
#include <QWidget>

// A state lamp: one 32 x 32 cell of a picture strip, drawn with a
// transparent background over whatever the dialog shows behind it. Centred
// in the control when the control is at least 32 x 32, otherwise drawn from
// its top-left corner and cut off.
class CLed final : public QWidget {
    Q_OBJECT
public:
    // Row offsets of the colours and shapes in the strip, columns of the modes.
    enum Color { Red = 0, Green = 32, Yellow = 64, Blue = 96 };
    enum Shape { Circular = 0, Square = 128 };
    enum Mode { On = 0, Off = 1, Disabled = 2 };

    static constexpr int CellSize = 32;
    static constexpr int StripWidth = 96;
    static constexpr int StripHeight = 256;
    // The transparent colour of the strip.
    static constexpr QRgb Transparent = 0xFFFF00FF;

    explicit CLed(QWidget* parent = nullptr);

    // Stores the state and draws it at once.
    void setLed(int color, int mode, int shape);
    [[nodiscard]] int ledColor() const { return m_color; }
    [[nodiscard]] int ledMode() const { return m_mode; }
    [[nodiscard]] int ledShape() const { return m_shape; }

    // Where a state's picture lies in the strip.
    static QRect cellRect(int color, int mode, int shape);
    // Where the lamp is drawn in a control of the given size.
    static QRect targetRect(const QSize& controlSize);
    // The strip: 3 columns (on, off, disabled) by 8 rows (red, green,
    // yellow, blue circular, then the same square), magenta around.
    static QImage makeStrip();

    [[nodiscard]] QSize sizeHint() const override { return {CellSize, CellSize}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_strip;
    int m_color = Red;
    int m_mode = Off;
    int m_shape = Circular;
};
