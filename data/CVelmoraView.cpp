#include "data/CVelmoraView.h"

#include "app/CVelmoraDoc.h"
#include "logger/CLogger.h"

#include <QPainter>

CVelmoraView::CVelmoraView(CVelmoraDoc& document, LoggerLookup logger, QWidget* parent)
    : QAbstractScrollArea(parent), m_logger(std::move(logger)), m_document(document)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    connect(&m_document, &CVelmoraDoc::dataChanged, viewport(), qOverload<>(&QWidget::update));
}

void CVelmoraView::paintEvent(QPaintEvent*)
{
    CLogger* logger = m_logger ? m_logger() : nullptr;
    if (logger == nullptr)
        return;
    QPainter painter(viewport());
    drawPane(*logger, painter);
}

void CVelmoraView::drawPane(CLogger& logger, QPainter& painter)
{
    logger.DrawRecordPane(painter, m_document);
}

void CVelmoraView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    Q_EMIT activated();
}

void CVelmoraView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    Q_EMIT activated();
    QAbstractScrollArea::mousePressEvent(event);
}
