#include "support/TempHome.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform/foundation/FileSystem.h"

namespace testsupport {

TempHome::TempHome() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kovra-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
    platform::setHomeFolder(path_);
    loop_ = std::make_shared<platform::RunLoop>(std::make_shared<platform::ManualClock>());
    platform::RunLoop::setMain(loop_);
}

TempHome::~TempHome() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempHome::writeFile(const std::string& relativePath, const std::string& bytes) {
    std::string full = path_ + "/" + relativePath;
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
    platform::fs::writeAtomically(full, bytes);
    return full;
}

}  // namespace testsupport
