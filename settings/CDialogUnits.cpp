#include "settings/CDialogUnits.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>

QFont CDialogUnits::DialogFont() {
    QFont font = QApplication::font();
    font.setPointSize(8);
    return font;
}

CDialogUnits::CDialogUnits() : CDialogUnits(DialogFont()) {}

CDialogUnits::CDialogUnits(const QFont& font) {
    // The average width is taken over the 52 letters, rounded to the nearest pixel, the way
    // dialog base units have always been measured.
    const QFontMetrics metrics(font);
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseWidth = (letters / 26 + 1) / 2;
    m_baseHeight = metrics.height();
}

CDialogUnits::CDialogUnits(int baseWidth, int baseHeight) : m_baseWidth(baseWidth), m_baseHeight(baseHeight) {}

// Rounded to nearest, as the units are converted everywhere else.
int CDialogUnits::ToPixelsX(int units) const { return (units * m_baseWidth * 2 + 4) / 8; }

int CDialogUnits::ToPixelsY(int units) const { return (units * m_baseHeight * 2 + 8) / 16; }

QRect CDialogUnits::ToPixels(int x, int y, int width, int height) const {
    const int left = ToPixelsX(x);
    const int top = ToPixelsY(y);
    return QRect(left, top, ToPixelsX(x + width) - left, ToPixelsY(y + height) - top);
}

QSize CDialogUnits::ToPixels(QSize units) const { return QSize(ToPixelsX(units.width()), ToPixelsY(units.height())); }

void CDialogUnits::Place(QWidget& widget, int x, int y, int width, int height) const {
    widget.setFont(DialogFont());
    widget.setGeometry(ToPixels(x, y, width, height));
}
