#pragma once

#include <QDialog>

class QIcon;

// The about box: the icon, the program's name and version, and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    CAboutDlg(const QIcon& icon, QWidget* parent = nullptr);
};
