#pragma once

#include "core/engine/objecttextrules.h"
#include "core/engine/scene.h"

#include <string>

namespace wirevane {

// What the Animation command reads from the active object window.
struct ObjectInput {
    std::string text;          // the object text, lines separated by CR LF
    std::string name;          // file name, "noname.kfm" for a new object
    std::string axisOrderText; // the axis-order field as typed
    Colour objectColor = 0;
    Colour backgroundColor = 0;
    Colour crossColor = 0;
    int crossState = 0;
};

// The values of a new object window.
constexpr Colour kDefaultObjectColour = 0xC0C000;
constexpr Colour kDefaultBackgroundColour = 0;
constexpr Colour kDefaultCrossColour = 0xE0E0E0;

// A new object window's input: no text, name "noname.kfm", axis order "0", cross off.
ObjectInput defaultObjectInput();

struct CompileResult {
    bool completed = false;      // false: stopped on a full table or an oversized number
    bool creditsOffered = false; // whether the navigation bar's hidden button is offered
};

// sceneX, sceneY and sceneZ from the raw tables by the axis order: the points as the animation
// shows them before any turn or zoom. An order other than 0 to 5 leaves them as they were.
void mapAxes(Scene& scene);

// Compiles an object into the scene. Without an object window (input == nullptr) the command
// still completes with an empty scene and keeps the colours, axis order and cross switch.
CompileResult compileObject(Scene& scene, const ObjectInput* input);

} // namespace wirevane
