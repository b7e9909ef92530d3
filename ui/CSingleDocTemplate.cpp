#include "ui/CSingleDocTemplate.h"

#include "ui/CMainFrame.h"
#include "ui/CMorvaskDoc.h"
#include "ui/CMorvaskView.h"
#include "ui/IDocumentHost.h"

#include <QAction>
#include <QFile>

CSingleDocTemplate::CSingleDocTemplate(IDocumentHost& host) : m_host(host) {}

CSingleDocTemplate::~CSingleDocTemplate() {
    m_frame.reset();
    m_doc.reset();
}

void CSingleDocTemplate::CreateFrame() {
    m_doc = std::make_unique<CMorvaskDoc>();
    m_frame = std::make_unique<CMainFrame>();
    m_frame->setWindowIcon(m_host.Icon());
    m_frame->PreCreateWindow();
    m_view = new CMorvaskView(m_host, *m_doc);
    m_frame->SetView(m_view);

    CMainFrame* frame = m_frame.get();
    QObject::connect(frame->SaveAction(), &QAction::triggered, frame, [this] { OnFileSave(); });
    QObject::connect(frame->SaveAsAction(), &QAction::triggered, frame, [this] { OnFileSaveAs(); });
}

bool CSingleDocTemplate::OpenDocumentFile(const QString& path) {
    if (!path.isEmpty()) {
        // Nothing is read from the file, but it has to be there and readable, as for any
        // document that is opened.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            m_host.ShowMessage(
                QStringLiteral("Cannot open \"%1\": %2. Choose an existing file.").arg(path, file.errorString()));
            return false;
        }
    }
    if (!m_frame) CreateFrame();
    if (path.isEmpty()) {
        m_doc->OnNewDocument();
    } else {
        m_doc->OnOpenDocument(path);
        m_host.AddToRecentFileList(m_doc->GetPathName());
    }
    m_view->OnInitialUpdate();
    return true;
}

void CSingleDocTemplate::OnFileSave() {
    // A path that only came from Open is never written: that would empty a file the user
    // merely opened. Such a document is saved like a new one, under a name the user gives.
    if (!m_doc || m_doc->GetPathName().isEmpty() || m_doc->PathFromOpen()) {
        OnFileSaveAs();
        return;
    }
    // The held file may have become one of the run's own since it was saved (the ADIF file
    // once a run has written it): refused as under Save As, and another name is asked for.
    if (const QString refusal = m_host.SaveRefusal(m_doc->GetPathName()); !refusal.isEmpty()) {
        m_host.ShowMessage(refusal);
        OnFileSaveAs();
        return;
    }
    SaveTo(m_doc->GetPathName());
}

void CSingleDocTemplate::OnFileSaveAs() {
    if (!m_doc) return;
    // Asked again after every refusal, until the user gives a usable name or cancels.
    for (;;) {
        const QString path = m_host.ChooseDocumentPath(true);
        if (path.isEmpty()) return;
        if (const QString refusal = m_host.SaveRefusal(path); !refusal.isEmpty()) {
            m_host.ShowMessage(refusal);
            continue;
        }
        SaveTo(path);
        return;
    }
}

void CSingleDocTemplate::SaveTo(const QString& path) {
    if (const QString error = m_doc->OnSaveDocument(path); !error.isEmpty()) {
        m_host.ShowMessage(error);
        return;
    }
    m_host.AddToRecentFileList(m_doc->GetPathName());
}
