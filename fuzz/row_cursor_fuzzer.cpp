// The parent's whole side of a reading: a reader process sends the input as its pipe
// stream, and the cursor must turn it into rows or into a CDaoException, whatever the
// stream holds, without waiting longer than the reader takes and without taking memory
// that the stream only claims to need.
#include <chrono>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "data/CDaoException.h"
#include "data/MdbChildProcess.h"
#include "data/MdbRowCursor.h"
#include "data/WriteAll.h"
#include "fuzz/FuzzCheck.h"

namespace {

using fuzz::Require;

const std::string kPath = "/logs/Qervel.mdb";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string stream(fuzz::AsText(data, size));
    auto child = std::make_unique<MdbChildProcess>([&stream](int fd) { return WriteAll(fd, stream) ? 0 : 1; },
                                                   std::size_t{1} << 30);
    try {
        MdbRowCursor cursor(std::move(child), kPath, std::chrono::seconds(10));
        Require(cursor.RowCount() >= 0, "the announced row count is a count");
        std::vector<std::string> values;
        while (cursor.Next(values)) {
            for (std::size_t i = 0; i < values.size(); ++i) {
                Require(!cursor.WasNull(i) || values[i].empty(), "a NULL value reads as the empty text");
            }
        }
    } catch (const CDaoException&) {
        // The reader's own report, or the cursor's word for a stream it cannot use.
    } catch (const std::exception& e) {
        fuzz::Broken("whatever the reader sends ends in rows or a database error", e.what());
    }
    return 0;
}
