// The bytes of the reader's pipe as the parent takes them apart: frames, the values in
// them and the errors the reader reports. The reader runs libmdb on damaged files, so
// whatever arrives here may be garbage; garbage must end in std::runtime_error, never in a
// crash, an overlong read or a frame that says something other than its bytes.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/RowFrameCodec.h"
#include "fuzz/FuzzCheck.h"

namespace {

using fuzz::Require;
using FrameType = RowFrameCodec::FrameType;

struct Taken {
    std::vector<RowFrameCodec::Frame> frames;
    bool garbage = false;
    std::size_t left = 0;  // bytes still waiting for the rest of their frame

    bool operator==(const Taken& other) const {
        if (garbage != other.garbage || left != other.left || frames.size() != other.frames.size()) return false;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            if (frames[i].type != other.frames[i].type || frames[i].payload != other.frames[i].payload) return false;
        }
        return true;
    }
};

// Feeds the bytes in pieces of `piece` bytes, taking every whole frame as soon as it is
// there, as the cursor does after each read of the pipe.
Taken TakeAll(std::string_view bytes, std::size_t piece) {
    Taken taken;
    std::string buffer;
    for (std::size_t pos = 0; pos < bytes.size(); pos += piece) {
        buffer.append(bytes.substr(pos, piece));
        for (;;) {
            const std::string before = buffer;
            RowFrameCodec::Frame frame;
            try {
                if (!RowFrameCodec::TakeFrame(buffer, frame)) {
                    Require(buffer == before, "a frame not yet whole left its bytes alone");
                    break;
                }
            } catch (const std::runtime_error&) {
                taken.garbage = true;
                return taken;
            }
            const std::size_t used = RowFrameCodec::kHeaderSize + frame.payload.size();
            Require(before.size() >= used && buffer == before.substr(used), "a frame takes exactly its own bytes");
            std::string again;
            RowFrameCodec::PutFrame(again, frame.type, frame.payload);
            Require(again == before.substr(0, used), "a frame written again gives the bytes it was taken from");
            taken.frames.push_back(std::move(frame));
        }
    }
    taken.left = buffer.size();
    return taken;
}

// Reads values up to the end of the payload; the values read, written again, give the
// bytes they were read from.
void CheckValues(RowFrameCodec::Reader& reader, std::string_view payload, std::size_t start) {
    std::string again(payload.substr(0, start));
    try {
        while (!reader.AtEnd()) {
            std::string value = "not cleared";
            if (reader.Value(value)) {
                RowFrameCodec::PutValue(again, value);
            } else {
                Require(value.empty(), "a NULL value reads as the empty text");
                RowFrameCodec::PutNull(again);
            }
            Require(again.size() <= payload.size() && payload.starts_with(again), "values read are the bytes sent");
        }
    } catch (const std::runtime_error&) {
        return;  // cut short: the cursor calls the file damaged
    }
    Require(again == payload, "values read to the end account for every byte");
}

void CheckPayload(const RowFrameCodec::Frame& frame) {
    RowFrameCodec::Reader reader(frame.payload);
    try {
        switch (frame.type) {
        case FrameType::Opened:
            reader.U32();
            reader.U32();
            break;
        case FrameType::Rows:
            reader.U32();
            CheckValues(reader, frame.payload, 4);
            break;
        case FrameType::Done:
            reader.U32();
            break;
        case FrameType::Error: {
            const CDaoException error = RowFrameCodec::ErrorFromPayload(frame.payload);
            const CDaoException again = RowFrameCodec::ErrorFromPayload(RowFrameCodec::ErrorPayload(error));
            Require(again.GetKind() == error.GetKind() && again.Path() == error.Path() &&
                        again.Reason() == error.Reason() && std::string(again.what()) == error.what(),
                    "an error sent on keeps its kind, file, reason and text");
            break;
        }
        }
    } catch (const CDaoException&) {
        fuzz::Broken("a garbled error frame is garbage, not the error it seems to be");
    } catch (const std::runtime_error&) {
        // Short or overlong: the cursor calls the file damaged.
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::AsText(data, size);
    const Taken whole = TakeAll(bytes, bytes.size() + 1);
    // The pipe hands over whatever it holds: a frame may arrive a few bytes at a time.
    const Taken pieces = TakeAll(bytes, size == 0 ? 1 : 1 + data[size - 1] % 7);
    Require(whole == pieces, "the frames do not depend on how the bytes arrive");
    for (const RowFrameCodec::Frame& frame : whole.frames) CheckPayload(frame);
    return 0;
}
