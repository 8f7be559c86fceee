#include "app/HelpSystem.h"

#include "app/HelpBook.h"
#include "app/HelpPopup.h"
#include "app/HelpWindow.h"
#include "app/PopupTextPage.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QWindow>

HelpSystem::HelpSystem(HelpFiles files, HelpBackend backend, QWidget* owner)
    : QObject(nullptr), m_files(std::move(files)), m_backend(std::move(backend)), m_owner(owner)
{
    qApp->installEventFilter(this);
}

HelpSystem::~HelpSystem()
{
    qApp->removeEventFilter(this);
    delete m_popup.data();
    m_ownWindow.reset();
    delete m_window.data();
}

QString HelpSystem::filePath(HelpFileKind kind) const
{
    return m_files.path(kind, m_backend.extension);
}

bool HelpSystem::viewerAvailable()
{
    if (!m_viewerAvailable)
        m_viewerAvailable = m_backend.available && m_backend.open && m_backend.available();
    return *m_viewerAvailable;
}

HelpBook* HelpSystem::book(HelpFileKind kind)
{
    if (!viewerAvailable())
        return nullptr;
    const QString path = QFileInfo(filePath(kind)).absoluteFilePath();
    const auto known = m_books.find(path);
    if (known != m_books.end())
        return known->second.get();
    ++m_openAttempts;
    std::unique_ptr<HelpBook> opened = m_backend.open(path);
    HelpBook* book = opened.get();
    m_books.emplace(path, std::move(opened));
    return book;
}

bool HelpSystem::present(HelpBook& book, const QUrl& url)
{
    if (url.isEmpty())
        return false;
    if (m_window == nullptr) {
        if (m_owner != nullptr) {
            m_window = new HelpWindow(m_owner);
        } else {
            m_ownWindow = std::make_unique<HelpWindow>();
            m_window = m_ownWindow.get();
        }
    }
    m_window->setBook(&book);
    m_window->showUrl(url);
    // Usable beside a dialog that is open: a window that belongs to the
    // dialog is not blocked by it.
    QWidget* above = QApplication::activeModalWidget();
    if (above == m_window)
        above = nullptr;
    if (above == nullptr && m_owner != nullptr)
        above = m_owner->window();
    auto belongTo = [this, above] {
        if (above != nullptr && m_window->windowHandle() != nullptr && above->windowHandle())
            m_window->windowHandle()->setTransientParent(above->windowHandle());
    };
    m_window->winId();
    if (above != nullptr)
        above->winId();
    belongTo();
    if (m_window->isMinimized())
        m_window->showNormal();
    else
        m_window->show();
    belongTo();
    m_window->raise();
    m_window->activateWindow();
    return true;
}

bool HelpSystem::showContents()
{
    HelpBook* main = book(HelpFileKind::Main);
    if (main == nullptr || !present(*main, main->homePage()))
        return false;
    m_window->showContentsTab();
    return true;
}

bool HelpSystem::showMainPage(const QString& page)
{
    return showPage(HelpFileKind::Main, page);
}

bool HelpSystem::showTopic(HelpFileKind file, int topic)
{
    HelpBook* found = book(file);
    return found != nullptr && present(*found, found->topicUrl(topic));
}

bool HelpSystem::showPage(HelpFileKind file, const QString& page)
{
    HelpBook* found = book(file);
    return found != nullptr && present(*found, found->pageUrl(page));
}

std::optional<QString> HelpSystem::popupText(const QString& popupPage, int topic)
{
    HelpBook* found = book(HelpFileKind::Program);
    if (found == nullptr)
        return std::nullopt;
    const QUrl url = found->pageUrl(QStringLiteral("popups/") + popupPage);
    if (url.isEmpty())
        return std::nullopt;
    return PopupTextPage::parse(found->fileData(url)).text(topic);
}

HelpPopup* HelpSystem::showPopup(const QString& text, const QPoint& globalPos)
{
    if (m_popup != nullptr)
        m_popup->close();
    m_popup = new HelpPopup(text);
    m_popup->showAt(globalPos);
    return m_popup;
}

HelpWindow* HelpSystem::window() const
{
    return m_window;
}

HelpPopup* HelpSystem::popup() const
{
    return m_popup;
}

void HelpSystem::closeWindow()
{
    if (m_window != nullptr)
        m_window->close();
}

void HelpSystem::setActionPages(std::function<QString(const QAction*)> pages)
{
    m_actionPages = std::move(pages);
}

QString HelpSystem::actionPage(const QAction* action) const
{
    return action != nullptr && m_actionPages ? m_actionPages(action) : QString();
}

HelpSystem::ControlAt HelpSystem::controlAt(QWidget* widget, const QWidget& dialog,
                                            const DialogHelpEntry& entry)
{
    // Up from the widget (a list's viewport, a time field's editor) to the
    // control it belongs to; labels, group boxes and the dialog itself have
    // no entry of their own.
    for (QWidget* at = widget; at != nullptr && at != &dialog; at = at->parentWidget()) {
        if (const ContextHelpControl* control = ContextHelpTable::control(entry, at->objectName()))
            return {at, control};
        if (at->isWindow())
            break;
    }
    return {};
}

int HelpSystem::focusedNumber(const QWidget& dialog, const DialogHelpEntry& entry)
{
    const ControlAt focused = controlAt(dialog.focusWidget(), dialog, entry);
    return focused.control != nullptr ? focused.control->number : entry.baseNumber;
}

void HelpSystem::dialogF1(QWidget& dialog, const DialogHelpEntry& entry)
{
    const int topic = ContextHelpTable::F1TopicBase + focusedNumber(dialog, entry);
    if (showTopic(entry.f1File, topic))
        return;
    // As F1 in the main window: the main help, at the same topic where it
    // holds it, else at the main window's page.
    if (entry.f1File != HelpFileKind::Main && showTopic(HelpFileKind::Main, topic))
        return;
    showMainPage(QString::fromLatin1(ContextHelpTable::MainWindowPage));
}

void HelpSystem::popupForFocus(QWidget& dialog, const DialogHelpEntry& entry)
{
    const ControlAt focused = controlAt(dialog.focusWidget(), dialog, entry);
    if (focused.control == nullptr || focused.control->popupTopic == 0)
        return;
    if (const auto text =
            popupText(QString::fromLatin1(entry.popupPage), focused.control->popupTopic))
        showPopup(*text, popupPlace(*focused.widget,
                                    focused.widget->mapToGlobal(focused.widget->rect().center())));
}

bool HelpSystem::onF1(QWidget* widget, const QKeyEvent& event)
{
    const bool shift = event.modifiers().testFlag(Qt::ShiftModifier);
    if (auto* menu = qobject_cast<QMenu*>(widget)) {
        // The highlighted command of an open menu.
        QString page = actionPage(menu->activeAction());
        if (page.isEmpty()) {
            const QWidget* owner = menu->parentWidget();
            page = owner != nullptr ? ContextHelpTable::windowPage(QString::fromLatin1(
                                          owner->window()->metaObject()->className()))
                                    : QString();
        }
        if (page.isEmpty())
            return false;
        while (QWidget* open = QApplication::activePopupWidget())
            open->close();
        showMainPage(page);
        return true;
    }
    QWidget* top = widget->window();
    const QString className = QString::fromLatin1(top->metaObject()->className());
    if (const DialogHelpEntry* entry = ContextHelpTable::dialog(className)) {
        // Shift+F1: what a right-click would explain, for the focused control.
        if (shift)
            popupForFocus(*top, *entry);
        else
            dialogF1(*top, *entry);
        return true;
    }
    const QString page = ContextHelpTable::windowPage(className);
    if (page.isEmpty() || shift)
        return false;
    showMainPage(page);
    return true;
}

bool HelpSystem::onContextMenu(QWidget* widget, const QContextMenuEvent& event)
{
    QWidget* top = widget->window();
    const DialogHelpEntry* entry =
        ContextHelpTable::dialog(QString::fromLatin1(top->metaObject()->className()));
    if (entry == nullptr)
        return false;
    const bool fromKeyboard = event.reason() == QContextMenuEvent::Keyboard;
    const ControlAt at = controlAt(fromKeyboard ? top->focusWidget() : widget, *top, *entry);
    if (at.control == nullptr || at.control->popupTopic == 0)
        return false; // not help's: the control keeps its own menu, if it has one
    const auto text = popupText(QString::fromLatin1(entry->popupPage), at.control->popupTopic);
    if (!text)
        return false;
    const QPoint where =
        fromKeyboard ? at.widget->mapToGlobal(at.widget->rect().center()) : event.globalPos();
    QMenu menu(top);
    menu.setObjectName(QStringLiteral("WhatsThisMenu"));
    const QAction* whatsThis = menu.addAction(tr("What's This?"));
    if (menu.exec(where) == whatsThis)
        showPopup(*text, popupPlace(*at.widget, where));
    return true;
}

QPoint HelpSystem::popupPlace(const QWidget& control, const QPoint& clickedAt)
{
    // Under a button or a field, so that what it explains stays in sight;
    // in a large control (a list) where it was clicked.
    const int below = control.mapToGlobal(QPoint(0, control.height())).y();
    if (below - clickedAt.y() > 3 * control.fontMetrics().height())
        return clickedAt;
    return {clickedAt.x(), below};
}

bool HelpSystem::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (key.key() != Qt::Key_F1 || key.isAutoRepeat() || !watched->isWidgetType())
            return false;
        return onF1(static_cast<QWidget*>(watched), key);
    }
    case QEvent::ContextMenu:
        if (!watched->isWidgetType())
            return false;
        return onContextMenu(static_cast<QWidget*>(watched),
                             static_cast<const QContextMenuEvent&>(*event));
    default:
        return false;
    }
}
