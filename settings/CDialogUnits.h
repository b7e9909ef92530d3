#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

class QWidget;

// Maps the dialog units in which the form and dialogs are laid out to pixels. One horizontal
// unit is a quarter of the 8-point font's average character width, one vertical unit an
// eighth of its height, so the layouts keep their proportions with whatever font the desktop
// substitutes for the original one.
class CDialogUnits {
public:
    // The 8-point font the dialogs are laid out in.
    static QFont DialogFont();

    CDialogUnits();
    explicit CDialogUnits(const QFont& font);
    // Base units given directly, in pixels: average character width and character height.
    CDialogUnits(int baseWidth, int baseHeight);

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QRect ToPixels(int x, int y, int width, int height) const;
    QSize ToPixels(QSize units) const;

    // Gives widget the dialog font and the given place in its parent.
    void Place(QWidget& widget, int x, int y, int width, int height) const;

private:
    int m_baseWidth;
    int m_baseHeight;
};
