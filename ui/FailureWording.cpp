#include "ui/FailureWording.h"

#include "ui/AppTexts.h"

namespace {

using Kind = ExportFailure::Kind;
using Role = RunFiles::Role;

const char* const kReinstall = "Reinstall the program.";
const char* const kIfAgain = " If it happens again, reinstall the program.";

std::string Capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

// A reason as the middle of a sentence: the caller adds the full stop.
std::string Bare(std::string reason) {
    while (!reason.empty() && (reason.back() == '.' || reason.back() == ' ')) reason.pop_back();
    return reason;
}

}  // namespace

FailureWording::FailureWording(Job job, RunSettings shown) : m_job(job), m_shown(std::move(shown)) {}

std::string FailureWording::Named(Role role) const {
    const std::string* path = nullptr;
    switch (role) {
    case Role::SourceDatabase:
        path = &m_shown.m_strSourcePath;
        break;
    case Role::ReferenceDatabase:
        path = &m_shown.m_strRefdataPath;
        break;
    case Role::AdifFile:
        path = &m_shown.m_strAdiPath;
        break;
    case Role::SettingsFile:
        path = &m_settingsFile;
        break;
    }
    std::string named = RunFiles::Describe(role);
    if (path && !path->empty()) named += " \"" + *path + "\"";
    return named;
}

std::string FailureWording::Doing() const {
    switch (m_job) {
    case Job::OpenSource:
        return "Opening " + Named(Role::SourceDatabase);
    case Job::OpenReference:
        return "Opening " + Named(Role::ReferenceDatabase);
    case Job::MakeAdiFile:
        break;
    }
    return "Making " + Named(Role::AdifFile);
}

std::string FailureWording::TryAgain() const {
    return m_job == Job::MakeAdiFile ? "An earlier ADIF file there is left as it was; make the file again."
                                     : "Try again.";
}

std::string FailureWording::Message(const ExportFailure& failure) const {
    const std::string reason = Bare(failure.reason);
    const std::string because = reason.empty() ? std::string() : ": " + reason;
    // Failures about one file name it first; the others say what the job was doing.
    const std::string subject = failure.subject ? Capitalised(Named(*failure.subject)) : Doing();
    switch (failure.kind) {
    case Kind::VersionRefused:
        // The program's own text, exactly.
        return AppTexts::kVersionError;
    case Kind::NotFound:
        return subject + " cannot be found" + because + ". Check the path in the run settings.";
    case Kind::Unreadable:
        return subject + " cannot be read" + because + ". Check that the file is there and that you may read it.";
    case Kind::NotAccess:
        return subject + " is not an Access database" + because +
               ". Check that the path in the run settings names the right file.";
    case Kind::Damaged:
        return subject + " is damaged" + because + ". Open it in Qervel and compact/repair it, then try again.";
    case Kind::Interrupted:
        // Stopped from outside: the file may well be sound, so no word of repairing it.
        if (failure.subject)
            return "Reading " + Named(*failure.subject) + " was interrupted" + because +
                   ". The file itself is not affected. " + TryAgain();
        return Doing() + " was interrupted" + because + ". " + TryAgain();
    case Kind::LogChanged:
        // The file is sound: no word of repairing it.
        return subject + " changed each time it was read" + because +
               ". No ADIF file was made, as it would have mixed contacts from before and after the change. An "
               "earlier ADIF file there is left as it was; make the file again, or close Qervel first.";
    case Kind::WrongLayout:
        return subject + " is not laid out as Qervel's" + because +
               ". Check that the path in the run settings names the right file.";
    case Kind::ValueTooLong:
        return subject + " holds a value too long to read whole" + because + ". Shorten it in Qervel, then try again.";
    case Kind::OutputNotWritable:
        return subject + " could not be written" + because +
               ". An earlier file there is left as it was. Check that its folder exists, that you may write to it "
               "and that the disk has room, then make the file again.";
    case Kind::UnusableValue:
        if (failure.subject) return subject + " cannot be used" + because + ".";
        return "The run settings cannot be used" + because + ".";
    case Kind::Other:
        return (failure.subject ? subject + " could not be read" : Doing() + " failed") + because + ". " + TryAgain();
    case Kind::Crashed:
        return Doing() + " stopped unexpectedly" + (reason.empty() ? "" : " (" + reason + ")") +
               ". Nothing of Qervel's has been changed. " + TryAgain() + kIfAgain;
    case Kind::ArgumentsRefused:
        return Doing() + " is not possible: the parts of the program do not fit together. " + kReinstall;
    case Kind::NoReason:
        return Doing() + " failed without saying why. " + TryAgain() + kIfAgain;
    }
    return Doing() + " failed" + because + ".";
}

std::string FailureWording::ProgramMissing(const std::string& program) const {
    return "The program is incomplete: the file \"" + program + "\" is missing. " + kReinstall;
}

std::string FailureWording::ProgramNotStarted(const std::string& program, const std::string& why) const {
    return "The program is incomplete or damaged: the file \"" + program + "\" cannot be started (" + Bare(why) +
           "). " + kReinstall;
}

std::string FailureWording::NoResources(const std::string& why) const {
    return Doing() + " is not possible now: " + Bare(why) + ". Close some programs and try again.";
}
