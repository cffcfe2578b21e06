#include "core/engine/objectcompiler.h"

#include "core/engine/numberconversion.h"
#include "core/engine/objecttextrules.h"

#include <algorithm>
#include <string_view>

namespace wirevane {
namespace {

constexpr std::string_view kCreditsName = "GAGSCREEN.KFM";

bool isCreditsName(std::string_view name) {
    if (name.size() != kCreditsName.size())
        return false;
    return std::equal(name.begin(), name.end(), kCreditsName.begin(), [](char a, char b) {
        const char upper = (a >= 'a' && a <= 'z') ? static_cast<char>(a - 'a' + 'A') : a;
        return upper == b;
    });
}

class LineReader {
  public:
    explicit LineReader(Scene& scene) : scene_(scene) {}

    // Returns false when the line does not fit: a full table or a number too large.
    bool readPoint(std::string_view line) {
        if (scene_.pointCount >= kMaxPoints)
            return false;
        const int p = ++scene_.pointCount;
        const std::size_t count = pointFieldCount(line);
        PieceCutter fields = pointFields(line);
        std::string_view field;
        for (std::size_t index = 0; fields.next(field); ++index) {
            bool fits = true;
            switch (pointFieldRole(index, count)) {
            case PointField::X:
                fits = store(scene_.rawX[p], field);
                break;
            case PointField::Y:
                fits = store(scene_.rawY[p], field);
                break;
            case PointField::Z:
                fits = store(scene_.rawZ[p], field);
                break;
            case PointField::Dropped:
                break;
            }
            if (!fits)
                return false;
        }
        return true;
    }

    bool readConnection(std::string_view line) {
        if (scene_.connectionCount >= kMaxConnectionRows)
            return false;
        auto& row = scene_.connections[++scene_.connectionCount];
        const std::size_t count = connectionFieldCount(line);
        PieceCutter fields = connectionFields(line);
        std::string_view field;
        for (std::size_t index = 0; fields.next(field); ++index) {
            const bool end = connectionFieldRole(index, count) == ConnectionField::End;
            if (!store(row[end ? 2 : 1], field))
                return false;
        }
        return true;
    }

  private:
    static bool store(double& target, std::string_view field) {
        const ConvertedNumber number = convertNumber(field);
        if (number.overflow)
            return false;
        target = number.value;
        return true;
    }

    Scene& scene_;
};

} // namespace

void mapAxes(Scene& scene) {
    const double order = scene.axisOrder;
    if (order != 0 && order != 1 && order != 2 && order != 3 && order != 4 && order != 5)
        return; // any other order, fractions included, leaves the scene as it was
    // For each order: which raw table feeds sceneX, sceneY and sceneZ (0 = x, 1 = y, 2 = z).
    static constexpr int kSources[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2},
                                           {1, 2, 0}, {2, 1, 0}, {2, 0, 1}};
    const PointTable* raw[3] = {&scene.rawX, &scene.rawY, &scene.rawZ};
    const auto& source = kSources[static_cast<int>(order)];
    for (int i = 1; i <= scene.pointCount; ++i) {
        scene.sceneX[i] = (*raw[source[0]])[i];
        scene.sceneY[i] = (*raw[source[1]])[i];
        scene.sceneZ[i] = (*raw[source[2]])[i];
    }
}

ObjectInput defaultObjectInput() {
    ObjectInput input;
    input.name = "noname.kfm";
    input.axisOrderText = "0";
    input.objectColor = kDefaultObjectColour;
    input.backgroundColor = kDefaultBackgroundColour;
    input.crossColor = kDefaultCrossColour;
    input.crossState = 0;
    return input;
}

CompileResult compileObject(Scene& scene, const ObjectInput* input) {
    CompileResult result;
    std::string_view text;
    if (input) {
        text = input->text;
        scene.backgroundColor = input->backgroundColor;
        scene.objectColor = input->objectColor;
        scene.crossColor = input->crossColor;
        const ConvertedNumber axisOrder = convertNumber(input->axisOrderText);
        if (axisOrder.overflow)
            return result;
        scene.axisOrder = axisOrder.value;
        scene.showCross = input->crossState;
        result.creditsOffered = isCreditsName(input->name) && text.empty() &&
                                scene.backgroundColor == 0 && scene.objectColor == 0 &&
                                scene.crossColor == 0 && scene.axisOrder == 0;
    }

    scene.pointCount = 0;
    scene.connectionCount = 0;
    scene.modeFlag = 0;

    LineReader reader(scene);
    PieceCutter lines = objectLines(text);
    for (std::string_view line; lines.next(line);) {
        const LineRule rule = judgeLine(line);
        if (rule == LineRule::Remark)
            continue;
        if (rule == LineRule::Blank)
            scene.modeFlag = 1;
        const bool fits =
            scene.modeFlag == 0 ? reader.readPoint(line) : reader.readConnection(line);
        if (!fits)
            return result;
    }

    mapAxes(scene);
    result.completed = true;
    return result;
}

} // namespace wirevane
