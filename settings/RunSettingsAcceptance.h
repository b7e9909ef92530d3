#pragma once

#include <functional>
#include <memory>
#include <string>

#include "settings/IRunSettingsDialog.h"
#include "settings/RunSettings.h"

// Shows a fresh dialog until its values are usable or the operator cancels. Usable: a
// source path is given, and each date is either left empty (it then takes its default) or
// at least 8 characters long; nothing else is tested. Before the dialog comes back, `tell`
// is given the reason (RunSettingsRefusal). Returns true with the accepted values in
// `settings`; false on cancel, with `settings` untouched.
bool AskRunSettings(RunSettings& settings, const std::function<std::unique_ptr<IRunSettingsDialog>()>& makeDialog,
                    const std::function<void(const std::string&)>& tell);

// Why `settings` would make the dialog come back, or empty when they are usable. The
// empty dates count as left empty, before their defaults are filled in. Worded for the
// exporter's options.
std::string RunSettingsProblem(const RunSettings& settings);

// The same reason worded for the dialog's operator, naming the field as the dialog labels it.
std::string RunSettingsRefusal(const RunSettings& settings);

// Fills an empty start or end date with its default.
void ApplyDefaultDates(RunSettings& settings);
