#include "app/ContextHelpMode.h"

#include "app/ContextHelpTable.h"
#include "app/HelpSystem.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolButton>

namespace {

QAction* actionUnder(QMenu& menu, const QPoint& globalPos)
{
    return menu.actionAt(menu.mapFromGlobal(globalPos));
}

} // namespace

ContextHelpMode::ContextHelpMode(QMainWindow& window, HelpSystem& help)
    : QObject(&window), m_window(window), m_help(help)
{}

ContextHelpMode::~ContextHelpMode()
{
    if (m_active) {
        qApp->removeEventFilter(this);
        QApplication::restoreOverrideCursor();
    }
}

void ContextHelpMode::enter()
{
    if (m_active)
        return;
    m_active = true;
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    m_window.statusBar()->showMessage(QString::fromLatin1(Prompt));
}

void ContextHelpMode::leave()
{
    if (!m_active)
        return;
    m_active = false;
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    m_window.statusBar()->clearMessage();
}

QString ContextHelpMode::pageFor(QWidget* widget, const QPoint& globalPos) const
{
    if (auto* menu = qobject_cast<QMenu*>(widget)) {
        const QString page = m_help.actionPage(actionUnder(*menu, globalPos));
        if (!page.isEmpty())
            return page;
    }
    for (QWidget* at = widget; at != nullptr; at = at->parentWidget()) {
        if (const auto* button = qobject_cast<QToolButton*>(at)) {
            const QString page = m_help.actionPage(button->defaultAction());
            if (!page.isEmpty())
                return page;
        }
        const QString part = ContextHelpTable::partPage(at->objectName());
        if (!part.isEmpty())
            return part;
        if (at->isWindow()) {
            // A menu belongs to the window it opens from.
            if (qobject_cast<QMenu*>(at) != nullptr && at->parentWidget() != nullptr)
                return ContextHelpTable::windowPage(
                    QString::fromLatin1(at->parentWidget()->window()->metaObject()->className()));
            return ContextHelpTable::windowPage(QString::fromLatin1(at->metaObject()->className()));
        }
    }
    return {};
}

void ContextHelpMode::answer(const QString& page)
{
    leave();
    while (QWidget* open = QApplication::activePopupWidget())
        open->close();
    if (!page.isEmpty())
        m_help.showMainPage(page);
}

bool ContextHelpMode::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_active || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    auto* menu = qobject_cast<QMenu*>(widget);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (key.key() == Qt::Key_Escape) {
            // The key still closes an open menu.
            leave();
            return false;
        }
        // A menu entry chosen with the keyboard is explained, not run.
        if ((key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) && menu != nullptr &&
            menu->activeAction() != nullptr && menu->activeAction()->menu() == nullptr &&
            !menu->activeAction()->isSeparator()) {
            answer(m_help.actionPage(menu->activeAction()));
            return true;
        }
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        // The menu bar opens its menus as usual, and so do submenus.
        if (qobject_cast<QMenuBar*>(widget) != nullptr)
            return false;
        const QPoint at = static_cast<const QMouseEvent&>(*event).globalPosition().toPoint();
        if (menu != nullptr) {
            const QAction* action = actionUnder(*menu, at);
            return action == nullptr || action->menu() == nullptr;
        }
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (qobject_cast<QMenuBar*>(widget) != nullptr)
            return false;
        const QPoint at = static_cast<const QMouseEvent&>(*event).globalPosition().toPoint();
        if (menu != nullptr) {
            const QAction* action = actionUnder(*menu, at);
            if (action == nullptr || action->isSeparator())
                return true;
            if (action->menu() != nullptr)
                return false;
        }
        answer(pageFor(widget, at));
        return true;
    }
    case QEvent::StatusTip:
        // Menu prompts come and go; between them the mode's prompt stays.
        if (static_cast<const QStatusTipEvent&>(*event).tip().isEmpty()) {
            m_window.statusBar()->showMessage(QString::fromLatin1(Prompt));
            return true;
        }
        return false;
    default:
        return false;
    }
}
