// The object-text analysis on any bytes: it never fails, its findings point into the text,
// and it agrees with the compiler on the counts and on whether the Animation command stops.
#include "core/engine/objectcompiler.h"
#include "core/engine/objecttextanalysis.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wirevane;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const TextAnalysis analysis = analyzeObjectText(text);

    int diagnostics = 0;
    for (const LineAnalysis& line : analysis.lines) {
        if (line.offset > text.size() || line.firstDiagnostic != diagnostics)
            __builtin_trap();
        for (const TextDiagnostic& d : analysis.diagnosticsOf(line))
            if (d.line < 1 || d.line > static_cast<int>(analysis.lines.size()) || d.column < 1 ||
                d.message.empty())
                __builtin_trap();
        diagnostics += line.diagnosticCount;
    }
    if (diagnostics != static_cast<int>(analysis.diagnostics.size()))
        __builtin_trap();

    ObjectInput input = defaultObjectInput();
    input.text = text;
    Scene scene;
    const bool completed = compileObject(scene, &input).completed;
    if (completed != (analysis.stopLine == 0))
        __builtin_trap();
    if (completed && (scene.pointCount != analysis.pointCount ||
                      scene.connectionCount != analysis.connectionCount))
        __builtin_trap();
    return 0;
}
