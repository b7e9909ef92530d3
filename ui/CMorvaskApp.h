#pragma once

#include "settings/IRunSettingsDialog.h"
#include "settings/RunSettings.h"
#include "settings/WinePrefix.h"
#include "ui/CExportWorker.h"
#include "ui/CRecentFileList.h"
#include "ui/CWorkerDatabase.h"
#include "ui/IDocumentHost.h"

#include <QIcon>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

class CMainFrame;
class CSingleDocTemplate;
class QUrl;
class QWidget;

// The application object: owns the run settings and the connection to the source database
// for the whole run, carries out start-up, and answers the application's commands. It hands
// itself down to the document template and the form as the narrow host they need.
class CMorvaskApp : public IDocumentHost {
public:
    using DialogFactory = std::function<std::unique_ptr<IRunSettingsDialog>()>;
    using MessageSink = std::function<void(const QString&)>;
    using UrlOpener = std::function<void(const QUrl&)>;
    // Asks for a document path to open (forSave false) or to save to; empty when cancelled.
    using PathChooser = std::function<QString(bool forSave)>;

    // The exporter is looked for next to this program, the Wine prefix in the environment.
    CMorvaskApp();
    ~CMorvaskApp() override;
    CMorvaskApp(const CMorvaskApp&) = delete;
    CMorvaskApp& operator=(const CMorvaskApp&) = delete;

    // The exporter this program starts: the one in its own folder. Needs the Qt application
    // object.
    static QString ExporterProgram();

    // Replace the parts that reach outside the program: the exporter, the Wine prefix, the
    // run-settings dialog, message boxes, the desktop's file handler and file dialogs.
    void SetWorkerProgram(const QString& program);
    void SetPrefix(WinePrefix prefix);
    void SetDialogFactory(DialogFactory factory) { m_makeDialog = std::move(factory); }
    void SetMessageSink(MessageSink sink) { m_showMessage = std::move(sink); }
    void SetUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }
    void SetPathChooser(PathChooser chooser) { m_choosePath = std::move(chooser); }

    // Start-up: run settings, source database, version check, then the main window.
    // documentArgs is the command line after the program name. False ends the program.
    bool InitInstance(const QStringList& documentArgs = {});
    // Saves the recent-file list.
    void ExitInstance();

    // Shows the run-settings dialog until its values are usable, telling why whenever it comes
    // back; false when cancelled. A settings file that cannot be read is reported first.
    bool AskRunSettings();
    std::string GetSourcePath() const { return m_settings.m_strSourcePath; }
    std::string GetRefdataPath() const { return m_settings.m_strRefdataPath; }
    const RunSettings& Settings() const override { return m_settings; }

    CExportWorker& Worker() override { return *m_worker; }
    const WinePrefix& Prefix() const override { return m_prefix; }
    const QIcon& Icon() const override { return m_icon; }
    CRecentFileList& RecentFiles() { return m_recentFiles; }
    CSingleDocTemplate* DocTemplate() const { return m_docTemplate.get(); }
    CMainFrame* MainFrame() const;

    void ShowMessage(const QString& text) const override;
    void OpenUrl(const QUrl& url) const override;
    QString ChooseDocumentPath(bool forSave) const override;
    QString SaveRefusal(const QString& path) const override;

    void OnFileNew();
    void OnFileOpen();
    void OpenRecentFile(const QString& path);
    void AddToRecentFileList(const QString& path) override;
    // The about box; no menu item or key leads to it.
    void OnAppAbout();

private:
    // New, Open and the recent-file entries of the frame's File menu are the application's.
    void ConnectCommands(CMainFrame& frame);

    CWorkerDatabase m_db;
    RunSettings m_settings;

    WinePrefix m_prefix;
    std::unique_ptr<CExportWorker> m_worker;
    CRecentFileList m_recentFiles;
    QIcon m_icon;
    DialogFactory m_makeDialog;
    MessageSink m_showMessage;
    UrlOpener m_openUrl;
    PathChooser m_choosePath;
    std::unique_ptr<CSingleDocTemplate> m_docTemplate;
};
