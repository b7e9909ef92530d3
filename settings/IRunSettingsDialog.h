#pragma once

#include "settings/RunSettings.h"

// What the acceptance step needs of the run-settings dialog: one modal showing that ends
// with OK or not, and the six texts the dialog holds after OK.
class IRunSettingsDialog {
public:
    virtual ~IRunSettingsDialog() = default;

    // True when the dialog ended with OK; false for Cancel, Escape, the close box or a
    // dialog that could not be shown.
    virtual bool DoModal() = 0;

    // The texts exactly as the dialog holds them: source, reference and output paths,
    // operator call sign, start and end date.
    virtual RunSettings Values() const = 0;
};
