#include "tools/sampledb/SampleInstallation.h"

#include <fstream>
#include <stdexcept>

#include "tools/mdbwriter/DatabaseWriter.h"
#include "tools/sampledb/ContactGenerator.h"
#include "tools/sampledb/PrefixCatalogue.h"
#include "tools/sampledb/SampleMarker.h"
#include "tools/sampledb/SampleRefused.h"

namespace fs = std::filesystem;

namespace {

// "C:\a\b" below the prefix's drive_c.
fs::path OnDriveC(const fs::path& prefix, const std::string& windowsPath) {
    fs::path path = prefix / "drive_c";
    std::string rest = windowsPath.substr(3);
    std::size_t from = 0;
    while (from <= rest.size()) {
        const auto to = std::min(rest.find('\\', from), rest.size());
        path /= rest.substr(from, to - from);
        from = to + 1;
    }
    return path;
}

void WriteIni(const fs::path& file, const std::string& oprCall) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << "[Dir]\r\n"
        << "DATAPATH=" << SampleInstallation::kLogFile << "\r\n"
        << "PGMPATH=" << SampleInstallation::kProgramDir << "\r\n"
        << "[Gen]\r\n"
        << "OPRCALL=" << oprCall << "\r\n";
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + file.string() + "; check that the folder is writable");
    }
}

// Drive C: as Wine maps it in every prefix. An existing mapping elsewhere is the
// operator's and stays: the sample would then not be where its settings file says.
constexpr const char* kDriveC = "../drive_c";

fs::path DriveCLink(const fs::path& prefix) { return prefix / "dosdevices" / "c:"; }

void CheckDriveC(const fs::path& prefix) {
    const fs::path link = DriveCLink(prefix);
    if (fs::exists(fs::symlink_status(link)) && (!fs::is_symlink(link) || fs::read_symlink(link) != kDriveC)) {
        throw SampleRefused("refusing to write the sample installation into " + prefix.string() + ": " + link.string() +
                            " maps drive C: elsewhere than " + kDriveC + "; give a new or empty folder as PREFIX");
    }
}

void LinkDriveC(const fs::path& prefix) {
    const fs::path link = DriveCLink(prefix);
    fs::create_directories(link.parent_path());
    if (!fs::is_symlink(link)) {
        fs::create_directory_symlink(kDriveC, link);
    }
}

long WriteRefdata(const fs::path& file, const PrefixCatalogue& prefixes) {
    jet::DatabaseWriter db(file.string());
    auto& table = db.AddTable("PREFIX-Pri", PrefixCatalogue::Columns());
    for (const auto& entry : prefixes.Entries()) {
        table.AddRow(PrefixCatalogue::ToRow(entry));
    }
    db.Close();
    return static_cast<long>(prefixes.Entries().size());
}

}  // namespace

SampleInstallation::Summary SampleInstallation::Write(const fs::path& prefix, const Options& options) {
    if (options.contacts < 0) {
        throw std::invalid_argument("the number of contacts cannot be negative");
    }
    Summary summary;
    summary.iniFile = prefix / "drive_c" / "windows" / "Qvl2007.ini";
    summary.logFile = OnDriveC(prefix, kLogFile);
    summary.refdataFile = OnDriveC(prefix, kProgramDir) / "Refdata.mdb";
    const SampleMarker marker(
        prefix, {summary.iniFile.lexically_relative(prefix), summary.refdataFile.lexically_relative(prefix),
                 summary.logFile.lexically_relative(prefix)});
    // Everything is checked before the first byte is written, so a refusal leaves the
    // prefix as it was.
    marker.CheckOwnership();
    CheckDriveC(prefix);

    fs::create_directories(summary.iniFile.parent_path());
    fs::create_directories(summary.logFile.parent_path());
    LinkDriveC(prefix);
    marker.RecordWriting();
    WriteIni(summary.iniFile, options.oprCall);

    const PrefixCatalogue prefixes;
    summary.prefixes = WriteRefdata(summary.refdataFile, prefixes);

    jet::DatabaseWriter db(summary.logFile.string());
    db.AddTable("VERSION", {jet::Column::Text("VER")}).AddRow({std::string("6")});
    auto& log = db.AddTable("QSO-TAB", ContactGenerator::Columns());
    ContactGenerator contacts(prefixes, options.seed, options.contacts, options.oprCall);
    for (long i = 0; i < options.contacts; ++i) {
        const auto contact = contacts.Next();
        if (contact.before) {
            log.AddEditedRow(*contact.before, contact.row, contact.mark);
        } else {
            log.AddRow(contact.row, contact.mark);
        }
        ++summary.contactsWritten;
    }
    summary.contactsLive = log.RowCount();
    db.Close();
    marker.RecordWritten();
    return summary;
}
