#include "tools/scenejson.h"

namespace wirevane {

void writeObjectValues(JsonWriter& json, double axisOrder, Colour objectColor,
                       Colour backgroundColor, Colour crossColor, int showCross) {
    json.key("axisOrder").number(axisOrder);
    json.key("objectColor").number(objectColor);
    json.key("backgroundColor").number(backgroundColor);
    json.key("crossColor").number(crossColor);
    json.key("showCross").number(showCross);
}

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
