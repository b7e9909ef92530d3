#pragma once

#include "ui/IRunContext.h"

class QIcon;

// What the document template needs of the application besides what it hands on to the form:
// the window's icon, the file dialogs of Open and Save, the run's own files that a save must
// never empty, and the recent-file list.
class IDocumentHost : public IRunContext {
public:
    virtual const QIcon& Icon() const = 0;
    // Asks for a document path to open (forSave false) or to save to; empty when cancelled.
    virtual QString ChooseDocumentPath(bool forSave) const = 0;
    // Why the document must not be saved at `path`: it is one of the run's own files (the two
    // databases, the ADIF file, the settings file), under whatever name. Empty when it may.
    virtual QString SaveRefusal(const QString& path) const = 0;
    virtual void AddToRecentFileList(const QString& path) = 0;
};
