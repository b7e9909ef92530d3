#include "ui/CValueFieldAccessible.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStyle>

namespace {

constexpr const char* kValueFieldProperty = "morvaskValueField";

QAccessibleInterface* ValueFieldFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("QLabel") && object && object->property(kValueFieldProperty).toBool())
        return new CValueFieldAccessible(static_cast<QLabel*>(object));
    return nullptr;
}

}  // namespace

void CValueFieldAccessible::Mark(QLabel& field, const QString& caption) {
    static const bool installed = (QAccessible::installFactory(ValueFieldFactory), true);
    Q_UNUSED(installed);
    field.setProperty(kValueFieldProperty, true);
    field.setAccessibleName(caption);
    // With a screen reader already listening, the label may have been described as a plain
    // label while it was made; that description goes, so that the next question gets this one.
    QAccessibleInterface* known = QAccessible::queryAccessibleInterface(&field);
    if (known && !dynamic_cast<CValueFieldAccessible*>(known))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(known));
}

CValueFieldAccessible::CValueFieldAccessible(QLabel* field) : QAccessibleWidget(field, QAccessible::StaticText) {}

QLabel* CValueFieldAccessible::Field() const { return static_cast<QLabel*>(widget()); }

QString CValueFieldAccessible::Value() const { return Field()->text(); }

QString CValueFieldAccessible::text(QAccessible::Text t) const {
    const QString caption = Field()->accessibleName();
    switch (t) {
    case QAccessible::Name:
        // Read as "Valid QSOs, 1514"; before the first run only the caption.
        return Value().isEmpty() ? caption : caption + QStringLiteral(", ") + Value();
    case QAccessible::Value:
        return Value();
    default:
        return QAccessibleWidget::text(t);
    }
}

void* CValueFieldAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

void CValueFieldAccessible::selection(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = 0;
}

QString CValueFieldAccessible::text(int startOffset, int endOffset) const {
    const QString value = Value();
    if (endOffset < 0 || endOffset > value.size()) endOffset = int(value.size());
    if (startOffset < 0 || startOffset >= endOffset) return {};
    return value.mid(startOffset, endOffset - startOffset);
}

int CValueFieldAccessible::characterCount() const { return int(Value().size()); }

QRect CValueFieldAccessible::characterRect(int offset) const {
    const QString value = Value();
    if (offset < 0 || offset >= value.size()) return {};
    const QLabel* field = Field();
    const QFontMetrics metrics(field->font());
    // Where the label draws its one line: aligned in its contents as the label aligns it.
    const QRect line =
        QStyle::alignedRect(field->layoutDirection(), field->alignment(),
                            QSize(metrics.horizontalAdvance(value), metrics.height()), field->contentsRect());
    const QRect local(line.left() + metrics.horizontalAdvance(value.left(offset)), line.top(),
                      metrics.horizontalAdvance(value.at(offset)), metrics.height());
    return QRect(field->mapToGlobal(local.topLeft()), local.size());
}

int CValueFieldAccessible::offsetAtPoint(const QPoint& point) const {
    for (int offset = 0; offset < characterCount(); ++offset)
        if (characterRect(offset).contains(point)) return offset;
    return -1;
}

QString CValueFieldAccessible::attributes(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}
