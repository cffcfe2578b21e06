// The web page's module: the page is a shell over these calls, which run the same core as the
// desktop program and wirevane-tool. One Page holds the object being shown and its animation.
#include "core/documents/codepage1252.h"
#include "core/documents/objectfile.h"
#include "core/documents/sharelink.h"
#include "core/engine/animationsession.h"
#include "core/engine/numberconversion.h"
#include "core/engine/objectcompiler.h"
#include "core/engine/objecttextanalysis.h"
#include "core/engine/rastersurface.h"
#include "core/engine/renderer.h"
#include "formats/shapes/shapeimport.h"
#include "formats/shapes/shapereaders.h"
#include "formats/shapes/shapewriters.h"

#include <algorithm>
#include <cstdlib>
#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <memory>
#include <string>
#include <vector>

namespace wirevane {
namespace {

using emscripten::val;

// The desktop's text box shows a CR or an LF that is not part of a CR LF pair as its control
// picture, so that such text survives a load and a save; the page's editor does the same.
constexpr std::string_view kLoneCrPicture = "\xE2\x90\x8D"; // U+240D
constexpr std::string_view kLoneLfPicture = "\xE2\x90\x8A"; // U+240A

std::string editorText(const std::string& crLf) {
    std::string out;
    out.reserve(crLf.size());
    for (std::size_t i = 0; i < crLf.size(); ++i) {
        if (crLf[i] == '\r' && i + 1 < crLf.size() && crLf[i + 1] == '\n') {
            out += '\n';
            ++i;
        } else if (crLf[i] == '\r') {
            out += kLoneCrPicture;
        } else if (crLf[i] == '\n') {
            out += kLoneLfPicture;
        } else {
            out += crLf[i];
        }
    }
    return out;
}

std::string crLfText(const std::string& editor) {
    std::string out;
    out.reserve(editor.size() + editor.size() / 8);
    for (std::size_t i = 0; i < editor.size(); ++i) {
        const std::string_view rest(editor.data() + i, editor.size() - i);
        if (editor[i] == '\n') {
            out += "\r\n";
        } else if (rest.starts_with(kLoneCrPicture)) {
            out += '\r';
            i += kLoneCrPicture.size() - 1;
        } else if (rest.starts_with(kLoneLfPicture)) {
            out += '\n';
            i += kLoneLfPicture.size() - 1;
        } else {
            out += editor[i];
        }
    }
    return out;
}

ObjectFileValues valuesOf(const val& object) {
    ObjectFileValues values;
    values.text = crLfText(object["text"].as<std::string>());
    values.axisOrder = numberValue(object["axisOrderText"].as<std::string>());
    values.objectColor = object["objectColor"].as<int>();
    values.backgroundColor = object["backgroundColor"].as<int>();
    values.crossColor = object["crossColor"].as<int>();
    values.showCross = object["cross"].as<bool>() ? 1 : 0;
    return values;
}

val objectOf(const ObjectFileValues& values) {
    val object = val::object();
    object.set("text", editorText(values.text));
    object.set("axisOrderText", axisOrderText(values.axisOrder));
    object.set("objectColor", values.objectColor);
    object.set("backgroundColor", values.backgroundColor);
    object.set("crossColor", values.crossColor);
    object.set("cross", values.showCross != 0);
    return object;
}

val bytesOf(const std::string& bytes) {
    return val::global("Uint8Array")
        .new_(emscripten::typed_memory_view(bytes.size(),
                                            reinterpret_cast<const unsigned char*>(bytes.data())))
        .call<val>("slice");
}

std::string cssColour(Colour colour) {
    return "rgb(" + std::to_string(colour & 0xFF) + "," + std::to_string((colour >> 8) & 0xFF) +
           "," + std::to_string((colour >> 16) & 0xFF) + ")";
}

// {key: value()} when result is ok, else {reason}.
template <typename Value>
val outcome(const ObjectFileResult& result, const char* key, const Value& value) {
    val out = val::object();
    if (result.ok())
        out.set(key, value());
    else
        out.set("reason", result.reason);
    return out;
}

// The values of a new object, as the desktop's new object window has them.
val newObject() {
    ObjectFileValues values;
    values.objectColor = kDefaultObjectColour;
    values.backgroundColor = kDefaultBackgroundColour;
    values.crossColor = kDefaultCrossColour;
    return objectOf(values);
}

// The bytes the desktop saves for these values over a file that held oldBytes (empty for a new
// file); or {reason} when it would refuse.
val encodeObject(const val& object, const std::string& oldBytes) {
    std::string bytes;
    const ObjectFileResult result = encodeObjectFile(valuesOf(object), oldBytes, bytes);
    return outcome(result, "bytes", [&] { return bytesOf(bytes); });
}

val decodeObject(const std::string& bytes) {
    ObjectFileValues values;
    const ObjectFileResult result = decodeObjectFile(bytes, values);
    return outcome(result, "object", [&] { return objectOf(values); });
}

// The share link's payload of an object, {payload} or {reason}; the page deflates it.
val sharePayload(const val& object) {
    const std::string payload = shareLinkPayload(valuesOf(object));
    // The reader's own rules, so every link made opens.
    ObjectFileValues check;
    const ObjectFileResult result = readShareLinkPayload(payload, check);
    return outcome(result, "payload", [&] { return bytesOf(payload); });
}

std::string linkOf(const std::string& base, const std::string& deflated) {
    return shareLink(base, deflated);
}

// The deflated payload of a link, {deflated} or {reason}; the page inflates it. Of a link too
// long to be valid only the start is read: copying megabytes into the module takes the page's
// time for nothing.
val linkData(const val& link) {
    const auto length = link["length"].as<std::size_t>();
    const auto hash = link.call<int>("indexOf", std::string("#"));
    const std::size_t enough = hash < 0 ? length : hash + 1 + kMaxShareLinkFragment + 1;
    const std::string text = link.call<std::string>("slice", 0, std::min(length, enough));
    std::string deflated;
    const ObjectFileResult result = shareLinkData(text, deflated);
    return outcome(result, "deflated", [&] { return bytesOf(deflated); });
}

val objectOfPayload(const std::string& payload) {
    ObjectFileValues values;
    const ObjectFileResult result = readShareLinkPayload(payload, values);
    return outcome(result, "object", [&] { return objectOf(values); });
}

// The most characters an object text holds; no character takes more than four bytes in a file.
int maxObjectTextBytes() {
    return static_cast<int>(kMaxObjectTextBytes);
}

// Whether a file name names a shape file of another program (OBJ, PLY, STL, OFF).
bool isShapeFile(const std::string& fileName) {
    return shapeFormatOf(fileName).has_value();
}

int maxShapeFileBytes() {
    return static_cast<int>(kMaxShapeFileBytes);
}

int maxSharePayload() {
    return static_cast<int>(kMaxShareLinkPayload);
}

// A plain text file as the desktop's drop of one reads it: UTF-8 (a byte-order mark dropped)
// when it is valid UTF-8, else the code page of object files; every line break (CR LF, lone
// LF, lone CR) a line of the editor. (A UTF-16 file the page decodes before it comes here.)
std::string textFileAsEditorText(const std::string& bytes) {
    std::string_view raw = bytes;
    if (raw.starts_with("\xEF\xBB\xBF"))
        raw.remove_prefix(3);
    const std::string text = isWellFormedUtf8(raw) ? std::string(raw) : windows1252ToUtf8(raw);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// What the compiler reads of an object's values.
ObjectInput inputOf(const val& object, const std::string& name) {
    const ObjectFileValues values = valuesOf(object);
    ObjectInput input = defaultObjectInput();
    input.name = name;
    input.text = values.text;
    input.axisOrderText = object["axisOrderText"].as<std::string>();
    input.objectColor = values.objectColor;
    input.backgroundColor = values.backgroundColor;
    input.crossColor = values.crossColor;
    input.crossState = values.showCross;
    return input;
}

// Why the animation would not start for an input, as wirevane-tool says it.
std::string notStarting(const ObjectInput& input) {
    const TextAnalysis analysis = firstFindings(input.text, 0);
    if (analysis.stopLine > 0)
        return "line " + std::to_string(analysis.stop.line) + ": " + analysis.stop.message;
    return "the animation will not start for this object";
}

// A shape file of another program as a new object, {object} or {reason}, as the desktop opens
// one.
val shapeObject(const std::string& fileName, const std::string& bytes) {
    const ImportedShape shape = importShape(fileName, bytes);
    val out = val::object();
    if (!shape.reason.empty()) {
        out.set("reason", shape.reason);
        return out;
    }
    val object = newObject();
    object.set("text", editorText(shape.text));
    out.set("object", object);
    return out;
}

// The object as an OBJ or PLY file ("obj" or "ply") as wirevane-tool convert writes it:
// {bytes, leftOut} or {reason}.
val shapeFile(const val& object, const std::string& name, const std::string& format) {
    const ObjectInput input = inputOf(object, name);
    Scene scene;
    val out = val::object();
    if (!compileObject(scene, &input).completed) {
        out.set("reason", notStarting(input));
        return out;
    }
    const WrittenShape written =
        format == "ply" ? writePlyShape(scene, name) : writeObjShape(scene, name);
    out.set("bytes", bytesOf(written.bytes));
    out.set("leftOut", written.connectionsLeftOut);
    return out;
}

// The gutter's lines and findings of an editor text, by the analysis the desktop's gutter uses.
val analyze(const std::string& text) {
    const TextAnalysis analysis = analyzeObjectText(crLfText(text));
    val lines = val::array();
    for (const LineAnalysis& line : analysis.lines) {
        val row = val::object();
        const char* kind = "remark";
        switch (line.kind) {
        case LineKind::Remark:
            break;
        case LineKind::Point:
            kind = "point";
            break;
        case LineKind::Separator:
            kind = "separator";
            break;
        case LineKind::Connection:
            kind = "connection";
            break;
        case LineKind::BlankRow:
            kind = "blank";
            break;
        }
        row.set("kind", kind);
        row.set("number", line.number);
        row.set("beyondTable", line.kind == LineKind::Point && line.number > kMaxPoints);
        lines.call<void>("push", row);
    }
    val findings = val::array();
    for (const TextDiagnostic& diagnostic : analysis.diagnostics) {
        val finding = val::object();
        finding.set("line", diagnostic.line);
        finding.set("column", diagnostic.column);
        finding.set("error", diagnostic.severity == Severity::Error);
        finding.set("message", diagnostic.message);
        findings.call<void>("push", finding);
    }
    val out = val::object();
    out.set("lines", lines);
    out.set("findings", findings);
    out.set("stopLine", analysis.stopLine);
    return out;
}

// One object on the page and its animation, as the desktop's animation window and navigation
// bar show it: the same scene, session and renderer, drawing into raster pixels.
class Page : private AnimationDisplay {
  public:
    Page() : session_(scene_, *this) { session_.resetControls(); }

    // Compiles the object and draws its first picture, as `wirevane-tool render` does: a fresh
    // scene, stopped, no turn. Returns the reason when the animation would not start (""
    // otherwise).
    std::string start(const val& object, const std::string& name) {
        const ObjectInput input = inputOf(object, name);
        Scene fresh;
        if (!compileObject(fresh, &input).completed)
            return notStarting(input);
        scene_ = fresh;
        surface_ = RasterSurface();
        started_ = true;
        session_.begin(name);
        session_.setRunning(false);
        session_.redraw();
        return {};
    }

    // The picture's pixels as RGBA bytes for the canvas, valid until the next call into the page.
    val pixels() {
        const auto source = surface_.pixels();
        rgba_.resize(source.size() * 4);
        for (std::size_t i = 0; i < source.size(); ++i) {
            const std::uint32_t p = source[i];
            rgba_[4 * i] = static_cast<unsigned char>(p >> 16);
            rgba_[4 * i + 1] = static_cast<unsigned char>(p >> 8);
            rgba_[4 * i + 2] = static_cast<unsigned char>(p);
            rgba_[4 * i + 3] = 255;
        }
        changed_ = false;
        return val(emscripten::typed_memory_view(rgba_.size(), rgba_.data()));
    }
    int width() const { return surface_.width(); }
    int height() const { return surface_.height(); }
    // Whether the pixels changed since pixels() last handed them over.
    bool changed() const { return changed_; }

    // The point numbers, which the page writes over the picture as text: [{text, colour, x, y}].
    val labels() const {
        val out = val::array();
        for (const auto& label : surface_.labels()) {
            if (label.text.empty() ||
                !surface_.scale().takesPoint(label.left, label.top, width(), height()))
                continue;
            val item = val::object();
            item.set("text", label.text);
            item.set("colour", cssColour(label.colour));
            item.set("x", surface_.deviceX(label.left));
            item.set("y", surface_.deviceY(label.top));
            out.call<void>("push", item);
        }
        return out;
    }

    void turnUp() { session_.turnUp(); }
    void turnDown() { session_.turnDown(); }
    void turnRight() { session_.turnRight(); }
    void turnLeft() { session_.turnLeft(); }
    // axis 0, 1, 2 for x, y, z; direction +1 or -1.
    void move(int axis, int direction) {
        if (axis >= 0 && axis <= 2)
            session_.move(static_cast<Axis>(axis), direction >= 0);
    }
    void zoomIn() { session_.zoomIn(); }
    void zoomOut() { session_.zoomOut(); }
    void setCross(bool on) { session_.setCross(on); }
    // kind 0, 1, 2 for the object's, the background's and the cross's colour.
    void setColour(int kind, int colour) {
        static constexpr Colour Scene::*kKinds[] = {&Scene::objectColor, &Scene::backgroundColor,
                                                    &Scene::crossColor};
        if (kind >= 0 && kind <= 2)
            session_.setColour(kKinds[kind], colour & 0xFFFFFF);
    }
    bool cross() const { return session_.cross(); }
    void setNumbers(bool on) { session_.setNumbers(on); }
    bool numbers() const { return session_.options().showNumbers; }
    void setSpeed(int speed) { session_.setSpeed(speed); }
    int speed() const { return session_.speed(); }
    int speedMin() const { return AnimationSession::kSpeedMin; }
    int speedMax() const { return AnimationSession::kSpeedMax; }
    void setRunning(bool on) { session_.setRunning(on); }
    bool running() const { return session_.running(); }
    // One tick of the mode's timer, and how often it comes.
    void tick() { session_.tick(); }
    int tickIntervalMs() const { return session_.tickIntervalMs(); }
    std::string description() const { return started_ ? session_.description() : std::string(); }
    int descriptionIntervalMs() const { return AnimationSession::kDescriptionIntervalMs; }

    void press() { session_.press(); }
    void drag(double dx, double dy, double width, double height) {
        session_.drag(dx, dy, width, height);
    }
    void release() { session_.release(); }
    void wheel(int delta) { session_.wheel(delta); }

  private:
    bool showing() const override { return started_; }
    void draw(Scene& scene, RendererState& state, const RenderOptions& options,
              const Motion& motion) override {
        changed_ = drawScene(scene, state, surface_, options, motion).drawn || changed_;
    }
    void clear() override { surface_.clearSurface(); }

    Scene scene_;
    RasterSurface surface_;
    AnimationSession session_;
    std::vector<unsigned char> rgba_;
    bool started_ = false;
    bool changed_ = false;
};

} // namespace
} // namespace wirevane

EMSCRIPTEN_BINDINGS(wirevane) {
    using namespace wirevane;
    emscripten::function("newObject", &newObject);
    emscripten::function("encodeObject", &encodeObject);
    emscripten::function("decodeObject", &decodeObject);
    emscripten::function("textFileAsEditorText", &textFileAsEditorText);
    emscripten::function("analyze", &analyze);
    emscripten::function("shapeObject", &shapeObject);
    emscripten::function("shapeFile", &shapeFile);
    emscripten::function("sharePayload", &sharePayload);
    emscripten::function("linkOf", &linkOf);
    emscripten::function("linkData", &linkData);
    emscripten::function("objectOfPayload", &objectOfPayload);
    emscripten::function("maxSharePayload", &maxSharePayload);
    emscripten::function("maxShapeFileBytes", &maxShapeFileBytes);
    emscripten::function("isShapeFile", &isShapeFile);
    emscripten::function("maxObjectTextBytes", &maxObjectTextBytes);
    emscripten::class_<Page>("Page")
        .constructor<>()
        .function("start", &Page::start)
        .function("pixels", &Page::pixels)
        .function("width", &Page::width)
        .function("height", &Page::height)
        .function("changed", &Page::changed)
        .function("labels", &Page::labels)
        .function("turnUp", &Page::turnUp)
        .function("turnDown", &Page::turnDown)
        .function("turnRight", &Page::turnRight)
        .function("turnLeft", &Page::turnLeft)
        .function("move", &Page::move)
        .function("zoomIn", &Page::zoomIn)
        .function("zoomOut", &Page::zoomOut)
        .function("setCross", &Page::setCross)
        .function("setColour", &Page::setColour)
        .function("cross", &Page::cross)
        .function("setNumbers", &Page::setNumbers)
        .function("numbers", &Page::numbers)
        .function("setSpeed", &Page::setSpeed)
        .function("speed", &Page::speed)
        .function("speedMin", &Page::speedMin)
        .function("speedMax", &Page::speedMax)
        .function("tickIntervalMs", &Page::tickIntervalMs)
        .function("description", &Page::description)
        .function("descriptionIntervalMs", &Page::descriptionIntervalMs)
        .function("setRunning", &Page::setRunning)
        .function("running", &Page::running)
        .function("tick", &Page::tick)
        .function("press", &Page::press)
        .function("drag", &Page::drag)
        .function("release", &Page::release)
        .function("wheel", &Page::wheel);
}
