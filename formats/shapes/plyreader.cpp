// PLY, ASCII and binary in either byte order: x, y and z of the vertex element, the edge
// element's vertex1 and vertex2, the vertex_indices of the face and tristrips elements. Other
// elements and properties are read past.
#include "core/engine/floatingtext.h"
#include "formats/shapes/shapereaders.h"
#include "formats/shapes/shapetokens.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace wirevane {

using namespace shapetext;

namespace {

enum class Encoding { Ascii, LittleEndian, BigEndian };

struct Type {
    int bytes = 0;
    bool integer = true;
    bool isSigned = true;
};

bool typeNamed(std::string_view name, Type& type) {
    struct Row {
        std::string_view a, b;
        Type type;
    };
    static constexpr Row kTypes[] = {
        {"char", "int8", {1, true, true}},      {"uchar", "uint8", {1, true, false}},
        {"short", "int16", {2, true, true}},    {"ushort", "uint16", {2, true, false}},
        {"int", "int32", {4, true, true}},      {"uint", "uint32", {4, true, false}},
        {"float", "float32", {4, false, true}}, {"double", "float64", {8, false, true}},
    };
    for (const Row& row : kTypes)
        if (name == row.a || name == row.b) {
            type = row.type;
            return true;
        }
    return false;
}

struct Property {
    std::string name;
    Type type;
    bool list = false;
    Type countType;
};

struct Element {
    std::string name;
    std::uint64_t count = 0;
    std::vector<Property> properties;
    std::uint64_t leastBytes() const { // of one item in a binary file
        std::uint64_t bytes = 0;
        for (const Property& p : properties)
            bytes += static_cast<std::uint64_t>(p.list ? p.countType.bytes : p.type.bytes);
        return bytes;
    }
};

// "vertex 5 of 8", made into text only for a message.
struct ItemName {
    const std::string& element;
    std::uint64_t item, count;
    std::string text() const {
        return element + ' ' + std::to_string(item) + " of " + std::to_string(count);
    }
};

// The values of the body one at a time, from text fields or binary bytes.
class Body {
  public:
    Body(std::string_view bytes, std::size_t start, int headerLines, Encoding encoding)
        : bytes_(bytes), pos_(start), encoding_(encoding), lines_(bytes.substr(start)),
          lineOffset_(headerLines) {}

    bool binary() const { return encoding_ != Encoding::Ascii; }
    std::size_t remaining() const { return bytes_.size() - pos_; }
    // Where the next value stands, for a message.
    Place place() const {
        return binary() ? Place{"byte", pos_}
                        : Place{"line", static_cast<std::size_t>(line_ + lineOffset_)};
    }
    std::string where() const { return place().text(); }

    // item: for the message when the file ends early.
    double value(const Type& type, const ItemName& item) {
        if (!binary()) {
            while (field_ >= fields_.size()) {
                std::string_view line;
                if (!lines_.next(line))
                    throw ShapeError{lineName(line_ + lineOffset_) + ": the file ends before " +
                                     item.text()};
                line_ = lines_.number();
                fields_ = fields(line);
                field_ = 0;
            }
            const double v = number(fields_[field_++], line_ + lineOffset_);
            if (type.integer && v != std::floor(v))
                throw ShapeError{lineName(line_ + lineOffset_) + ": " + item.text() +
                                 " has a fraction where a whole number belongs"};
            return v;
        }
        if (remaining() < static_cast<std::size_t>(type.bytes))
            throw ShapeError{"byte " + std::to_string(bytes_.size()) + ": the file ends inside " +
                             item.text()};
        std::uint64_t raw = 0;
        for (int i = 0; i < type.bytes; ++i) {
            const int from = encoding_ == Encoding::BigEndian ? i : type.bytes - 1 - i;
            raw = (raw << 8) | static_cast<unsigned char>(bytes_[pos_ + from]);
        }
        pos_ += type.bytes;
        if (!type.integer)
            return type.bytes == 4 ? double(bitCast<float>(static_cast<std::uint32_t>(raw)))
                                   : bitCast<double>(raw);
        if (!type.isSigned)
            return static_cast<double>(raw);
        const int unused = 64 - 8 * type.bytes; // sign-extend
        return static_cast<double>(static_cast<std::int64_t>(raw << unused) >> unused);
    }

  private:
    std::string_view bytes_;
    std::size_t pos_;
    Encoding encoding_;
    Lines lines_;
    int lineOffset_;
    int line_ = 0;
    std::vector<std::string_view> fields_;
    std::size_t field_ = 0;
};

struct Header {
    Encoding encoding = Encoding::Ascii;
    std::vector<Element> elements;
    std::size_t bodyStart = 0;
    int lines = 0;
};

Header readHeader(std::string_view bytes) {
    Header header;
    Lines lines(bytes);
    std::string_view line;
    bool formatSeen = false;
    std::size_t consumed = 0;
    while (true) {
        if (!lines.next(line))
            throw ShapeError{lineName(lines.number()) + ": the file ends inside the header"};
        const int at = lines.number();
        consumed = static_cast<std::size_t>(line.data() - bytes.data()) + line.size();
        if (consumed < bytes.size() && bytes[consumed] == '\r')
            ++consumed;
        ++consumed; // the line feed
        const std::vector<std::string_view> f = fields(line);
        if (at == 1) {
            if (f.size() != 1 || f[0] != "ply")
                throw ShapeError{"line 1: a PLY file begins with 'ply'"};
            continue;
        }
        if (f.empty() || f[0] == "comment" || f[0] == "obj_info")
            continue;
        if (f[0] == "end_header")
            break;
        if (f[0] == "format") {
            if (f.size() != 3 || f[2] != "1.0")
                throw ShapeError{lineName(at) + ": the format line is not of PLY 1.0"};
            if (f[1] == "ascii")
                header.encoding = Encoding::Ascii;
            else if (f[1] == "binary_little_endian")
                header.encoding = Encoding::LittleEndian;
            else if (f[1] == "binary_big_endian")
                header.encoding = Encoding::BigEndian;
            else
                throw ShapeError{lineName(at) + ": " + quoted(f[1]) + " is no PLY format"};
            formatSeen = true;
        } else if (f[0] == "element") {
            if (f.size() != 3)
                throw ShapeError{lineName(at) + ": an element line has a name and a count"};
            const long long count = integer(f[2], at);
            if (count < 0)
                throw ShapeError{lineName(at) + ": the count is negative"};
            header.elements.push_back({std::string(f[1]), static_cast<std::uint64_t>(count), {}});
        } else if (f[0] == "property") {
            if (header.elements.empty())
                throw ShapeError{lineName(at) + ": a property before any element"};
            Property p;
            const bool list = f.size() == 5 && f[1] == "list";
            if (list ? !(typeNamed(f[2], p.countType) && p.countType.integer &&
                         typeNamed(f[3], p.type))
                     : !(f.size() == 3 && typeNamed(f[1], p.type)))
                throw ShapeError{lineName(at) + ": the property line is not understood"};
            p.list = list;
            p.name = std::string(f.back());
            header.elements.back().properties.push_back(p);
        } else {
            throw ShapeError{lineName(at) + ": " + quoted(f[0]) + " is no PLY header keyword"};
        }
    }
    if (!formatSeen)
        throw ShapeError{"line 2: the format line is missing"};
    header.bodyStart = std::min(consumed, bytes.size());
    header.lines = lines.number();
    return header;
}

int propertyIndex(const Element& element, std::string_view name, bool list) {
    for (std::size_t i = 0; i < element.properties.size(); ++i)
        if (element.properties[i].name == name && element.properties[i].list == list)
            return static_cast<int>(i);
    return -1;
}

} // namespace

Shape readPlyShape(std::string_view fileBytes, FaceEdges faceEdges) {
    const std::string_view bytes = withoutByteOrderMark(fileBytes, false);
    const Header header = readHeader(bytes);
    Body body(bytes, header.bodyStart, header.lines, header.encoding);
    ShapeBuilder builder(faceEdges);
    // Elements come in any order: faces and edges before the points wait for them.
    std::uint64_t points = 0;
    for (const Element& element : header.elements)
        if (element.name == "vertex") {
            points = element.count;
            break;
        }
    bool pointsRead = false;
    std::vector<std::vector<int>> waiting; // faces, and lines as two corners and a 0
    const auto add = [&](std::vector<int> corners, bool line) {
        if (!pointsRead) {
            if (line)
                corners.push_back(0);
            waiting.push_back(std::move(corners));
        } else if (line) {
            builder.addLine(corners[0], corners[1]);
        } else {
            builder.addFace(corners);
        }
    };
    std::vector<int> corners;

    for (const Element& element : header.elements) {
        if (element.count > 0 && element.properties.empty())
            throw ShapeError{"the element '" + element.name + "' has no properties"};
        // A header that claims more than the file can hold is refused before any reading.
        if (body.binary() && element.count > 0 &&
            element.count > body.remaining() / element.leastBytes())
            throw ShapeError{body.where() + ": the header claims " + std::to_string(element.count) +
                             " " + element.name + " elements, more than the " +
                             std::to_string(body.remaining()) + " bytes left can hold"};
        const bool isVertex = element.name == "vertex" && !pointsRead;
        const bool isFace = element.name == "face";
        const bool isStrip = element.name == "tristrips"; // -1 ends a strip
        const bool isEdge = element.name == "edge";
        int x = -1, y = -1, z = -1, list = -1, from = -1, to = -1;
        if (isVertex) {
            x = propertyIndex(element, "x", false);
            y = propertyIndex(element, "y", false);
            z = propertyIndex(element, "z", false);
            if (x < 0 || y < 0 || z < 0)
                throw ShapeError{"the vertex element needs the properties x, y and z"};
        } else if (isFace || isStrip) {
            list = propertyIndex(element, "vertex_indices", true);
            if (list < 0)
                list = propertyIndex(element, "vertex_index", true);
        } else if (isEdge) {
            from = propertyIndex(element, "vertex1", false);
            to = propertyIndex(element, "vertex2", false);
        }

        for (std::uint64_t item = 0; item < element.count; ++item) {
            const ItemName name{element.name, item + 1, element.count};
            double xyz[3] = {0, 0, 0};
            double ends[2] = {0, 0};
            const Place start = body.place();
            corners.clear();
            for (int p = 0; p < static_cast<int>(element.properties.size()); ++p) {
                const Property& property = element.properties[p];
                auto pointOf = [&](double v) {
                    if (isStrip && v == -1)
                        return -1;
                    if (!(v >= 0 && v < static_cast<double>(points) && v == std::floor(v)))
                        throw ShapeError{body.where() + ": " + name.text() + " names no point: " +
                                         exactNumber(v) + " (points: " + std::to_string(points) +
                                         ", numbered from 0)"};
                    return static_cast<int>(v) + 1;
                };
                if (property.list) {
                    const double count = body.value(property.countType, name);
                    if (count < 0)
                        throw ShapeError{body.where() + ": " + name.text() +
                                         " has a negative count"};
                    if (body.binary() && count * property.type.bytes > body.remaining())
                        throw ShapeError{body.where() + ": " + name.text() +
                                         " has more values than the file holds"};
                    for (double k = 0; k < count; ++k) {
                        const double v = body.value(property.type, name);
                        if (p == list)
                            corners.push_back(pointOf(v));
                    }
                    continue;
                }
                const double v = body.value(property.type, name);
                if (p == x)
                    xyz[0] = v;
                else if (p == y)
                    xyz[1] = v;
                else if (p == z)
                    xyz[2] = v;
                else if (p == from)
                    ends[0] = pointOf(v);
                else if (p == to)
                    ends[1] = pointOf(v);
            }
            if (isVertex) {
                builder.addPoint(xyz[0], xyz[1], xyz[2], body.binary() ? start : body.place());
            } else if (isFace && list >= 0) {
                if (corners.size() < 3)
                    throw ShapeError{start.text() + ": " + name.text() +
                                     " has fewer than 3 corners"};
                add(corners, false);
            } else if (isStrip && list >= 0) {
                // Each corner makes a triangle with the two before it; those that join strips
                // by repeating a corner are no faces.
                for (std::size_t k = 2; k < corners.size(); ++k) {
                    const int a = corners[k - 2], b = corners[k - 1], c = corners[k];
                    if (a > 0 && b > 0 && c > 0 && a != b && b != c && a != c)
                        add({a, b, c}, false);
                }
            } else if (isEdge && from >= 0 && to >= 0) {
                add({static_cast<int>(ends[0]), static_cast<int>(ends[1])}, true);
            }
        }
        if (isVertex) {
            pointsRead = true;
            for (std::vector<int>& item : waiting) {
                const bool line = item.back() == 0;
                if (line)
                    item.pop_back();
                add(std::move(item), line);
            }
            waiting.clear();
        }
    }
    return builder.finish();
}

} // namespace wirevane
