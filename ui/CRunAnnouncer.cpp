#include "ui/CRunAnnouncer.h"

#include "ui/CExportWorker.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

namespace {

QAccessibleInterface* AnnouncerFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("CRunAnnouncer") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

}  // namespace

CRunAnnouncer::CRunAnnouncer(QWidget* parent) : QWidget(parent) {
    static const bool installed = (QAccessible::installFactory(AnnouncerFactory), true);
    Q_UNUSED(installed);
    setObjectName(QStringLiteral("runStatus"));
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 0, 0);
    m_text = new QLabel(this);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setGeometry(0, 0, 0, 0);
    // Hidden until there is something to tell, so that the window coming up does not show an
    // empty notification.
    hide();
    // While this widget was being made it was a plain widget; with a screen reader listening
    // it may have been described as one.
    QAccessibleInterface* known = QAccessible::queryAccessibleInterface(this);
    if (known && known->role() != QAccessible::Notification)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(known));
}

void CRunAnnouncer::Hold(const QString& text) {
    setAccessibleName(text);
    m_text->setText(text);
}

void CRunAnnouncer::Announce(const QString& text) {
    Hold(text);
    emit Told(text);
    // A notification that comes up: the one event that a screen reader speaks wherever the
    // focus is. The first time, showing the widget tells it; after that it is told as shown
    // again, the widget staying as it is.
    if (isHidden()) {
        show();
        return;
    }
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

void CRunAnnouncer::RunStarted() { CountersSettled(); }

void CRunAnnouncer::RunEnded(const WorkerOutcome& outcome) {
    CountersSettled();
    switch (outcome.kind) {
    case WorkerOutcome::Kind::Succeeded:
        Announce(QStringLiteral("Make adi file done: %1.").arg(Counts()));
        break;
    case WorkerOutcome::Kind::Failed:
        Hold(QStringLiteral("Make adi file failed: %1").arg(QString::fromStdString(outcome.message)));
        break;
    case WorkerOutcome::Kind::Stopped:
        // Only the window closing stops a run; its closing is what the operator hears.
        Hold(QStringLiteral("Make adi file stopped before the end: %1.").arg(Counts()));
        break;
    }
}

void CRunAnnouncer::CountersSettled() const {
    // Their names carry their values; one change each, however many counts went by.
    for (QLabel* counter : m_counters) {
        QAccessibleEvent changed(counter, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

QString CRunAnnouncer::Counts() const {
    QStringList counts;
    for (const QLabel* counter : m_counters)
        counts.append(counter->accessibleName() + QLatin1Char(' ') + counter->text());
    return counts.join(QStringLiteral(", "));
}
