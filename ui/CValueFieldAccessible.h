#pragma once

#include <QAccessibleWidget>
#include <QString>

class QLabel;

// What assistive technology reads of a value field of the main form: a static text whose
// name is its caption and its value ("Valid QSOs, 1514"), and whose text is the value alone.
// A plain label named by its caption would hide its value: a screen reader reads the name of
// a static text, not its text.
//
// Name and text are read from the label when asked, so a counter that advances sends no
// event; the form tells of the values once, when they settle (CFormAccessibility).
class CValueFieldAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    // Makes field a value field captioned caption. The label keeps caption as its own
    // accessible name, which also keeps it from announcing every change of its text.
    static void Mark(QLabel& field, const QString& caption);

    explicit CValueFieldAccessible(QLabel* field);

    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    // The text is read-only and has no caret or selection of its own.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    QLabel* Field() const;
    QString Value() const;
};
