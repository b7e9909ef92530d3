#pragma once

#include <string>

#include "cli/ExportFailure.h"
#include "settings/RunSettings.h"

// What the operator is told when a job of the exporter fails: which of the files they see
// ("the reference database"), the path as they wrote it in the run-settings dialog, what
// happened and what to do. Nothing of the exporter shows through: neither its name, nor
// its options, nor its exit statuses.
class FailureWording {
public:
    enum class Job { OpenSource, OpenReference, MakeAdiFile };

    // shown: the run values as the operator wrote them.
    FailureWording(Job job, RunSettings shown);

    // The settings file's path, for failures about it.
    void SetSettingsFile(std::string path) { m_settingsFile = std::move(path); }

    std::string Message(const ExportFailure& failure) const;

    // The exporter that should lie next to the program is not there, or cannot be started.
    std::string ProgramMissing(const std::string& program) const;
    std::string ProgramNotStarted(const std::string& program, const std::string& why) const;
    // The system refused what the job needs to start (a pipe).
    std::string NoResources(const std::string& why) const;

private:
    // "the source database "C:\Qervel\Data\Qervel.mdb"".
    std::string Named(RunFiles::Role role) const;
    // What the job was doing, as the start of a sentence: "Making the ADIF file "...".
    std::string Doing() const;
    std::string TryAgain() const;

    Job m_job;
    RunSettings m_shown;
    std::string m_settingsFile;
};
