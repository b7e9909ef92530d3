#pragma once

#include "settings/RunSettings.h"
#include "ui/CMainFrame.h"
#include "ui/CMorvaskApp.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <deque>
#include <memory>
#include <optional>

class CMorvaskView;

// Points the per-user settings and the Wine prefix at a fresh temporary folder, so that no
// test reads or writes the real ones.
void IsolateUserEnvironment(const QTemporaryDir& home);
void WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);
// Run values that the start-up accepts, with the databases and the output file in folder.
RunSettings UsableRunValues(const QString& folder);

// The application wired to fake-morvask-export.sh, which is scripted by files in a folder of
// its own ("check-source.err" or "check-refdata.err" fail that check with their text;
// "run.steps" scripts the runs) and logs every call there. Message boxes, the desktop's file
// handler and the file dialogs are recorded instead of shown. Each showing of the run-settings
// dialog takes the next entry of showings, nullopt meaning Cancel; with none left it cancels.
class AppHarness {
public:
    AppHarness();
    bool Start(const RunSettings& values);
    bool Start() { return Start(UsableRunValues(WorkerPath("."))); }

    QString WorkerPath(const QString& name) const { return m_workerDir.filePath(name); }
    // One step a line: "sleep S", a progress line "T NV V NSO NDR", "die", "fail TEXT" or
    // "refuse TEXT" (an argument refusal followed by the usage).
    void SetRunSteps(const QStringList& steps);
    // How many calls of the exporter had what among their arguments.
    int Calls(const QString& what) const;

    CMainFrame* Frame() const { return app->MainFrame(); }
    CMorvaskView* View() const { return Frame() ? Frame()->View() : nullptr; }
    QString FieldText(const char* objectName) const;
    // Total, not valid, valid, not same OprCall, not date range.
    QStringList Counters() const;
    // Source, reference and output paths, operator call, start and end date.
    QStringList RunValueFields() const;
    void Click(const char* buttonName) const;

    std::unique_ptr<CMorvaskApp> app;
    std::deque<std::optional<RunSettings>> showings;
    int shown = 0;
    QStringList messages;
    QList<QUrl> opened;
    std::deque<QString> pathAnswers;
    int pathQuestions = 0;

private:
    QTemporaryDir m_workerDir;
};
