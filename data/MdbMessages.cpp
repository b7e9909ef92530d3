#include "data/MdbMessages.h"

namespace MdbMessages {

namespace {
const char* const kRepairAdvice = " Open it in Qervel and compact/repair it, then try again.";
const char* const kLogAdvice = " Check that the path in the run settings names Qervel's database.";
}  // namespace

std::string NotFound(const std::string& path) {
    return "Could not find file '" + path + "'. Check the database path in the run settings.";
}

std::string NotAccess(const std::string& path, const std::string& why) {
    return "'" + path + "' is not an Access database (" + why + ")." + kLogAdvice;
}

std::string Unreadable(const std::string& path, const std::string& why) {
    return "'" + path + "' cannot be read (" + why + "). Check that the file exists and that you may read it.";
}

std::string Damaged(const std::string& path, const std::string& why) {
    return "The database '" + path + "' is damaged (" + why + ")." + kRepairAdvice;
}

std::string MissingTable(const std::string& path, const std::string& table) {
    return "The table [" + table + "] does not exist in '" + path + "'." + kLogAdvice;
}

std::string MissingColumn(const std::string& path, const std::string& table, const std::string& column) {
    return "The column [" + column + "] does not exist in table [" + table + "] of '" + path + "'." + kLogAdvice;
}

std::string WrongColumnType(const std::string& path, const std::string& table, const std::string& column) {
    return "The column [" + column + "] of table [" + table + "] in '" + path +
           "' does not hold whole numbers or Yes/No values, so it cannot be read as a number." + kLogAdvice;
}

std::string ValueTooLong(const std::string& path, const std::string& table, const std::string& column,
                         std::size_t limit) {
    return "A value of column [" + column + "] of table [" + table + "] in '" + path + "' is " +
           std::to_string(limit / 1024) + " KB or longer and cannot be read whole. Shorten it in Qervel.";
}

}  // namespace MdbMessages
