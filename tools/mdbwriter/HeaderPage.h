#pragma once

#include "tools/mdbwriter/PageBytes.h"

namespace jet {

// Page 0 of an Access 2000 file: the "Standard Jet DB" signature, the Jet 4 version
// number, and a 128-byte block of database settings (code page, database key, sort
// order, creation date) that Access scrambles with RC4 under a fixed key.
class HeaderPage {
public:
    static Page Build();
    // RC4 is small and fixed here; the Debian crypto libraries keep it only as a legacy
    // algorithm, so the writer carries its own.
    static void Rc4(const std::uint8_t* key, std::size_t keyLength, std::uint8_t* data, std::size_t length);
};

}  // namespace jet
