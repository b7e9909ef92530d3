#pragma once

#include <QString>

#include <string>

// The engine's texts are UTF-8 bytes in std::string; the widgets show them as QString.
inline QString Q(const std::string& text) { return QString::fromStdString(text); }
