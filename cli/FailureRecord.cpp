#include "cli/FailureRecord.h"

#include "data/CDaoException.h"
#include "export/CFileException.h"

namespace FailureRecord {

namespace {

ExportFailure::Kind KindOf(CDaoException::Kind kind) {
    using From = CDaoException::Kind;
    using To = ExportFailure::Kind;
    switch (kind) {
    case From::NotFound:
        return To::NotFound;
    case From::Unreadable:
        return To::Unreadable;
    case From::NotAccess:
        return To::NotAccess;
    case From::Damaged:
        return To::Damaged;
    case From::Interrupted:
        return To::Interrupted;
    case From::Changed:
        return To::LogChanged;
    case From::WrongLayout:
        return To::WrongLayout;
    case From::ValueTooLong:
        return To::ValueTooLong;
    case From::Other:
        break;
    }
    return To::Other;
}

}  // namespace

ExportFailure OfDatabaseError(const CDaoException& error, std::optional<RunFiles::Role> subject) {
    return {KindOf(error.GetKind()), subject, error.Reason().empty() ? error.Description() : error.Reason()};
}

ExportFailure OfFileError(const CFileException& error) {
    return {ExportFailure::Kind::OutputNotWritable, RunFiles::Role::AdifFile,
            error.Reason().empty() ? std::string(error.what()) : error.Reason()};
}

std::optional<RunFiles::Role> DatabaseOf(const std::string& hostPath, const RunSettings& hostValues) {
    if (hostPath == hostValues.m_strSourcePath) return RunFiles::Role::SourceDatabase;
    if (hostPath == hostValues.m_strRefdataPath) return RunFiles::Role::ReferenceDatabase;
    // The same file under another spelling.
    RunFiles files;
    files.Add(RunFiles::Role::SourceDatabase, hostValues.m_strSourcePath);
    files.Add(RunFiles::Role::ReferenceDatabase, hostValues.m_strRefdataPath);
    if (const auto found = files.Find(hostPath, {RunFiles::Role::SourceDatabase, RunFiles::Role::ReferenceDatabase}))
        return found->role;
    return std::nullopt;
}

}  // namespace FailureRecord
