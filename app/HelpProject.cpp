#include "app/HelpProject.h"

#include <QXmlStreamReader>

namespace {

void readSections(QXmlStreamReader& xml, std::vector<HelpProject::Section>& into)
{
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("section")) {
            xml.skipCurrentElement();
            continue;
        }
        HelpProject::Section section;
        section.title = xml.attributes().value(QLatin1String("title")).toString();
        section.ref = xml.attributes().value(QLatin1String("ref")).toString();
        readSections(xml, section.children);
        into.push_back(std::move(section));
    }
}

} // namespace

HelpProject HelpProject::parse(const QByteArray& xmlText)
{
    HelpProject project;
    QXmlStreamReader xml(xmlText);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("QtHelpProject"))
        return {};
    while (xml.readNextStartElement()) {
        const auto name = xml.name();
        if (name == QLatin1String("namespace")) {
            project.m_namespace = xml.readElementText().trimmed();
        } else if (name == QLatin1String("virtualFolder")) {
            project.m_virtualFolder = xml.readElementText().trimmed();
        } else if (name == QLatin1String("filterSection")) {
            while (xml.readNextStartElement()) {
                const auto part = xml.name();
                if (part == QLatin1String("toc")) {
                    readSections(xml, project.m_contents);
                } else if (part == QLatin1String("keywords")) {
                    while (xml.readNextStartElement()) {
                        if (xml.name() == QLatin1String("keyword")) {
                            const QXmlStreamAttributes a = xml.attributes();
                            project.m_keywords.push_back(
                                {a.value(QLatin1String("name")).toString(),
                                 a.value(QLatin1String("id")).toString(),
                                 a.value(QLatin1String("ref")).toString()});
                        }
                        xml.skipCurrentElement();
                    }
                } else if (part == QLatin1String("files")) {
                    while (xml.readNextStartElement()) {
                        if (xml.name() == QLatin1String("file"))
                            project.m_files.append(xml.readElementText().trimmed());
                        else
                            xml.skipCurrentElement();
                    }
                } else {
                    xml.skipCurrentElement();
                }
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError())
        return {};
    return project;
}
