#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/RunFiles.h"

// Why a job of the exporter failed, as it travels to the desktop program: what happened, to
// which of the run's files, and the bare reason (no file name, no advice), so that the
// desktop program can say it in its own words, with the path as the operator wrote it.
struct ExportFailure {
    enum class Kind {
        // Sent by the exporter.
        VersionRefused,     // the logging database is older than version 6
        NotFound,           // no database at the path
        Unreadable,         // the file is there but cannot be read
        NotAccess,          // the file is no Access database
        Damaged,            // the database cannot be read as it stands
        Interrupted,        // reading was stopped from outside; the file itself may be sound
        LogChanged,         // the log changed each time it was read (Qervel saving contacts)
        WrongLayout,        // a table or column is missing or of another type
        ValueTooLong,       // a value is longer than the program reads whole
        OutputNotWritable,  // the ADIF file cannot be created, written or put in place
        UnusableValue,      // a run value cannot be used (an empty path, a drive not mapped)
        Other,              // anything else, said by the reason alone
        // Told by the way the exporter ended: by the exporter as it dies of a signal, or
        // read from its end when it sent no failure.
        Crashed,           // it ended on a signal of its own making (a fault inside it)
        ArgumentsRefused,  // it did not understand what it was given: the programs do not fit
        NoReason,          // it failed without a record
    };

    Kind kind = Kind::Other;
    // The file the failure is about; none when it concerns no one file.
    std::optional<RunFiles::Role> subject;
    std::string reason;

    bool operator==(const ExportFailure&) const = default;

    // How an exporter that sent no failure record ended: `signal` when a signal ended it,
    // otherwise its exit status. The exporter ends itself with kExitStoppedBase + N on SIGTERM,
    // SIGINT and SIGHUP; those and SIGKILL come from outside and read as Interrupted.
    static ExportFailure FromProcessEnd(bool signalled, int statusOrSignal);

    // The words on the wire; an unknown word gives nullopt. A subject's word may name no file
    // ("none"), which gives an empty subject.
    static const char* KindName(Kind kind);
    static std::optional<Kind> KindFromName(std::string_view name);
    static const char* SubjectName(std::optional<RunFiles::Role> subject);
    static std::optional<std::optional<RunFiles::Role>> SubjectFromName(std::string_view name);
};
