#include "app/CVelmoraDoc.h"

#include "logger/CLogger.h"

#include <QFileInfo>

CVelmoraDoc::CVelmoraDoc(LoggerLookup logger, QObject* parent)
    : QObject(parent), m_logger(std::move(logger))
{}

QString CVelmoraDoc::title() const
{
    return m_path.isEmpty() ? tr("Untitled") : QFileInfo(m_path).fileName();
}

void CVelmoraDoc::setModifiedFlag(bool modified)
{
    m_modified = modified;
}

void CVelmoraDoc::deleteContents()
{
    m_data = DataDocument();
    Q_EMIT dataCleared();
}

void CVelmoraDoc::replaceData(DataDocument data, bool fromDownload)
{
    m_data = std::move(data);
    notifyDataChanged(!fromDownload);
}

void CVelmoraDoc::installDownload(DataDocument data)
{
    setPath({});
    m_modified = true;
    replaceData(std::move(data), true);
}

void CVelmoraDoc::newDocument()
{
    deleteContents();
    setPath({});
    m_modified = false;
    notifyDataChanged();
}

bool CVelmoraDoc::openDocument(const QString& path)
{
    CLogger* logger = m_logger ? m_logger() : nullptr;
    // The logger type loads the file into this document.
    if (logger == nullptr || !logger->OpenDataFile(path))
        return false;
    setPath(path);
    m_modified = false;
    notifyDataChanged(true);
    return true;
}

bool CVelmoraDoc::saveDocument(const QString& path)
{
    CLogger* logger = m_logger ? m_logger() : nullptr;
    if (logger == nullptr || !logger->SaveDataFile(path))
        return false;
    setPath(path);
    m_modified = false;
    return true;
}

void CVelmoraDoc::notifyDataChanged(bool initial)
{
    Q_EMIT dataChanged(initial);
}

void CVelmoraDoc::setPath(const QString& path)
{
    m_path = path;
    Q_EMIT titleChanged();
}
