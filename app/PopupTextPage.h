#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <map>
#include <optional>

// A page of right-click texts as the help file holds them: a line ".topic N"
// starts the text of topic N, which runs to the next such line. Lines of one
// paragraph are joined; an empty line starts a new paragraph.
class PopupTextPage {
public:
    static PopupTextPage parse(const QByteArray& utf8);

    [[nodiscard]] std::optional<QString> text(int topic) const;
    [[nodiscard]] QList<int> topics() const;
    [[nodiscard]] bool isEmpty() const { return m_texts.empty(); }

private:
    std::map<int, QString> m_texts;
};
