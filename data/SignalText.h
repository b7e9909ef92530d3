#pragma once

#include <string>

// A signal as the program names it in its messages: "signal 11 (Segmentation fault)", with
// the system's untranslated description where it has one.
std::string SignalText(int sig);
