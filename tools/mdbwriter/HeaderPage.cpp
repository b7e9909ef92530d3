#include "tools/mdbwriter/HeaderPage.h"

#include <bit>
#include <cstring>
#include <utility>

#include "tools/mdbwriter/JetTypes.h"

namespace jet {

namespace {
constexpr char kSignature[] = "Standard Jet DB";
constexpr std::size_t kVersionAt = 0x14;
constexpr std::size_t kBlockAt = 0x18;
constexpr std::size_t kBlockSize = 128;
constexpr std::uint32_t kBlockKey = 0x6B39DAC7;
constexpr std::uint32_t kJet4 = 1;
constexpr std::uint32_t kWesternCodePage = 0x04E4;

// RC4 is small and fixed here; the Debian crypto libraries keep it only as a legacy
// algorithm, so the writer carries its own.
void Rc4(const std::uint8_t* key, std::size_t keyLength, std::uint8_t* data, std::size_t length) {
    std::uint8_t state[256];
    for (int i = 0; i < 256; ++i) {
        state[i] = static_cast<std::uint8_t>(i);
    }
    std::uint8_t j = 0;
    for (int i = 0; i < 256; ++i) {
        j = static_cast<std::uint8_t>(j + state[i] + key[static_cast<std::size_t>(i) % keyLength]);
        std::swap(state[i], state[j]);
    }
    std::uint8_t a = 0;
    std::uint8_t b = 0;
    for (std::size_t n = 0; n < length; ++n) {
        a = static_cast<std::uint8_t>(a + 1);
        b = static_cast<std::uint8_t>(b + state[a]);
        std::swap(state[a], state[b]);
        data[n] ^= state[static_cast<std::uint8_t>(state[a] + state[b])];
    }
}

}  // namespace

Page HeaderPage::Build() {
    Page page{};
    page[1] = 0x01;
    std::memcpy(page.data() + 4, kSignature, sizeof kSignature);
    PutU32(page, kVersionAt, kJet4);

    PutU16(page, 0x3C, kWesternCodePage);
    PutU32(page, 0x3E, 0);  // no database key: the pages are not encrypted
    PutU16(page, 0x6E, kGeneralSortOrder);
    const auto created = std::bit_cast<std::uint64_t>(kFixedDate);
    PutU32(page, 0x72, static_cast<std::uint32_t>(created & 0xFFFFFFFFu));
    PutU32(page, 0x76, static_cast<std::uint32_t>(created >> 32));

    std::uint8_t key[4];
    PutU32(key, 0, kBlockKey);
    Rc4(key, sizeof key, page.data() + kBlockAt, kBlockSize);
    return page;
}

}  // namespace jet
