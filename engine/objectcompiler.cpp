#include "engine/objectcompiler.h"

#include "engine/numberconversion.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace wirevane {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
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
        std::array<std::string_view, 3> fields; // first, second, last
        std::size_t fieldCount = 0;
        std::size_t start = 0;
        for (;;) {
            const std::size_t slash = line.find('/', start);
            const std::string_view field = line.substr(start, slash - start);
            if (fieldCount < 2)
                fields[fieldCount] = field;
            fields[2] = field;
            ++fieldCount;
            if (slash == std::string_view::npos)
                break;
            start = slash + 1;
        }
        if (fieldCount >= 2 && !store(scene_.rawX[p], fields[0]))
            return false;
        if (fieldCount >= 3 && !store(scene_.rawY[p], fields[1]))
            return false;
        return store(scene_.rawZ[p], fields[2]);
    }

    bool readConnection(std::string_view line) {
        if (scene_.connectionCount >= kMaxConnectionRows)
            return false;
        auto& row = scene_.connections[++scene_.connectionCount];
        std::size_t start = 0;
        for (std::size_t dash = line.find('-'); dash != std::string_view::npos;
             dash = line.find('-', start)) {
            if (!store(row[1], line.substr(start, dash - start)))
                return false;
            start = dash + 1;
        }
        return store(row[2], line.substr(start));
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

} // namespace

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

std::string_view trimSpaces(std::string_view line) {
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = line.find_last_not_of(' ');
    return line.substr(first, last - first + 1);
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

    // The text is read as if a line break were appended (unless it is empty); a line ends at
    // each CR LF pair, and a lone CR or LF is an ordinary character of its line.
    LineReader reader(scene);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(kLineBreak, start);
        const bool last = end == std::string_view::npos;
        if (last)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = last ? text.size() : end + kLineBreak.size();

        const std::string_view trimmed = trimSpaces(line);
        if (!trimmed.empty() && trimmed.front() == '\'')
            continue;
        if (trimmed.empty())
            scene.modeFlag = 1;
        const bool fits =
            scene.modeFlag == 0 ? reader.readPoint(line) : reader.readConnection(line);
        if (!fits)
            return result;
    }
    // A text that ends with a line break gets one more, blank, line from the appended one.
    if (text.ends_with(kLineBreak)) {
        scene.modeFlag = 1;
        if (!reader.readConnection({}))
            return result;
    }

    mapAxes(scene);
    result.completed = true;
    return result;
}

} // namespace wirevane
