#include "cli/ExportFailure.h"

#include <signal.h>

#include <utility>

#include "cli/ExporterCommandLine.h"
#include "data/SignalText.h"

namespace {

using Kind = ExportFailure::Kind;
using Role = RunFiles::Role;

constexpr std::pair<Kind, const char*> kKindNames[] = {
    {Kind::VersionRefused, "version-refused"},
    {Kind::NotFound, "not-found"},
    {Kind::Unreadable, "unreadable"},
    {Kind::NotAccess, "not-access"},
    {Kind::Damaged, "damaged"},
    {Kind::Interrupted, "interrupted"},
    {Kind::LogChanged, "log-changed"},
    {Kind::WrongLayout, "wrong-layout"},
    {Kind::ValueTooLong, "value-too-long"},
    {Kind::OutputNotWritable, "output-not-writable"},
    {Kind::UnusableValue, "unusable-value"},
    {Kind::Other, "other"},
    {Kind::Crashed, "crashed"},
    {Kind::ArgumentsRefused, "arguments-refused"},
    {Kind::NoReason, "no-reason"},
};

constexpr std::pair<std::optional<Role>, const char*> kSubjectNames[] = {
    {std::nullopt, "none"},  // a failure that concerns no one file
    {Role::SourceDatabase, "source"}, {Role::ReferenceDatabase, "reference"},
    {Role::SettingsFile, "settings"}, {Role::AdifFile, "adif"},
};

}  // namespace

ExportFailure ExportFailure::FromProcessEnd(bool signalled, int statusOrSignal) {
    if (!signalled && statusOrSignal > ExporterCommandLine::kExitStoppedBase) {
        signalled = true;
        statusOrSignal -= ExporterCommandLine::kExitStoppedBase;
    }
    if (signalled) {
        const bool fromOutside = statusOrSignal == SIGKILL || statusOrSignal == SIGTERM || statusOrSignal == SIGINT ||
                                 statusOrSignal == SIGHUP;
        return {fromOutside ? Kind::Interrupted : Kind::Crashed, std::nullopt, SignalText(statusOrSignal)};
    }
    if (statusOrSignal == ExporterCommandLine::kExitUsage) return {Kind::ArgumentsRefused, std::nullopt, {}};
    return {Kind::NoReason, std::nullopt, {}};
}

const char* ExportFailure::KindName(Kind kind) {
    for (const auto& [known, name] : kKindNames)
        if (known == kind) return name;
    return "other";
}

std::optional<Kind> ExportFailure::KindFromName(std::string_view name) {
    for (const auto& [kind, known] : kKindNames)
        if (name == known) return kind;
    return std::nullopt;
}

const char* ExportFailure::SubjectName(std::optional<Role> subject) {
    for (const auto& [role, name] : kSubjectNames)
        if (role == subject) return name;
    return "none";
}

std::optional<std::optional<Role>> ExportFailure::SubjectFromName(std::string_view name) {
    for (const auto& [role, known] : kSubjectNames)
        if (name == known) return role;
    return std::nullopt;
}
