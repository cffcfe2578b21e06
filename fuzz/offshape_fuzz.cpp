// The OFF reader on any bytes.
#include "fuzz/shapereader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wirevane::fuzz::checkShapeReader(wirevane::readOffShape, data, size);
    return 0;
}
