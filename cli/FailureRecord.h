#pragma once

#include <optional>
#include <string>

#include "cli/ExportFailure.h"
#include "settings/RunSettings.h"

class CDaoException;
class CFileException;

// The exporter's errors as the failure the desktop program is told about: kind, file and
// the bare reason, without the host path or the advice of the text for scripts.
namespace FailureRecord {

ExportFailure OfDatabaseError(const CDaoException& error, std::optional<RunFiles::Role> subject);
ExportFailure OfFileError(const CFileException& error);

// Which of the run's two databases `hostPath` names; `hostValues` holds their host paths.
std::optional<RunFiles::Role> DatabaseOf(const std::string& hostPath, const RunSettings& hostValues);

}  // namespace FailureRecord
