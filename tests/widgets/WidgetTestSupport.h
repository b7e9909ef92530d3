#pragma once

#include "settings/RunSettings.h"
#include "ui/CMainFrame.h"
#include "ui/CMorvaskApp.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <memory>
#include <optional>

class CMorvaskView;

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
    // The steps of the next runs, as fake-morvask-export.sh reads them.
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
    QList<std::optional<RunSettings>> showings;
    int shown = 0;
    QStringList messages;
    QList<QUrl> opened;
    QStringList pathAnswers;
    int pathQuestions = 0;

private:
    QTemporaryDir m_workerDir;
};
