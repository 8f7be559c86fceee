#pragma once

#include <QObject>
#include <QPointer>

class HelpSystem;
class QAction;
class QMainWindow;
class QPoint;
class QWidget;

// The main window's help mode (Shift+F1, the "?" button): the status bar
// asks for an object, and the next click on a menu entry, a toolbar button
// or a part of the window opens its help instead of doing anything. Esc
// leaves the mode without help.
class ContextHelpMode final : public QObject {
    Q_OBJECT
public:
    static constexpr auto Prompt = "Select an object on which to get Help";

    ContextHelpMode(QMainWindow& window, HelpSystem& help);
    ~ContextHelpMode() override;

    void enter();
    void leave();
    [[nodiscard]] bool isActive() const { return m_active; }

    // The page a click on `widget` (at `globalPos`) asks for; empty when the
    // click is on nothing with help.
    [[nodiscard]] QString pageFor(QWidget* widget, const QPoint& globalPos) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void answer(const QString& page);

    QMainWindow& m_window;
    HelpSystem& m_help;
    bool m_active = false;
};
