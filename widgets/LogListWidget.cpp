#include "widgets/LogListWidget.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

LogListWidget::LogListWidget(QWidget* parent, int cap)
    : QPlainTextEdit(parent), m_cap(std::max(1, cap))
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

int LogListWidget::count() const
{
    // An empty document still has one (empty) block.
    return document()->isEmpty() ? 0 : document()->blockCount();
}

QString LogListWidget::line(int row) const
{
    return row >= 0 && row < count() ? document()->findBlockByNumber(row).text() : QString();
}

QStringList LogListWidget::lines() const
{
    QStringList result;
    if (document()->isEmpty())
        return result;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        result.append(block.text());
    return result;
}

void LogListWidget::clear()
{
    QPlainTextEdit::clear();
    m_selected = -1;
    setExtraSelections({});
}

void LogListWidget::dropOldest(int lines)
{
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, lines);
    cursor.removeSelectedText();
}

void LogListWidget::highlight(int row)
{
    m_selected = row;
    if (row < 0) {
        setExtraSelections({});
        return;
    }
    // The whole line in the selection colours, as a list box shows its
    // selected entry.
    QTextEdit::ExtraSelection selection;
    selection.cursor = QTextCursor(document()->findBlockByNumber(row));
    selection.format.setBackground(palette().highlight());
    selection.format.setForeground(palette().highlightedText());
    selection.format.setProperty(QTextFormat::FullWidthSelection, true);
    setExtraSelections({selection});
}

void LogListWidget::appendLine(const QString& line, bool select)
{
    // The oldest lines go a tenth of the cap at a time: the view measures
    // all its lines again after each removal, so one removal for thousands
    // of lines rather than one for each.
    if (count() >= m_cap) {
        const int before = count();
        dropOldest(std::max(1, m_cap / 10));
        m_selected = std::max(-1, m_selected - (before - count()));
    }
    appendPlainText(line);
    // The new line is selected as a list box would select it and brought
    // into view; otherwise the selection stays on the line it was on.
    if (!select) {
        highlight(m_selected);
        return;
    }
    highlight(count() - 1);
    setTextCursor(QTextCursor(document()->lastBlock()));
    ensureCursorVisible();
}
