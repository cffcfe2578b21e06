#pragma once
// The superuser is not bound by file permissions. A test that needs a write to be refused
// acts as the unprivileged user "nobody" for one scope, owning the test's folder, when it
// runs as root; otherwise it stays who it is.
//
//   { AsNobody nobody(folder.path()); ... the refused write ... }

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/types.h>
#include <unistd.h>

namespace wirevane::tests {

class AsNobody {
  public:
    explicit AsNobody(const std::filesystem::path& folder) {
        if (::geteuid() != 0)
            return;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
            EXPECT_EQ(::lchown(entry.path().c_str(), kNobody, kNobody), 0);
        EXPECT_EQ(::chown(folder.c_str(), kNobody, kNobody), 0);
        dropped_ = ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
        EXPECT_TRUE(dropped_);
    }
    ~AsNobody() {
        if (dropped_) {
            EXPECT_EQ(::seteuid(0), 0);
            EXPECT_EQ(::setegid(0), 0);
        }
    }
    AsNobody(const AsNobody&) = delete;
    AsNobody& operator=(const AsNobody&) = delete;

  private:
    static constexpr uid_t kNobody = 65534;
    bool dropped_ = false;
};

} // namespace wirevane::tests
