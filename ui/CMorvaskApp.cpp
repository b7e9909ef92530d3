#include "ui/CMorvaskApp.h"

#include "cli/ExporterCommandLine.h"
#include "data/CDaoException.h"
#include "data/ShownText.h"
#include "settings/CRunSettingsDlg.h"
#include "settings/IniReaders.h"
#include "settings/PathMappingError.h"
#include "settings/PrefixSearch.h"
#include "settings/RunFiles.h"
#include "settings/RunSettingsAcceptance.h"
#include "ui/AppTexts.h"
#include "ui/CAboutDlg.h"
#include "ui/CMainFrame.h"
#include "ui/CSingleDocTemplate.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

// Outside any namespace: the resource's initialiser is declared where it is named.
static QIcon ApplicationIcon() {
    // The images live in a static library; this keeps the linker from dropping them.
    Q_INIT_RESOURCE(morvask);
    QIcon icon;
    for (int size : {16, 32, 48, 128, 256})
        icon.addFile(QStringLiteral(":/morvask/morvask-%1.png").arg(size), QSize(size, size));
    return icon;
}

CMorvaskApp::CMorvaskApp()
    : m_prefix(PrefixSearch::FromEnvironment().prefix),
      m_worker(std::make_unique<CExportWorker>(ExporterProgram())),
      m_recentFiles(QString::fromLatin1(AppTexts::kSettingsOrganisation), QString::fromLatin1(AppTexts::kAppTitle)),
      m_icon(ApplicationIcon()) {
    m_worker->SetWinePrefix(QString::fromStdString(m_prefix.Root()));
    m_makeDialog = [this] { return std::make_unique<CRunSettingsDlg>(m_prefix, m_icon); };
    m_showMessage = [this](const QString& text) {
        QMessageBox box(QMessageBox::Warning, QString::fromLatin1(AppTexts::kAppTitle), text, QMessageBox::Ok,
                        MainFrame());
        box.exec();
    };
    m_openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    m_choosePath = [this](bool forSave) {
        // The document has no file type of its own: no filter, no proposed extension.
        return forSave ? QFileDialog::getSaveFileName(MainFrame()) : QFileDialog::getOpenFileName(MainFrame());
    };
}

QString CMorvaskApp::ExporterProgram() {
    // Next to this program, wherever it was installed or built: never looked up in PATH,
    // where another version of the exporter may lie.
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') +
           QString::fromLatin1(ExporterCommandLine::kProgramName);
}

CMorvaskApp::~CMorvaskApp() { m_docTemplate.reset(); }

void CMorvaskApp::SetWorkerProgram(const QString& program) {
    m_worker = std::make_unique<CExportWorker>(program);
    m_worker->SetWinePrefix(QString::fromStdString(m_prefix.Root()));
}

void CMorvaskApp::SetPrefix(WinePrefix prefix) {
    // The exporter maps the same Windows paths the same way as this program does.
    m_prefix = std::move(prefix);
    m_worker->SetWinePrefix(QString::fromStdString(m_prefix.Root()));
}

CMainFrame* CMorvaskApp::MainFrame() const { return m_docTemplate ? m_docTemplate->Frame() : nullptr; }

bool CMorvaskApp::InitInstance(const QStringList& documentArgs) {
    m_recentFiles.ReadList();

    if (!AskRunSettings()) return false;

    try {
        m_db.Open(*m_worker, GetSourcePath());
    } catch (const CDaoException& error) {
        ShowMessage(QString::fromStdString(error.Description()));
        return false;
    }
    if (!m_db.VersionAccepted()) {
        ShowMessage(QString::fromLatin1(AppTexts::kVersionError));
        return false;
    }

    m_docTemplate = std::make_unique<CSingleDocTemplate>(*this);
    // Without arguments a new document; a file named on the command line is opened instead.
    const QString document = documentArgs.isEmpty() ? QString() : documentArgs.first();
    if (!m_docTemplate->OpenDocumentFile(document)) return false;
    ConnectCommands(*MainFrame());
    MainFrame()->SetRecentFiles(m_recentFiles.Entries());

    MainFrame()->show();
    return true;
}

void CMorvaskApp::ConnectCommands(CMainFrame& frame) {
    QObject::connect(frame.NewAction(), &QAction::triggered, &frame, [this] { OnFileNew(); });
    QObject::connect(frame.OpenAction(), &QAction::triggered, &frame, [this] { OnFileOpen(); });
    QObject::connect(&frame, &CMainFrame::RecentFileChosen, &frame,
                     [this](const QString& path) { OpenRecentFile(path); });
}

void CMorvaskApp::ExitInstance() { m_recentFiles.WriteList(); }

bool CMorvaskApp::AskRunSettings() {
    // A settings file that is there but unreadable would otherwise look like a missing one:
    // the dialog then opens with empty values and nobody knows why.
    if (const std::string problem = SettingsFileProblem(m_prefix); !problem.empty())
        ShowMessage(QString::fromStdString(problem));
    return ::AskRunSettings(m_settings, m_makeDialog,
                            [this](const std::string& refusal) { ShowMessage(QString::fromStdString(refusal)); });
}

QString CMorvaskApp::SaveRefusal(const QString& path) const {
    // The run's files as this machine names them; a value with no place on it cannot be the
    // file the user chose.
    RunFiles files;
    const std::pair<RunFiles::Role, const std::string*> shown[] = {
        {RunFiles::Role::SourceDatabase, &m_settings.m_strSourcePath},
        {RunFiles::Role::ReferenceDatabase, &m_settings.m_strRefdataPath},
        {RunFiles::Role::AdifFile, &m_settings.m_strAdiPath}};
    for (const auto& [role, value] : shown) {
        if (value->empty()) continue;
        try {
            files.Add(role, RunFiles::HostPath(m_prefix, role, *value));
        } catch (const PathMappingError&) {}
    }
    files.Add(RunFiles::Role::SettingsFile, SettingsFilePath(m_prefix));
    const auto found =
        files.Find(path.toStdString(), {RunFiles::Role::SourceDatabase, RunFiles::Role::ReferenceDatabase,
                                        RunFiles::Role::AdifFile, RunFiles::Role::SettingsFile});
    if (!found) return {};
    // Named as the run-settings dialog showed it, where that is another spelling.
    QString named = QString::fromLatin1(RunFiles::Describe(found->role));
    for (const auto& [role, value] : shown) {
        if (role == found->role && QString::fromStdString(*value) != path)
            named += QStringLiteral(" \"%1\"").arg(QString::fromStdString(*value));
    }
    return QStringLiteral(
               "\"%1\" is %2 of this run; saving the document there would empty it. Choose another "
               "file name.")
        .arg(path, named);
}

void CMorvaskApp::ShowMessage(const QString& text) const {
    // Paths and values in a message show their control characters and stray bytes escaped,
    // as the exporter shows them: a newline in a path makes no line of its own.
    m_showMessage(QString::fromStdString(ShownText(text.toStdString())));
}

void CMorvaskApp::OpenUrl(const QUrl& url) const { m_openUrl(url); }

QString CMorvaskApp::ChooseDocumentPath(bool forSave) const { return m_choosePath(forSave); }

void CMorvaskApp::OnFileNew() {
    if (m_docTemplate) m_docTemplate->OpenDocumentFile({});
}

void CMorvaskApp::OnFileOpen() {
    const QString path = ChooseDocumentPath(false);
    if (!path.isEmpty() && m_docTemplate) m_docTemplate->OpenDocumentFile(path);
}

void CMorvaskApp::OpenRecentFile(const QString& path) {
    if (m_docTemplate && !m_docTemplate->OpenDocumentFile(path)) {
        // An entry whose file has gone is dropped, so that it is not offered again.
        m_recentFiles.Remove(path);
        m_recentFiles.WriteList();
        if (MainFrame()) MainFrame()->SetRecentFiles(m_recentFiles.Entries());
    }
}

void CMorvaskApp::AddToRecentFileList(const QString& path) {
    m_recentFiles.Add(path);
    m_recentFiles.WriteList();
    if (MainFrame()) MainFrame()->SetRecentFiles(m_recentFiles.Entries());
}

void CMorvaskApp::OnAppAbout() {
    CAboutDlg about(m_icon, MainFrame());
    about.exec();
}
