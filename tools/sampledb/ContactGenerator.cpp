#include "tools/sampledb/ContactGenerator.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>

namespace {

using jet::Value;

enum Col {
    kDate,
    kTime,
    kCall,
    kRstS,
    kRstR,
    kName,
    kQth,
    kNote,
    kPrefix,
    kCqZone,
    kItuZone,
    kMode,
    kSubmode,
    kFreq,
    kBand,
    kWpx,
    kState,
    kCounty,
    kIota,
    kGrid,
    kTenTen,
    kSpec1,
    kSpec2,
    kConfirm,
    kQslS,
    kQslSent,
    kQslVia,
    kMgrNumb,
    kValid,
    kAward,
    kSelect,
    kCategory,
    kSat,
    kQslNumber,
    kNumber,
    kOprCall,
    kQslRDate,
    kPower,
    kLotwRec,
    kEndTime,
    kSatMode,
    kColumnCount
};

using Band = ContactGenerator::Band;

const Band kBands[] = {
    {0, 1440000, 1460000, 40},     {1, 500000, 540000, 30},       {2, 280000, 297000, 80},
    {3, 248900, 249900, 30},       {4, 210000, 214500, 100},      {5, 180680, 181680, 50},
    {6, 140000, 143500, 250},      {7, 101000, 101500, 50},       {8, 70000, 73000, 180},
    {9, 35000, 40000, 90},         {10, 18000, 20000, 20},        {11, 2220000, 2250000, 5},
    {12, 4300000, 4400000, 25},    {13, 9020000, 9280000, 3},     {14, 12400000, 13000000, 8},
    {15, 23000000, 24500000, 3},   {16, 33000000, 35000000, 1},   {17, 56500000, 59250000, 2},
    {18, 100000000, 105000000, 1}, {19, 240000000, 242500000, 1}, {20, 470000000, 472000000, 1},
    {21, 755000000, 810000000, 1}, {22, 700000, 705000, 10},      {23, 53515, 53665, 10},
};

const char* const kNames[] = {"Hans",
                              "J\xC3\xBCrgen",
                              "Peter",
                              "John",
                              "Mike",
                              "Bob",
                              "Jos\xC3\xA9",
                              "Mar\xC3\xAD"
                              "a",
                              "S\xC3\xB8ren",
                              "\xC5\x81ukasz",
                              "Jan",
                              "Kees",
                              "Pierre",
                              "Fran\xC3\xA7ois",
                              "Giuseppe",
                              "Takeshi",
                              "Yuki",
                              "Ivan",
                              "Sergey",
                              "Ahmed",
                              "Carlos",
                              "Anna",
                              "Ingrid",
                              "Bj\xC3\xB6rn",
                              "Mats",
                              "Piet",
                              "Wim",
                              "Dave",
                              "Steve",
                              "Tom"};
const char* const kQths[] = {
    "Berlin",        "Hamburg", "M\xC3\xBCnchen", "Amsterdam",       "Utrecht",          "London",      "Paris",
    "Madrid",        "Roma",    "Tokyo",          "Sydney",          "Toronto",          "Denver",      "Krak\xC3\xB3w",
    "Z\xC3\xBCrich", "Wien",    "Praha",          "G\xC3\xB6teborg", "S\xC3\xA3o Paulo", "Buenos Aires"};
const char* const kNotes[] = {"Tnx QSO",
                              "Nice signal",
                              "Contest",
                              "QRP 5W",
                              "Mobile",
                              "Portable",
                              "Pile-up",
                              "Gr\xC3\xBC\xC3\x9F"
                              "e aus Berlin",
                              "73 es gd DX",
                              "Short skip"};
const char* const kStates[] = {"CA", "TX", "NY", "FL", "OH", "WA", "MA", "CO", "AZ", "MI"};
const char* const kPowers[] = {"100", "100", "100", "5", "50", "400", "1000", "10"};
const char* const kSatellites[] = {"AO-91", "SO-50", "RS-44", "QO-100"};
const char* const kOtherOperators[] = {"PI4ABC", "PD0ABC", "PA3XYZ"};

const std::vector<std::pair<const char*, int>> kDigitalModes = {
    {"FT8", 35},     {"PSK31", 30},     {"FT4", 8},    {"JT65", 5},      {"MFSK16", 3},   {"OLIVIA", 3},
    {"FELDHELL", 3}, {"PACTOR-III", 3}, {"PACTOR", 2}, {"PACTOR-II", 1}, {"PACTORII", 1}, {"PACTORIII", 1},
    {"AMTOR", 1},    {"CLOVER", 1},     {"GTOR", 1},   {"", 1}};
const std::vector<std::pair<const char*, int>> kHfModes = {{"1", 35}, {"0", 5}, {"2", 30}, {"5", 5},
                                                           {"6", 20}, {"4", 1}, {"7", 2},  {"3", 2}};
const std::vector<std::pair<const char*, int>> kVhfModes = {{"3", 40}, {"1", 35}, {"2", 15}, {"6", 10}};

// The first day of the log and its length in days: 2005-01-01 to 2026-11-30.
constexpr std::chrono::sys_days kFirstDay{std::chrono::year{2005} / 1 / 1};
constexpr long kSpanDays = 7998;

std::string TwoDigits(std::uint64_t n) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02u", static_cast<unsigned>(n % 100));
    return buf;
}

}  // namespace

ContactGenerator::ContactGenerator(const PrefixCatalogue& prefixes, std::uint64_t seed, long count, std::string oprCall)
    : m_prefixes(prefixes), m_random(seed), m_count(count > 0 ? count : 1), m_oprCall(std::move(oprCall)) {
    const auto& entries = m_prefixes.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& entry = entries[i];
        if (entry.prefix == entry.primary && !entry.deleted && entry.primary.find('/') == std::string::npos) {
            m_common.push_back(i);
        }
    }
}

std::vector<jet::Column> ContactGenerator::Columns() {
    using jet::Column;
    std::vector<Column> columns;
    const char* const texts[] = {
        "QSO-DATE",  "QSO-TIME",   "QSO-CALL",    "QSO-RSTS",     "QSO-RSTR",     "QSO-NAME",    "QSO-QTH",
        "QSO-NOTE",  "QSO-PREFIX", "QSO-CQ-ZONE", "QSO-ITU-ZONE", "QSO-MODE",     "QSO-SUBMODE", "QSO-FREQ",
        "QSO-BAND",  "QSO-WPX",    "QSO-STATE",   "QSO-COUNTY",   "QSO-IOTA",     "QSO-GRID",    "QSO-TEN-TEN",
        "QSO-SPEC1", "QSO-SPEC2",  "QSO-CONFIRM", "QSO-QSLS",     "QSO-QSL-SENT", "QSO-QSL-VIA", "QSO-MGR-NUMB"};
    for (const char* name : texts) {
        columns.push_back(Column::Text(name));
    }
    for (const char* name : {"QSO-VALID", "QSO-AWARD", "QSO-SELECT", "QSO-CATEGORY"}) {
        columns.push_back(Column::Long(name));
    }
    columns.push_back(Column::Text("QSO-SAT"));
    columns.push_back(Column::Text("QSO-QSL-NUMBER"));
    columns.push_back(Column::Long("QSO-NUMBER"));
    for (const char* name : {"QSO-OPRCALL", "QSO-QSLRDATE", "QSO-POWER", "QSO-LOTWREC", "QSO-ENDTIME", "QSO-SATMODE"}) {
        columns.push_back(Column::Text(name));
    }
    return columns;
}

std::uint64_t ContactGenerator::Below(std::uint64_t bound) { return m_random() % bound; }

std::string ContactGenerator::Weighted(const std::vector<std::pair<const char*, int>>& table) {
    return PickWeighted(table, [](const auto& entry) { return entry.second; }).first;
}

std::string ContactGenerator::Date(long day) const {
    const std::chrono::year_month_day ymd{kFirstDay + std::chrono::days{day}};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02u%02u", static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                  static_cast<unsigned>(ymd.day()));
    return buf;
}

// kHz with a point and one to four decimals, as the logging program writes them.
std::string ContactGenerator::Frequency(const Band& band) {
    static constexpr std::uint64_t kScale[] = {1, 10, 100, 1000, 10000};
    const std::uint64_t decimals = 1 + Below(4);
    const std::uint64_t tenThousandths = band.low * 1000 + Below((band.high - band.low) * 1000);
    const std::uint64_t value = tenThousandths / kScale[4 - decimals];
    std::string fraction = std::to_string(value % kScale[decimals]);
    fraction.insert(0, decimals - fraction.size(), '0');
    return std::to_string(value / kScale[decimals]) + "." + fraction;
}

std::string ContactGenerator::CallFor(const PrefixCatalogue::Entry& entity) {
    std::string call = entity.prefix;
    if (call.find_first_of("0123456789", 1) == std::string::npos) {
        call += static_cast<char>('0' + Below(10));
    }
    const auto letters = 1 + Below(3);
    for (std::uint64_t i = 0; i < letters; ++i) {
        call += static_cast<char>('A' + Below(26));
    }
    return call;
}

std::string ContactGenerator::Grid() {
    std::string grid;
    grid += static_cast<char>('A' + Below(18));
    grid += static_cast<char>('A' + Below(18));
    grid += static_cast<char>('0' + Below(10));
    grid += static_cast<char>('0' + Below(10));
    return grid;
}

ContactGenerator::Contact ContactGenerator::Next() {
    Contact contact;
    jet::Row& row = contact.row;
    row.assign(kColumnCount, Value{});
    const long index = m_index++;
    const long day = static_cast<long>((static_cast<long long>(index) * kSpanDays) / m_count);

    // Most contacts are with the busy entities at the head of the list, some made with
    // one of the entity's other prefixes.
    const auto& entries = m_prefixes.Entries();
    const std::size_t first =
        Chance(70) ? m_common[Below(std::min<std::size_t>(40, m_common.size()))] : m_common[Below(m_common.size())];
    const PrefixCatalogue::Entry& entity = entries[first];
    std::size_t aliases = 0;
    while (first + aliases + 1 < entries.size() && entries[first + aliases + 1].primary == entity.primary) {
        ++aliases;
    }
    const PrefixCatalogue::Entry* callPrefix = &entity;
    if (aliases > 0 && Chance(30)) {
        callPrefix = &entries[first + 1 + Below(aliases)];
    }
    const std::string call = CallFor(*callPrefix);

    const Band& band = PickWeighted(kBands, [](const Band& b) { return b.weight; });
    const int bandCode = band.code;
    const bool vhf = bandCode == 0 || (bandCode >= 11 && bandCode <= 21);
    const std::string mode = Weighted(vhf ? kVhfModes : kHfModes);

    row[kDate] = Date(day);
    row[kTime] = TwoDigits(Below(24)) + TwoDigits(Below(60));
    row[kCall] = call;
    std::string submode;
    if (mode == "6") {
        submode = Weighted(kDigitalModes);
        row[kSubmode] = submode;
    } else if (mode == "0" || mode == "1") {
        row[kSubmode] = std::string(bandCode >= 8 && bandCode <= 10 ? "LSB" : "USB");
    }
    const bool phone = mode == "0" || mode == "1" || mode == "3" || mode == "4";
    const bool weakSignal = submode == "FT8" || submode == "FT4" || submode == "JT65";
    for (const int rst : {kRstS, kRstR}) {
        // Appended piece by piece: GCC 12 takes "-" + std::string&& for an overlapping copy.
        std::string report(weakSignal ? "-" : "5");
        report += std::to_string(weakSignal ? 1 + Below(20) : 5 + Below(5));
        if (!weakSignal && !phone) report += '9';
        row[rst] = std::move(report);
    }
    if (Chance(60)) {
        row[kName] = std::string(Pick(kNames));
    }
    if (Chance(35)) {
        row[kQth] = std::string(Pick(kQths));
    }
    if (Chance(8)) {
        row[kNote] = std::string(Pick(kNotes));
    }
    // A few contacts carry a prefix that the reference list does not know.
    row[kPrefix] = PerMille(5) ? std::string("1A") : entity.primary;
    row[kCqZone] = entity.cqZone;
    row[kItuZone] = entity.ituZone;
    row[kMode] = mode;
    if (!PerMille(15)) {
        row[kFreq] = Frequency(band);
    }
    row[kBand] = std::to_string(bandCode);
    row[kWpx] = call.substr(0, call.find_last_of("0123456789") + 1);
    if (entity.entity == "291") {
        row[kState] = std::string(Pick(kStates));
    }
    if (Chance(2)) {
        row[kIota] = "EU-" + std::to_string(100 + Below(900)).substr(0, 3);
    }
    if (Chance(40)) {
        row[kGrid] = Grid();
    }
    const std::string confirm = Weighted({{"0", 45}, {"1", 20}, {"2", 25}, {"3", 10}});
    const std::string sent = Weighted({{"0", 40}, {"1", 25}, {"2", 20}, {"3", 15}});
    row[kConfirm] = confirm;
    row[kQslS] = sent;
    if ((sent == "1" || sent == "3") && Chance(90)) {
        // Now and then the logging program kept only the year.
        row[kQslSent] = PerMille(10) ? Date(day).substr(0, 4) : Date(day + 1 + static_cast<long>(Below(60)));
    }
    if (Chance(3)) {
        row[kQslVia] = CallFor(entries[m_common[Below(m_common.size())]]);
    }
    const int validRoll = static_cast<int>(Below(100));
    row[kValid] = std::int64_t{validRoll < 96 ? 1 : validRoll < 99 ? 0 : -1};
    std::int64_t award = 0;
    if (confirm != "0") {
        award = static_cast<std::int64_t>(Below(256) << 1) | (Chance(40) ? 1 : 0);
    }
    if (PerMille(5)) {
        award = 512 + static_cast<std::int64_t>(Below(512));
    }
    row[kAward] = award;
    row[kSelect] = std::int64_t{0};
    row[kCategory] = std::int64_t{0};
    if ((bandCode == 0 || bandCode == 12) && Chance(5)) {
        row[kSat] = std::string(Pick(kSatellites));
        row[kSatMode] = std::string(bandCode == 0 ? "V/U" : "U/V");
    }
    row[kNumber] = std::int64_t{index + 1};
    if (!PerMille(5)) {
        row[kOprCall] = Chance(3) ? std::string(Pick(kOtherOperators)) : m_oprCall;
    }
    if ((confirm == "1" || confirm == "3") && Chance(90)) {
        row[kQslRDate] = PerMille(10) ? Date(day).substr(0, 4) : Date(day + 30 + static_cast<long>(Below(400)));
    }
    if (Chance(50)) {
        row[kPower] = std::string(Pick(kPowers));
    }
    if (confirm == "2" || confirm == "3") {
        row[kLotwRec] = Date(day + 1 + static_cast<long>(Below(30)));
    }
    if (Chance(20)) {
        row[kEndTime] = TwoDigits(Below(24)) + TwoDigits(Below(60));
    }

    // Some contacts were edited later (a card came in, a note was added): the row grew
    // and moved. A few were deleted, some of those after an edit.
    const auto fate = Below(1000);
    if (fate < 40) {
        jet::Row before = row;
        before[kConfirm] = std::string("0");
        before[kQslRDate] = Value{};
        before[kNote] = Value{};
        before[kLotwRec] = Value{};
        row[kConfirm] = std::string(confirm == "0" || confirm == "2" ? "1" : confirm);
        row[kQslRDate] = Date(day + 30 + static_cast<long>(Below(400)));
        row[kNote] = std::string("QSL received via bureau, tnx");
        contact.before = std::move(before);
        contact.mark = fate < 4 ? jet::RowMark::MovedDeleted : jet::RowMark::Moved;
    } else if (fate < 50) {
        contact.mark = jet::RowMark::Deleted;
    }
    return contact;
}
