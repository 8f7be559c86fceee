#pragma once

#include "data/DataDocument.h"

#include <QObject>
#include <QString>

#include <functional>

class CLogger;

// The one document: the logged data on screen, with its file name and
// whether it has changes that are not saved. Opening and saving go through
// the logger type, which knows the file format.
class CVelmoraDoc final : public QObject {
    Q_OBJECT
public:
    using LoggerLookup = std::function<CLogger*()>;

    explicit CVelmoraDoc(LoggerLookup logger, QObject* parent = nullptr);

    // "Untitled" for a new document, else the file's name.
    [[nodiscard]] QString title() const;
    [[nodiscard]] QString pathName() const { return m_path; }
    [[nodiscard]] bool isModified() const { return m_modified; }
    void setModifiedFlag(bool modified = true);

    [[nodiscard]] const DataDocument& data() const { return m_data; }
    [[nodiscard]] bool hasData() const { return !m_data.isEmpty(); }
    // Installs new data: from a file (an initial update of the panes) or
    // from a download (an update, which stretches the left pane to fit).
    void replaceData(DataDocument data, bool fromDownload);
    // A download's data: untitled and modified, so that Save asks for a name
    // and can never write them over the file that was open before.
    void installDownload(DataDocument data);

    // Drops the data; the panes show nothing from their next repaint.
    void deleteContents();
    // File > New: an empty, untitled document.
    void newDocument();
    bool openDocument(const QString& path);
    bool saveDocument(const QString& path);
    // The data and its file changed (a download, an open): redraw.
    void notifyDataChanged(bool initial = true);

Q_SIGNALS:
    void titleChanged();
    // initial: after New and Open; otherwise an update after a download.
    void dataChanged(bool initial);
    // The data were dropped (New, or a serial port was opened).
    void dataCleared();

private:
    void setPath(const QString& path);

    LoggerLookup m_logger;
    DataDocument m_data;
    QString m_path;
    bool m_modified = false;
};
