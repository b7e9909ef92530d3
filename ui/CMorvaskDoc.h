#pragma once

#include "ui/CWorkerRecordset.h"

#include <QString>

// The program's one document. It has no content of its own: it owns the prefix table the
// form is bound to (the exporter walks the QSO table itself), and carries the title and path
// that the File commands give it. Saving writes nothing into the file, opening reads nothing
// from it.
class CMorvaskDoc {
public:
    CWorkerRecordset& PrefixSet() { return m_prefixSet; }

    const QString& GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& title) { m_strTitle = title; }

    // The file the document was last opened from or saved to; empty for a new document.
    const QString& GetPathName() const { return m_strPathName; }
    // True when the path came from Open or a recent file rather than from a save of ours:
    // saving there would empty a file the user only opened.
    bool PathFromOpen() const { return m_bPathFromOpen; }

    void OnNewDocument();
    void OnOpenDocument(const QString& path);
    // Writes the (empty) document to path. Returns an error text, or an empty one on success.
    QString OnSaveDocument(const QString& path);

private:
    CWorkerRecordset m_prefixSet;
    QString m_strTitle;
    QString m_strPathName;
    bool m_bPathFromOpen = false;
};
