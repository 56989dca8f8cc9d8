// A folder of a test's own under /tmp, removed with all it holds at the end of the test.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace zerin::test {

class ScratchFolder {
  public:
    ScratchFolder() {
        char name[] = "/tmp/zerin-scratch-XXXXXX";
        if (const char* made = ::mkdtemp(name)) path_ = made;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    // The names the folder holds, sorted: what a write left beside its target.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(path_, ignored))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    std::string path_;
};

}  // namespace zerin::test
