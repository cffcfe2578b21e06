// wirevane-tool compile: the scene the Animation command would compile, as JSON.
#include "core/engine/objectcompiler.h"
#include "tools/jsonwriter.h"
#include "tools/scenejson.h"
#include "tools/toolcommands.h"
#include "tools/toolobject.h"

#include <iostream>

namespace wirevane {
namespace {

const char* const kCompileHelp =
    R"(Usage: wirevane-tool compile [--axis TEXT] [--name NAME] [--cross] [--raw] FILE

Compiles the object in FILE (an object text, or a .kfm object file) as the Animation command
would and prints the scene as JSON. Line endings of a text file become CR LF unless --raw.
  --axis TEXT   axis order field (default "0")
  --name NAME   object name (default "noname.kfm", or the file name of a .kfm file)
  --cross       cross switch on
  --raw         take the text file's bytes as they stand
)";

} // namespace

int compileCommand(ToolArguments args) {
    if (args.flag("--help")) {
        std::cout << kCompileHelp;
        return 0;
    }
    const ToolObject object = readToolObject(args);
    Scene scene;
    const CompileResult result = compileObject(scene, &object.input);

    JsonWriter json;
    json.raw("{");
    json.key("completed").boolean(result.completed);
    json.key("pointCount").number(scene.pointCount);
    json.key("connectionCount").number(scene.connectionCount);
    writeObjectValues(json, scene.axisOrder, scene.objectColor, scene.backgroundColor,
                      scene.crossColor, scene.showCross);
    json.key("creditsOffered").boolean(result.creditsOffered);
    json.key("raw");
    writePoints(json, scene.rawX, scene.rawY, &scene.rawZ, scene.pointCount);
    json.key("scene");
    writePoints(json, scene.sceneX, scene.sceneY, &scene.sceneZ, scene.pointCount);
    json.key("connections");
    writeColumnPairs(json, scene.connections, scene.connectionCount);
    json.raw("}");
    std::cout << json.text() << '\n';
    return 0;
}

} // namespace wirevane
