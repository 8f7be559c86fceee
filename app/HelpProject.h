#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// A Qt Help project (.qhp) as read from its XML: the namespace and virtual
// folder that make up the pages' addresses, the contents tree, the index
// keywords (with the F1 identifiers) and the files. The plain-HTML viewer
// reads it where a compiled collection is not available.
class HelpProject {
public:
    struct Section {
        QString title;
        QString ref; // "page.html" or "page.html#anchor", relative to the virtual folder
        std::vector<Section> children;
    };
    struct Keyword {
        QString name;
        QString id; // empty, or an F1 identifier
        QString ref;
    };

    // An empty project (no namespace) when the text is not a help project.
    static HelpProject parse(const QByteArray& xml);

    [[nodiscard]] bool isValid() const { return !m_namespace.isEmpty(); }
    [[nodiscard]] QString nameSpace() const { return m_namespace; }
    [[nodiscard]] QString virtualFolder() const { return m_virtualFolder; }
    [[nodiscard]] const std::vector<Section>& contents() const { return m_contents; }
    [[nodiscard]] const std::vector<Keyword>& keywords() const { return m_keywords; }
    [[nodiscard]] const QStringList& files() const { return m_files; }

private:
    QString m_namespace;
    QString m_virtualFolder;
    std::vector<Section> m_contents;
    std::vector<Keyword> m_keywords;
    QStringList m_files;
};
