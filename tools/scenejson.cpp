#include "tools/scenejson.h"

namespace wirevane {

void writePoints(JsonWriter& json, const PointTable& x, const PointTable& y, const PointTable* z,
                 int count) {
    json.raw("[");
    for (int i = 1; i <= count; ++i) {
        json.raw(i > 1 ? ",[" : "[").number(x[i]).raw(",").number(y[i]);
        if (z)
            json.raw(",").number((*z)[i]);
        json.raw("]");
    }
    json.raw("]");
}

} // namespace wirevane
