#pragma once
// A test fixture: a fresh device home folder in a temporary directory (caches, temporary folder,
// preferences, pasteboards) and a main run loop on a manual clock. Removed after the test.

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/foundation/RunLoop.h"

namespace testsupport {

class TempHome {
public:
    TempHome();
    ~TempHome();
    const std::string& path() const { return path_; }
    platform::RunLoop& loop() { return *loop_; }
    // Write a file below the home (folders are made as needed); answers its full path.
    std::string writeFile(const std::string& relativePath, const std::string& bytes);

private:
    std::string path_;
    std::shared_ptr<platform::RunLoop> loop_;
};

// Same, as a gtest fixture base.
class TempHomeTest : public ::testing::Test {
protected:
    TempHome home;
};

}  // namespace testsupport
