#include "core/documents/objectfile.h"

#include "core/documents/codepage1252.h"
#include "core/engine/floatingtext.h"

#include <cmath>
#include <cstring>

namespace wirevane {
namespace {

constexpr double kColourRange = 0x1000000; // 24 bits

template <typename T> T readLittleEndian(std::string_view bytes, std::size_t at) {
    using Unsigned = std::make_unsigned_t<T>;
    Unsigned value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        value |= static_cast<Unsigned>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return static_cast<T>(value);
}

template <typename T> void writeLittleEndian(std::string& bytes, std::size_t at, T value) {
    using Unsigned = std::make_unsigned_t<T>;
    const auto bits = static_cast<Unsigned>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes[at + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

std::string recordName(int record) {
    return "Record " + std::to_string(record);
}

// Reads the tagged number at the start of a record, whatever its type, as a double.
ObjectFileResult readNumber(std::string_view bytes, int record, double& value) {
    value = 0;
    const std::size_t at = recordOffset(record);
    if (at >= bytes.size())
        return {};
    if (at + 2 > bytes.size())
        return {recordName(record) + " is cut off inside its type tag."};
    const auto tag = readLittleEndian<std::uint16_t>(bytes, at);
    std::size_t size = 0;
    switch (static_cast<ValueTag>(tag)) {
    case ValueTag::Empty:
        return {};
    case ValueTag::Int16:
        size = 2;
        break;
    case ValueTag::Int32:
    case ValueTag::Float32:
        size = 4;
        break;
    case ValueTag::Float64:
        size = 8;
        break;
    default:
        return {recordName(record) + " has the unknown type tag " + std::to_string(tag) + "."};
    }
    if (at + 2 + size > bytes.size())
        return {recordName(record) + " is cut off inside its value."};
    const std::size_t valueAt = at + 2;
    switch (static_cast<ValueTag>(tag)) {
    case ValueTag::Int16:
        value = readLittleEndian<std::int16_t>(bytes, valueAt);
        break;
    case ValueTag::Int32:
        value = readLittleEndian<std::int32_t>(bytes, valueAt);
        break;
    case ValueTag::Float32:
        value = bitCast<float>(readLittleEndian<std::uint32_t>(bytes, valueAt));
        break;
    default:
        value = bitCast<double>(readLittleEndian<std::uint64_t>(bytes, valueAt));
        break;
    }
    if (!std::isfinite(value))
        return {recordName(record) + " holds a number that is not finite."};
    return {};
}

// A colour keeps the low 24 bits of its nearest whole number (a half going to the even one),
// so a negative 32-bit value another program wrote still reads as a colour.
ObjectFileResult readColour(std::string_view bytes, int record, Colour& colour) {
    double value = 0;
    ObjectFileResult result = readNumber(bytes, record, value);
    if (!result.ok())
        return result;
    double low = std::fmod(std::nearbyint(value), kColourRange);
    if (low < 0)
        low += kColourRange;
    colour = static_cast<Colour>(low);
    return {};
}

ObjectFileResult readText(std::string_view bytes, std::string& text) {
    text.clear();
    const std::size_t at = recordOffset(kTextRecord);
    if (at >= bytes.size())
        return {};
    if (at + kTextLengthBytes > bytes.size())
        return {"The object text is cut off inside its length."};
    const std::size_t length = readLittleEndian<std::uint16_t>(bytes, at);
    if (length > kMaxObjectTextBytes)
        return {"The object text claims " + std::to_string(length) +
                " bytes, more than a record holds."};
    if (at + kTextLengthBytes + length > bytes.size())
        return {"The object text runs past the end of the file."};
    text = windows1252ToUtf8(bytes.substr(at + kTextLengthBytes, length));
    return {};
}

void writeTagged(std::string& bytes, int record, ValueTag tag) {
    writeLittleEndian(bytes, recordOffset(record), static_cast<std::uint16_t>(tag));
}

} // namespace

ObjectFileResult decodeObjectFile(std::string_view bytes, ObjectFileValues& values) {
    ObjectFileValues read;
    double cross = 0;
    ObjectFileResult result = readNumber(bytes, kAxisOrderRecord, read.axisOrder);
    if (result.ok())
        result = readColour(bytes, kObjectColorRecord, read.objectColor);
    if (result.ok())
        result = readColour(bytes, kBackgroundColorRecord, read.backgroundColor);
    if (result.ok())
        result = readColour(bytes, kCrossColorRecord, read.crossColor);
    if (result.ok())
        result = readNumber(bytes, kCrossRecord, cross);
    if (result.ok())
        result = readText(bytes, read.text);
    if (!result.ok())
        return result;
    read.showCross = cross != 0 ? 1 : 0;
    values = std::move(read);
    return {};
}

ObjectFileResult encodeObjectFile(const ObjectFileValues& values, std::string_view oldBytes,
                                  std::string& bytes) {
    std::string text;
    std::string reason;
    if (!utf8ToWindows1252(values.text, text, reason))
        return {reason};
    if (text.size() > kMaxObjectTextBytes)
        return {"The object text is " + std::to_string(text.size()) +
                " bytes long; an object file holds at most " + std::to_string(kMaxObjectTextBytes) +
                "."};
    if (!std::isfinite(values.axisOrder))
        return {"The axis order is not a finite number."};
    if (values.showCross != 0 && values.showCross != 1)
        return {"The cross switch is neither on nor off."};

    std::string out(oldBytes);
    if (out.size() < kObjectFileLength)
        out.resize(kObjectFileLength, '\0');
    for (const int record : {kAxisOrderRecord, kObjectColorRecord, kBackgroundColorRecord,
                             kCrossColorRecord, kCrossRecord, kTextRecord})
        std::memset(out.data() + recordOffset(record), 0, kRecordLength);

    writeTagged(out, kAxisOrderRecord, ValueTag::Float64);
    writeLittleEndian(out, recordOffset(kAxisOrderRecord) + 2,
                      bitCast<std::uint64_t>(values.axisOrder));
    const std::pair<int, Colour> colours[] = {{kObjectColorRecord, values.objectColor},
                                              {kBackgroundColorRecord, values.backgroundColor},
                                              {kCrossColorRecord, values.crossColor}};
    for (const auto& [record, colour] : colours) {
        writeTagged(out, record, ValueTag::Int32);
        writeLittleEndian(out, recordOffset(record) + 2, colour);
    }
    writeTagged(out, kCrossRecord, ValueTag::Int16);
    writeLittleEndian(out, recordOffset(kCrossRecord) + 2, values.showCross);
    writeLittleEndian(out, recordOffset(kTextRecord), static_cast<std::uint16_t>(text.size()));
    std::memcpy(out.data() + recordOffset(kTextRecord) + kTextLengthBytes, text.data(),
                text.size());
    bytes = std::move(out);
    return {};
}

std::string axisOrderText(double axisOrder) {
    if (axisOrder == 0) // also -0
        return "0";
    return shortestText(axisOrder);
}

} // namespace wirevane
