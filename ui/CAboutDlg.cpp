#include "ui/CAboutDlg.h"

#include "settings/CDialogUnits.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(const QIcon& icon, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("About morvask"));
    setFont(CDialogUnits::DialogFont());
    const CDialogUnits units;
    setFixedSize(units.ToPixels(QSize(235, 55)));

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("aboutIcon"));
    image->setPixmap(icon.pixmap(32, 32));
    image->setGeometry(units.ToPixelsX(11), units.ToPixelsY(17), 32, 32);

    auto* text = new QLabel(QStringLiteral("morvask Version 1.0"), this);
    text->setObjectName(QStringLiteral("aboutText"));
    text->setTextFormat(Qt::PlainText);
    units.Place(*text, 40, 10, 119, 8);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("aboutOk_1"));
    ok->setDefault(true);
    units.Place(*ok, 178, 7, 50, 14);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
