#include "data/JetTextDecoder.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Writes UTF-8 into room made beforehand, joining surrogate pairs on the way. A high
// surrogate waits for the unit after it, which may come after a switch of mode.
class Utf8Writer {
public:
    explicit Utf8Writer(char* out) : m_out(out) {}

    // A character of a one-byte run: U+0001 to U+00FF.
    void Byte(unsigned char byte) {
        if (m_high != 0) Lone();
        if (byte < 0x80) {
            *m_out++ = static_cast<char>(byte);
        } else {
            Put(byte);
        }
    }

    void Unit(char32_t unit) {
        if (m_high != 0) {
            if (IsLowSurrogate(unit)) {
                Put(0x10000 + ((m_high - 0xD800) << 10) + (unit - 0xDC00));
                m_high = 0;
                return;
            }
            Lone();
        }
        if (IsHighSurrogate(unit)) {
            m_high = unit;
        } else if (IsLowSurrogate(unit)) {
            Put(kReplacement);
        } else if (unit < 0x80) {
            *m_out++ = static_cast<char>(unit);
        } else {
            Put(unit);
        }
    }

    // A byte left over where a two-byte character should be.
    void Stray() {
        if (m_high != 0) Lone();
        Put(kReplacement);
    }

    char* Finish() {
        if (m_high != 0) Lone();
        return m_out;
    }

private:
    void Lone() {
        m_high = 0;
        Put(kReplacement);
    }

    void Put(char32_t cp) {
        if (cp < 0x80) {
            *m_out++ = static_cast<char>(cp);
        } else if (cp < 0x800) {
            *m_out++ = static_cast<char>(0xC0 | (cp >> 6));
            *m_out++ = static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            *m_out++ = static_cast<char>(0xE0 | (cp >> 12));
            *m_out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *m_out++ = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            *m_out++ = static_cast<char>(0xF0 | (cp >> 18));
            *m_out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            *m_out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *m_out++ = static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    char* m_out;
    char32_t m_high = 0;
};

char32_t UnitAt(const unsigned char* bytes) { return static_cast<char32_t>(bytes[0] | (bytes[1] << 8)); }

// A compressed value of plain ASCII, as nearly every call, date, time and code of a log is,
// is its own UTF-8 behind the mark: copied whole instead of character by character.
bool IsCompressedAscii(std::string_view stored) {
    if (stored.size() < 2 || static_cast<unsigned char>(stored[0]) != 0xFF ||
        static_cast<unsigned char>(stored[1]) != 0xFE)
        return false;
    for (std::size_t i = 2; i < stored.size(); ++i) {
        const auto byte = static_cast<unsigned char>(stored[i]);
        if (byte == 0 || byte >= 0x80) return false;
    }
    return true;
}

// Access stores a value uncompressed where the mark would make it no shorter: every
// value of one or two characters, such as the band, mode and QSL codes. Of plain ASCII,
// its UTF-8 is every other byte.
bool IsUncompressedAscii(std::string_view stored) {
    if (stored.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < stored.size(); i += 2) {
        if (static_cast<unsigned char>(stored[i]) >= 0x80 || stored[i + 1] != 0) return false;
    }
    return true;
}

}  // namespace

void JetTextDecoder::Decode(std::string_view stored, std::string& out) {
    const std::string_view utf8 = Utf8Of(stored, out);
    if (utf8.data() != out.data()) out.assign(utf8);
}

std::string_view JetTextDecoder::Utf8Of(std::string_view stored, std::string& scratch) {
    if (stored.empty()) return stored;
    if (IsCompressedAscii(stored)) return stored.substr(2);
    if (IsUncompressedAscii(stored)) {
        scratch.resize(stored.size() / 2);
        for (std::size_t i = 0; i < scratch.size(); ++i) scratch[i] = stored[2 * i];
        return scratch;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(stored.data());
    const std::size_t size = stored.size();
    // Room for the worst case: a stored byte gives at most three bytes of UTF-8 (a stray
    // byte becomes U+FFFD; a one-byte character gives two, a two-byte one three, a pair
    // four for four). The string is cut to what was written at the end.
    scratch.resize(3 * size);
    Utf8Writer writer(scratch.data());
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        bool singleBytes = true;
        for (std::size_t i = 2; i < size;) {
            if (bytes[i] == 0) {
                singleBytes = !singleBytes;
                ++i;
            } else if (singleBytes) {
                writer.Byte(bytes[i++]);
            } else if (i + 1 < size) {
                writer.Unit(UnitAt(bytes + i));
                i += 2;
            } else {
                writer.Stray();
                ++i;
            }
        }
    } else {
        std::size_t i = 0;
        for (; i + 1 < size; i += 2) writer.Unit(UnitAt(bytes + i));
        if (i < size) writer.Stray();
    }
    scratch.resize(static_cast<std::size_t>(writer.Finish() - scratch.data()));
    return scratch;
}
