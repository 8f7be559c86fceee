#pragma once

#include <QDialog>

// The About box: version, publisher, and where Harvane keeps its data.
class CAboutDlg final : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(const QString& dataFolder, QWidget* parent = nullptr);
};
