#pragma once
// The object the real-time benchmarks animate: as many points and lines as a scene holds.

#include "core/engine/objectcompiler.h"

#include <cmath>
#include <string>

namespace wirevane {

// 100 points on a winding band around the centre, joined in a ring of 100 connections.
inline ObjectInput benchObject() {
    ObjectInput input = defaultObjectInput();
    input.name = "bench.kfm";
    input.objectColor = 0x40FFFF;
    input.crossColor = 0x808080;
    input.crossState = 1;
    for (int i = 0; i < 100; ++i) {
        const double a = i * 2 * M_PI / 100;
        input.text += std::to_string(5 * std::cos(a)) + "/" + std::to_string(2 * std::sin(7 * a)) +
                      "/" + std::to_string(5 * std::sin(a)) + "\r\n";
    }
    input.text += "\r\n";
    for (int i = 1; i <= 100; ++i)
        input.text +=
            std::to_string(i) + "-" + std::to_string(i % 100 + 1) + (i < 100 ? "\r\n" : "");
    return input;
}

} // namespace wirevane
