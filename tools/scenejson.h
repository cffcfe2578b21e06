#pragma once

#include "core/engine/scene.h"
#include "tools/jsonwriter.h"

namespace wirevane {

// The scene as JSON, shared by compile, render and info.

// Columns 1 and 2 of rows 1 to count, as the scene's tables keep them (column 0 is unused).
template <typename Table> void writeColumnPairs(JsonWriter& json, const Table& rows, int count) {
    json.raw("[");
    for (int i = 1; i <= count; ++i)
        json.raw(i > 1 ? ",[" : "[").number(rows[i][1]).raw(",").number(rows[i][2]).raw("]");
    json.raw("]");
}

// The object's values beside its text: axis order, the three colours, the cross switch.
void writeObjectValues(JsonWriter& json, double axisOrder, Colour objectColor,
                       Colour backgroundColor, Colour crossColor, int showCross);

// Points 1 to count as [x,y] or, with z, [x,y,z].
void writePoints(JsonWriter& json, const PointTable& x, const PointTable& y, const PointTable* z,
                 int count);

} // namespace wirevane
