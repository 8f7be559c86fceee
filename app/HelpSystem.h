#pragma once

#include "app/ContextHelpTable.h"
#include "app/HelpBackend.h"
#include "app/HelpFiles.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class HelpBook;
class HelpPopup;
class HelpWindow;
class QAction;
class QContextMenuEvent;
class QKeyEvent;
class QUrl;
class QWidget;

// The program's help for the run: it opens the help files (each once; one
// that cannot be opened is remembered and not tried again, and a viewer that
// cannot work here turns help off), shows pages in the one help window, and
// answers F1 and right-clicks anywhere in the program:
//
// - F1 in a dialog with help asks its help file for the focused control's
//   topic; when the file or the topic is missing, the main help answers as
//   F1 in the main window would (at the same topic where it holds it).
// - A right-click on a control with a right-click text offers "What's
//   This?", which shows the text in a small popup; elsewhere nothing.
// - F1 in an open menu explains the highlighted command; F1 in a window with
//   a page of its own opens that page.
//
// Help never shows an error: what cannot be found leaves the screen as it is.
class HelpSystem final : public QObject {
    Q_OBJECT
public:
    // What a right-click or F1 in a dialog is about.
    struct ControlAt {
        QWidget* widget = nullptr;
        const ContextHelpControl* control = nullptr;
    };

    // `owner` is the window the help window belongs to (it closes with it).
    HelpSystem(HelpFiles files, HelpBackend backend, QWidget* owner = nullptr);
    ~HelpSystem() override;

    [[nodiscard]] const HelpFiles& files() const { return m_files; }
    [[nodiscard]] QString filePath(HelpFileKind kind) const;

    // Help > Help Topics: the main help's contents.
    bool showContents();
    // The main help at a page ("page.html#anchor").
    bool showMainPage(const QString& page);
    // A topic or page of a help file. False, with nothing shown, when the
    // viewer, the file or the topic is missing.
    bool showTopic(HelpFileKind file, int topic);
    bool showPage(HelpFileKind file, const QString& page);
    // A right-click text of a popup page in the program folder's help file.
    [[nodiscard]] std::optional<QString> popupText(const QString& popupPage, int topic);
    HelpPopup* showPopup(const QString& text, const QPoint& globalPos);
    // Where the note about `control`, asked for at `clickedAt`, goes.
    [[nodiscard]] static QPoint popupPlace(const QWidget& control, const QPoint& clickedAt);

    // F1 in a dialog with help.
    void dialogF1(QWidget& dialog, const DialogHelpEntry& entry);
    // The number F1 asks for in that dialog now: the focused control's,
    // else the dialog's own.
    [[nodiscard]] static int focusedNumber(const QWidget& dialog, const DialogHelpEntry& entry);
    // The listed control that `widget` is or lies in, up to the dialog.
    [[nodiscard]] static ControlAt controlAt(QWidget* widget, const QWidget& dialog,
                                             const DialogHelpEntry& entry);

    // How the page of a command is found; the main window sets it.
    void setActionPages(std::function<QString(const QAction*)> pages);
    [[nodiscard]] QString actionPage(const QAction* action) const;

    // The help window, once something has been shown.
    [[nodiscard]] HelpWindow* window() const;
    void closeWindow();
    [[nodiscard]] HelpPopup* popup() const;
    // Whether the viewer could not be loaded: help is then off for the run.
    [[nodiscard]] bool viewerFailed() const { return m_viewerAvailable == false; }
    // How often a help file was opened, or tried: each at most once a run.
    [[nodiscard]] int openAttempts() const { return m_openAttempts; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[nodiscard]] bool viewerAvailable();
    HelpBook* book(HelpFileKind kind);
    bool present(HelpBook& book, const QUrl& url);
    bool onF1(QWidget* widget, const QKeyEvent& event);
    bool onContextMenu(QWidget* widget, const QContextMenuEvent& event);
    void popupForFocus(QWidget& dialog, const DialogHelpEntry& entry);

    HelpFiles m_files;
    HelpBackend m_backend;
    QPointer<QWidget> m_owner;
    std::optional<bool> m_viewerAvailable;
    // Null: the file could not be opened; it is not tried again.
    std::map<QString, std::unique_ptr<HelpBook>> m_books;
    QPointer<HelpWindow> m_window;
    std::unique_ptr<HelpWindow> m_ownWindow; // when there is no owner
    QPointer<HelpPopup> m_popup;
    std::function<QString(const QAction*)> m_actionPages;
    int m_openAttempts = 0;
};
