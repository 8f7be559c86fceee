#pragma once

#include <QAbstractScrollArea>

#include <functional>

class CLogger;
class CVelmoraDoc;
class QPrinter;

// The left pane: one line per record of the logged data. After New and Open
// it scrolls over a 100 x 100 area; after a download it stretches an
// 800 x 800 area to fit the pane.
class CVelmoraView : public QAbstractScrollArea {
    Q_OBJECT
public:
    using LoggerLookup = std::function<CLogger*()>;
    enum class Mode { Scroll, ScaleToFit };

    static constexpr int ScrollSize = 100;
    static constexpr int FitSize = 800;
    static constexpr int MaxPrintPages = 6;

    CVelmoraView(CVelmoraDoc& document, LoggerLookup logger, QWidget* parent = nullptr);

    [[nodiscard]] CVelmoraDoc& document() const { return m_document; }
    [[nodiscard]] Mode mode() const { return m_mode; }

    // Prints the record list: each page continues where the one before
    // ended, at most six pages. Returns the number of pages printed.
    int printRecords(QPrinter& printer);
    // Lines on one printed page of the given printer.
    static int linesPerPage(QPrinter& printer);

Q_SIGNALS:
    // The user clicked into the pane or moved the focus to it.
    void activated();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // What the pane draws; the right pane draws the heart-rate groups.
    virtual void drawPane(CLogger& logger, QPainter& painter);
    virtual void onDocumentChanged(bool initial);

    void setMode(Mode mode);
    LoggerLookup m_logger;

private:
    void updateScrollBars();

    CVelmoraDoc& m_document;
    Mode m_mode = Mode::Scroll;
};
