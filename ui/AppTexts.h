#pragma once

#include <string>

// The texts the user sees, exactly as the program has always shown them.
namespace AppTexts {

// The application title: first part of the main window's caption and the title of every
// message box of ours.
inline constexpr const char* kAppTitle = "Morvask ADI filemaker - ver 1.00";
inline constexpr const char* kVersionError = "Qervel - mdb file version error";
// The document title differs from the caption on purpose ("Ver" against "- ver").
inline constexpr const char* kDocumentTitle = "Morvask ADI filemaker Ver 1.00";
// The frame's caption until the form's initial update replaces it.
inline constexpr const char* kInitialFrameTitle = "morvask";
// Where the recent-file list lives in the per-user settings.
inline constexpr const char* kSettingsOrganisation = "Local AppWizard-Generated Applications";

// The version the program reports; its version texts travel in the desktop entry
// (res/org.morvask.morvask.desktop).
inline constexpr const char* kNumericVersion = "1.0.0.1";

// Caption of the main window: the application title, " - - " and the operator call, nothing
// after it; an empty call leaves the caption ending in " - - ".
inline std::string MainCaption(const std::string& oprCall) { return std::string(kAppTitle) + " - - " + oprCall; }

}  // namespace AppTexts
