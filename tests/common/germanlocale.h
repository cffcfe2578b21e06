#pragma once
// Switches the C library's number formatting to German (decimal comma) for one scope, to show
// that reading and writing numbers ignores the locale. scripts/install-deps generates the
// locale; where it is missing the test is skipped with that reason.
//
//   GermanNumbers german;
//   if (!german.active())
//       GTEST_SKIP() << GermanNumbers::kMissing;

#include <clocale>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace wirevane::tests {

class GermanNumbers {
  public:
    static constexpr const char* kLocale = "de_DE.UTF-8";
    static constexpr const char* kMissing =
        "the locale de_DE.UTF-8 is missing; scripts/install-deps generates it";

    GermanNumbers() : previous_(std::setlocale(LC_NUMERIC, nullptr)) {
        active_ = std::setlocale(LC_NUMERIC, kLocale) != nullptr;
        if (active_) {
            EXPECT_STREQ(std::localeconv()->decimal_point, ",") << "the switch had no effect";
        }
    }
    ~GermanNumbers() { std::setlocale(LC_NUMERIC, previous_.c_str()); }
    GermanNumbers(const GermanNumbers&) = delete;
    GermanNumbers& operator=(const GermanNumbers&) = delete;

    bool active() const { return active_; }

  private:
    std::string previous_;
    bool active_ = false;
};

} // namespace wirevane::tests
