#pragma once

#include <cstdint>
#include <string_view>

// The paper-QSL and LoTW confirmation states of a contact, "Y", "N" or "V", from the
// logging program's received and sent codes ("0" nothing, "1" card, "2" LoTW, "3" both)
// and its award flags. A code outside "0".."3" gives the empty state for both fields.
class QslStatus {
public:
    struct States {
        std::string_view qsl;
        std::string_view lotw;
    };

    // "[QSO-CONFIRM]" and "[QSO-AWARD]": bit 0 of the award flags says that the received
    // confirmation was verified, which turns "Y" into "V" for both kinds.
    static States Received(std::string_view confirm, int32_t award);
    // "[QSO-QSLS]": sent states know no "V".
    static States Sent(std::string_view qsls);

private:
    // 0 to 3, or -1 for any other text.
    static int Code(std::string_view text);
};
