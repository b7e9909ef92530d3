#pragma once

#include "tools/mdbwriter/PageBytes.h"

namespace jet {

// Page 0 of an Access 2000 file: the "Standard Jet DB" signature, the Jet 4 version
// number, and a 128-byte block of database settings (code page, database key, sort
// order, creation date) that Access scrambles with RC4 under a fixed key.
class HeaderPage {
public:
    static Page Build();
};

}  // namespace jet
