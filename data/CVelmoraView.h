#pragma once

#include <QAbstractScrollArea>

#include <functional>

class CLogger;
class CVelmoraDoc;

// The left pane: one line per record of the logged data.
class CVelmoraView : public QAbstractScrollArea {
    Q_OBJECT
public:
    using LoggerLookup = std::function<CLogger*()>;

    CVelmoraView(CVelmoraDoc& document, LoggerLookup logger, QWidget* parent = nullptr);

    [[nodiscard]] CVelmoraDoc& document() const { return m_document; }

Q_SIGNALS:
    // The user clicked into the pane or moved the focus to it.
    void activated();

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // What the pane draws; the right pane draws the heart-rate groups.
    virtual void drawPane(CLogger& logger, QPainter& painter);

    LoggerLookup m_logger;

private:
    CVelmoraDoc& m_document;
};
