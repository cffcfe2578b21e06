#pragma once

#include <QLatin1String>
#include <utility>

namespace wirevane {

// A new control that carries its name as its objectName, so a test or a reader finds it by the
// name the code gives it.
template <typename Control, typename... Args> Control* makeNamed(const char* name, Args&&... args) {
    auto* control = new Control(std::forward<Args>(args)...);
    control->setObjectName(QLatin1String(name));
    return control;
}

} // namespace wirevane
