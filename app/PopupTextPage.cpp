#include "app/PopupTextPage.h"

#include <QStringList>

PopupTextPage PopupTextPage::parse(const QByteArray& utf8)
{
    PopupTextPage page;
    std::optional<int> current;
    QStringList paragraphs;
    QString paragraph;
    auto endParagraph = [&] {
        if (!paragraph.isEmpty())
            paragraphs.append(paragraph);
        paragraph.clear();
    };
    auto endTopic = [&] {
        endParagraph();
        if (current && !paragraphs.isEmpty())
            page.m_texts[*current] = paragraphs.join(QStringLiteral("\n\n"));
        paragraphs.clear();
        current.reset();
    };
    const QStringList lines = QString::fromUtf8(utf8).split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1String(".topic"))) {
            endTopic();
            bool ok = false;
            const int topic = line.mid(6).trimmed().toInt(&ok);
            if (ok && line.size() > 6 && line[6].isSpace())
                current = topic;
            continue;
        }
        if (line.isEmpty()) {
            endParagraph();
        } else if (current) {
            if (!paragraph.isEmpty())
                paragraph += QLatin1Char(' ');
            paragraph += line;
        }
    }
    endTopic();
    return page;
}

std::optional<QString> PopupTextPage::text(int topic) const
{
    const auto found = m_texts.find(topic);
    if (found == m_texts.end())
        return std::nullopt;
    return found->second;
}

QList<int> PopupTextPage::topics() const
{
    QList<int> topics;
    for (const auto& entry : m_texts)
        topics.append(entry.first);
    return topics;
}
