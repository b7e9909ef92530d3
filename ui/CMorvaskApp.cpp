#include "ui/CMorvaskApp.h"

#include "cli/ExporterCommandLine.h"
#include "data/CDaoException.h"
#include "settings/CRunSettingsDlg.h"
#include "settings/RunSettingsAcceptance.h"
#include "ui/AppTexts.h"
#include "ui/CAboutDlg.h"
#include "ui/CMainFrame.h"
#include "ui/CSingleDocTemplate.h"

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
    icon.addFile(QStringLiteral(":/morvask/morvask-32.xpm"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/morvask/morvask-16.xpm"), QSize(16, 16));
    return icon;
}

CMorvaskApp::CMorvaskApp()
    : m_prefix(WinePrefix::FromEnvironment()),
      m_worker(std::make_unique<CExportWorker>(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                                               QString::fromLatin1(ExporterCommandLine::kProgramName))),
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

    MainFrame()->show();
    return true;
}

void CMorvaskApp::ExitInstance() { m_recentFiles.WriteList(); }

bool CMorvaskApp::AskRunSettings() { return ::AskRunSettings(m_settings, m_makeDialog); }

void CMorvaskApp::ShowMessage(const QString& text) const { m_showMessage(text); }

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
