#pragma once

#include "core/engine/scene.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace wirevane {

// An object file is eight fixed records; record n begins at byte (n - 1) * kRecordLength.
constexpr std::size_t kRecordLength = 10527;
constexpr int kRecordCount = 8;
constexpr std::size_t kObjectFileLength = kRecordLength * kRecordCount; // 84216
constexpr std::size_t kTextLengthBytes = 2;
constexpr std::size_t kMaxObjectTextBytes = kRecordLength - kTextLengthBytes; // 10525

constexpr int kAxisOrderRecord = 1;
constexpr int kObjectColorRecord = 4;
constexpr int kBackgroundColorRecord = 5;
constexpr int kCrossColorRecord = 6;
constexpr int kCrossRecord = 7;
constexpr int kTextRecord = 8;

constexpr std::size_t recordOffset(int record) {
    return static_cast<std::size_t>(record - 1) * kRecordLength;
}

// The tag in front of a number names its type.
enum class ValueTag : std::uint16_t { Empty = 0, Int16 = 2, Int32 = 3, Float32 = 4, Float64 = 5 };

// What one object file holds. The text is UTF-8 with its lines separated by CR LF.
struct ObjectFileValues {
    double axisOrder = 0;
    Colour objectColor = 0;
    Colour backgroundColor = 0;
    Colour crossColor = 0;
    std::int16_t showCross = 0;
    std::string text;

    bool operator==(const ObjectFileValues&) const = default;
};

// The reason a file cannot be read or written, as a sentence for the user; empty when it worked.
struct ObjectFileResult {
    std::string reason;
    bool ok() const { return reason.empty(); }
};

// Reads the values from the bytes of a file. Records that lie past the end of a short file
// read as empty (0, empty text). Numbers are read leniently, as another program may have
// written them: a colour keeps its low 24 bits, any cross value but 0 is on. Only what has no
// safe reading makes the file invalid: an unknown tag, a number that is not finite, and a
// value or text cut off by the end of the file.
ObjectFileResult decodeObjectFile(std::string_view bytes, ObjectFileValues& values);

// The bytes a save leaves in a file that held oldBytes before (empty for a new file): records
// 1 and 4 to 8 written in full with zero filler, records 2 and 3 and anything past the eighth
// record as the old file had them (zeros where it had nothing). Refuses a text that is longer
// than a record holds or holds characters the code page cannot store; bytes is then untouched.
ObjectFileResult encodeObjectFile(const ObjectFileValues& values, std::string_view oldBytes,
                                  std::string& bytes);

// The text the object window's axis-order field shows for a value: decimal, shortest form that
// reads back as the same value ("3", "2.5").
std::string axisOrderText(double axisOrder);

} // namespace wirevane
