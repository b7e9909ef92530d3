#pragma once

#include "settings/RunSettings.h"
#include "settings/WinePrefix.h"

class CExportWorker;
class QString;
class QUrl;

// What the main form needs of the program around it: the run settings start-up settled, the
// exporter that does the reading, how Windows paths map to this machine, and the ways to tell
// the user and to hand a file to the desktop. The application object hands it down, so that
// the form never reaches back up to it.
class IRunContext {
public:
    virtual ~IRunContext() = default;

    virtual const RunSettings& Settings() const = 0;
    virtual CExportWorker& Worker() = 0;
    virtual const WinePrefix& Prefix() const = 0;
    // An OK box with a warning icon, titled with the application title.
    virtual void ShowMessage(const QString& text) const = 0;
    // The file behind url, opened with the desktop's application for it.
    virtual void OpenUrl(const QUrl& url) const = 0;
};
