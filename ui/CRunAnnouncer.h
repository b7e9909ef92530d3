#pragma once

#include <QString>
#include <QWidget>

#include <vector>

class QLabel;
struct WorkerOutcome;

// The main form's status for assistive technology: the outcome of the last run, as a
// notification that a screen reader speaks when it is shown. Nothing of it is seen: it takes
// no room on the form and no focus, so the form looks and works as it always has.
//
// Orca speaks a notification, with the labels inside it, whenever it is shown, and keeps it
// in its list of notifications; unlike a name or text change, which it speaks only for the
// object that has the focus, this reaches the operator wherever the focus is.
class CRunAnnouncer : public QWidget {
    Q_OBJECT
public:
    explicit CRunAnnouncer(QWidget* parent);

    // The counters, in the order they are read: left to right, row by row.
    void SetCounters(std::vector<QLabel*> counters) { m_counters = std::move(counters); }
    // A run has set the counters to "0" / has ended. The counters' values are told once at
    // each, never as they advance; the end is told with the totals. A failure is held but not
    // told here: its message box, which takes the focus, tells it.
    void RunStarted();
    void RunEnded(const WorkerOutcome& outcome);

    // Holds text as the status and has it spoken, once.
    void Announce(const QString& text);
    // Holds text as the status without a word: for an outcome told in another way.
    void Hold(const QString& text);
    QString Status() const { return accessibleName(); }

signals:
    // Each time a text is given to be spoken.
    void Told(const QString& text);

private:
    void CountersSettled() const;
    // "Total QSOs 79, Valid QSOs 62, ...".
    QString Counts() const;

    QLabel* m_text = nullptr;
    std::vector<QLabel*> m_counters;
};
