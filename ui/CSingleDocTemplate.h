#pragma once

#include <QString>

#include <memory>

class CMainFrame;
class CMorvaskDoc;
class CMorvaskView;
class IDocumentHost;

// Joins the one document, the main frame and the main form. The first New or Open creates
// all three; every later one re-initialises the same document in the same frame, after which
// the form runs its initial update again. Save and Save As are its own; New, Open and the
// recent files are the application's, which connects them to the frame.
class CSingleDocTemplate {
public:
    explicit CSingleDocTemplate(IDocumentHost& host);
    ~CSingleDocTemplate();
    CSingleDocTemplate(const CSingleDocTemplate&) = delete;
    CSingleDocTemplate& operator=(const CSingleDocTemplate&) = delete;

    // An empty path makes a new document. Returns false when the file cannot be opened
    // (after telling the user) or the frame cannot be made.
    bool OpenDocumentFile(const QString& path);

    void OnFileSave();
    void OnFileSaveAs();

    CMorvaskDoc* Document() const { return m_doc.get(); }
    CMainFrame* Frame() const { return m_frame.get(); }
    CMorvaskView* View() const { return m_view; }

private:
    void CreateFrame();
    // Writes the document; a failure is told to the user, and the document keeps its path.
    void SaveTo(const QString& path);

    IDocumentHost& m_host;
    // The frame goes before the document: the form in it refers to the document's tables.
    std::unique_ptr<CMorvaskDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
    CMorvaskView* m_view = nullptr;
};
