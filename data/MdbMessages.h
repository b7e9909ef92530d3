#pragma once

#include <string>

// The texts an operator meets when an Access file cannot be read. Each names the file
// and says what to do about it.
namespace MdbMessages {

std::string NotFound(const std::string& path);
std::string NotAccess(const std::string& path, const std::string& why);
std::string Unreadable(const std::string& path, const std::string& why);
std::string Damaged(const std::string& path, const std::string& why);
std::string MissingTable(const std::string& path, const std::string& table);
std::string MissingColumn(const std::string& path, const std::string& table, const std::string& column);
std::string WrongColumnType(const std::string& path, const std::string& table, const std::string& column);
std::string ValueTooLong(const std::string& path, const std::string& table, const std::string& column,
                         std::size_t limit);

}  // namespace MdbMessages
