#pragma once
// A fresh, empty folder for one test, removed with everything in it when the test ends. Each
// folder has a unique name, so parallel runs (plain and sanitizer builds) never share files.
//
//   TemporaryFolder folder;
//   writeFile(folder.file("cube.kfm"), bytes);

#include <cstdlib>
#include <filesystem>
#ifdef QT_CORE_LIB
#include <QByteArray>
#include <QString>
#endif
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <system_error>

namespace wirevane::tests {

class TemporaryFolder {
  public:
    TemporaryFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "wirevane-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            ADD_FAILURE() << "cannot create a temporary folder from " << pattern;
        path_ = pattern;
    }
    ~TemporaryFolder() {
        namespace fs = std::filesystem;
        // A test may have locked a folder inside; open it again so that it can go.
        std::error_code error;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
        for (auto it = fs::recursive_directory_iterator(path_, error);
             it != fs::recursive_directory_iterator(); it.increment(error)) {
            if (it->is_directory(error) && !it->is_symlink(error))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
        }
        fs::remove_all(path_, error);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The path of an entry in the folder, as text.
    std::string file(const std::string& name) const { return (path_ / name).string(); }
#ifdef QT_CORE_LIB
    QString filePath(const QString& name) const {
        return QString::fromStdString(file(name.toStdString()));
    }
    QString qPath() const {
        return QString::fromStdString(path_.string());
    }
#endif

  private:
    std::filesystem::path path_;
};

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    EXPECT_TRUE(out.good()) << "cannot write " << path;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

#ifdef QT_CORE_LIB
inline void writeFile(const QString& path, const QByteArray& bytes) {
    writeFile(path.toStdString(), bytes.toStdString());
}

inline QByteArray readFile(const QString& path) {
    return QByteArray::fromStdString(readFile(path.toStdString()));
}
#endif

} // namespace wirevane::tests
