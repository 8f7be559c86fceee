#include "app/CAboutDlg.h"

#include "app/WarningPicture.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(const QString& dataFolder, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Harvane"));
    auto* icon = new QLabel(this);
    icon->setPixmap(logoPicture(64));
    auto* version = new QLabel(QStringLiteral("Harvane Version " HARVANE_VERSION), this);
    auto* publisher = new QLabel(
        QStringLiteral("Copyright (C) 2026 the Harvane developers. All rights reserved."), this);
    auto* data = new QLabel(
        QStringLiteral("Data folder: %1").arg(QDir::toNativeSeparators(dataFolder)), this);
    data->setTextInteractionFlags(Qt::TextSelectableByMouse);
    data->setObjectName(QStringLiteral("DataFolder"));
    auto* exit = new QPushButton(QStringLiteral("Exit"), this);
    exit->setDefault(true);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(publisher, 1, 1);
    layout->addWidget(data, 2, 1);
    layout->addWidget(exit, 0, 2, Qt::AlignTop);
    layout->setHorizontalSpacing(16);
}
