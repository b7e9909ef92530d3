#pragma once

#include "settings/IRunSettingsDialog.h"
#include "settings/RunSettings.h"
#include "ui/CMorvaskApp.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <deque>
#include <memory>
#include <string>

class CMainFrame;
class CMorvaskView;
class QLabel;

// Points the per-user settings and the Wine prefix at fresh temporary folders, so that no
// test reads or writes the real ones.
void IsolateUserEnvironment(const QTemporaryDir& home);

// The scripted stand-in for the exporter: fake-morvask-export.sh, driven by files in a
// temporary folder of its own.
class FakeWorker {
public:
    FakeWorker();
    QString Program() const;
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    // Makes "--check-source" or "--check-refdata" fail with text on stderr.
    void FailCheck(const QString& check, const QString& text);
    // The steps of the next runs: "sleep S", a progress line, "die" or "fail TEXT".
    void SetRunSteps(const QStringList& steps);
    QStringList Calls() const;
    int RunCalls() const;
    bool WasTerminated() const;

private:
    QTemporaryDir m_dir;
};

// One showing of the run-settings dialog, as a test scripts it.
struct DialogShowing {
    bool ok = true;
    RunSettings values;
};

class ScriptedDialog : public IRunSettingsDialog {
public:
    explicit ScriptedDialog(DialogShowing showing) : m_showing(std::move(showing)) {}
    bool DoModal() override { return m_showing.ok; }
    RunSettings Values() const override { return m_showing.values; }

private:
    DialogShowing m_showing;
};

// Run values that the start-up accepts, with the output file in folder.
RunSettings UsableRunValues(const QString& folder);

// The application wired to the fake exporter, with message boxes, the desktop's file handler
// and file dialogs recorded instead of shown.
class AppHarness {
public:
    AppHarness();
    ~AppHarness();

    // Starts with one showing of the dialog that ends with OK and the given values.
    bool Start(const RunSettings& values);

    FakeWorker worker;
    std::unique_ptr<CMorvaskApp> app;
    std::deque<DialogShowing> showings;
    int shown = 0;
    QStringList messages;
    QList<QUrl> opened;
    std::deque<QString> pathAnswers;
    QList<bool> pathQuestions;

    CMainFrame* Frame() const;
    CMorvaskView* View() const;
    QLabel* Field(const char* objectName) const;
    QString FieldText(const char* objectName) const;
    // The five counters in the order total, not valid, valid, not same OprCall, not date range.
    QStringList Counters() const;
};
