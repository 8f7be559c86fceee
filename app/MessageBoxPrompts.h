#pragma once

#include "link/UserPrompts.h"

#include <QPointer>
#include <QWidget>

// Prompts as message boxes on top of the given window.
class MessageBoxPrompts final : public UserPrompts {
public:
    explicit MessageBoxPrompts(QWidget* parent = nullptr) : m_parent(parent) {}

    void setParent(QWidget* parent) { m_parent = parent; }

    void showMessage(const QString& text) override;
    YesNoAnswer askYesNo(const QString& question) override;
    SaveChangesAnswer askSaveChanges(const QString& documentName) override;

private:
    QPointer<QWidget> m_parent;
};
