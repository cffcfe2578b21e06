#pragma once

#include <string>
#include <string_view>

namespace wirevane {

// Appends JSON values to a string: numbers in shortest round-trip form (null when not finite),
// strings escaped and made valid UTF-8.
class JsonWriter {
  public:
    JsonWriter& raw(std::string_view text);
    JsonWriter& number(double value);
    JsonWriter& string(std::string_view text);
    JsonWriter& boolean(bool value);
    // "key": — with a comma before it unless it opens the object.
    JsonWriter& key(std::string_view name);

    const std::string& text() const { return out_; }

  private:
    std::string out_;
};

} // namespace wirevane
