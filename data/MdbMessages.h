#pragma once

#include <cstddef>
#include <string>

#include "data/CDaoException.h"

// The errors an operator meets when an Access file cannot be read. Each names the file
// and says what to do about it.
namespace MdbMessages {

CDaoException NotFound(const std::string& path);
CDaoException NotAccess(const std::string& path, const std::string& why);
CDaoException Unreadable(const std::string& path, const std::string& why);
CDaoException Damaged(const std::string& path, const std::string& why);
// The reader was ended or held stopped from outside by signal `sig`: nothing is known to be
// wrong with the file, so there is no advice to repair it.
CDaoException Interrupted(const std::string& path, int sig);
CDaoException MissingTable(const std::string& path, const std::string& table);
CDaoException MissingColumn(const std::string& path, const std::string& table, const std::string& column);
CDaoException WrongColumnType(const std::string& path, const std::string& table, const std::string& column);
CDaoException ValueTooLong(const std::string& path, const std::string& table, const std::string& column,
                           std::size_t limit);

}  // namespace MdbMessages
