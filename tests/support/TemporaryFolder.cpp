#include "TemporaryFolder.h"

#include <cstdlib>
#include <string>
#include <system_error>

namespace testing_support {

TemporaryFolder::TemporaryFolder() {
    // Folders of one test process live in its run folder (see TestMain), so death-test children,
    // which end without unwinding, leave nothing behind once their parent ends.
    const char* base = std::getenv("QUORIL_TEST_RUN_TMP");
    if (!base) base = std::getenv("QUORIL_TEST_TMP");
    std::filesystem::path root = base ? base : std::filesystem::temp_directory_path();
    std::filesystem::create_directories(root);
    std::string pattern = (root / "t-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

} // namespace testing_support
