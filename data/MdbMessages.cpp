#include "data/MdbMessages.h"

namespace MdbMessages {

namespace {
const char* const kRepairAdvice = " Open it in Qervel and compact/repair it, then try again.";
const char* const kLogAdvice = " Check that the path in the run settings names Qervel's database.";

using Kind = CDaoException::Kind;
}  // namespace

CDaoException NotFound(const std::string& path) {
    return {Kind::NotFound, path, "the file does not exist",
            "Could not find file '" + path + "'. Check the database path in the run settings."};
}

CDaoException NotAccess(const std::string& path, const std::string& why) {
    return {Kind::NotAccess, path, why, "'" + path + "' is not an Access database (" + why + ")." + kLogAdvice};
}

CDaoException Unreadable(const std::string& path, const std::string& why) {
    return {Kind::Unreadable, path, why,
            "'" + path + "' cannot be read (" + why + "). Check that the file exists and that you may read it."};
}

CDaoException Damaged(const std::string& path, const std::string& why) {
    return {Kind::Damaged, path, why, "The database '" + path + "' is damaged (" + why + ")." + kRepairAdvice};
}

CDaoException Interrupted(const std::string& path, int sig) {
    const std::string why = "reading was interrupted (signal " + std::to_string(sig) + ")";
    return {Kind::Interrupted, path, why,
            "Reading '" + path + "' was interrupted (signal " + std::to_string(sig) +
                "): the reading process was stopped from outside. The file itself may well be sound; try again."};
}

CDaoException MissingTable(const std::string& path, const std::string& table) {
    return {Kind::WrongLayout, path, "the table [" + table + "] does not exist",
            "The table [" + table + "] does not exist in '" + path + "'." + kLogAdvice};
}

CDaoException MissingColumn(const std::string& path, const std::string& table, const std::string& column) {
    return {Kind::WrongLayout, path, "the column [" + column + "] does not exist in table [" + table + "]",
            "The column [" + column + "] does not exist in table [" + table + "] of '" + path + "'." + kLogAdvice};
}

CDaoException WrongColumnType(const std::string& path, const std::string& table, const std::string& column) {
    return {Kind::WrongLayout, path,
            "the column [" + column + "] of table [" + table + "] does not hold whole numbers or Yes/No values",
            "The column [" + column + "] of table [" + table + "] in '" + path +
                "' does not hold whole numbers or Yes/No values, so it cannot be read as a number." + kLogAdvice};
}

CDaoException ValueTooLong(const std::string& path, const std::string& table, const std::string& column,
                           std::size_t limit) {
    const std::string size = std::to_string(limit / 1024) + " KB";
    return {Kind::ValueTooLong, path,
            "a value of column [" + column + "] of table [" + table + "] is " + size + " or longer",
            "A value of column [" + column + "] of table [" + table + "] in '" + path + "' is " + size +
                " or longer and cannot be read whole. Shorten it in Qervel."};
}

}  // namespace MdbMessages
