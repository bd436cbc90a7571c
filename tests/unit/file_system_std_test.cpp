#include "support/file_system_contract.h"

namespace {

struct StdTraits {
    static FileSystem& Get() { return StdFileSystem(); }
    static constexpr bool kIgnoresCase = false;
#ifdef _WIN32
    static constexpr bool kAnsiNames = false; // std::filesystem converts names to wide text there
#else
    static constexpr bool kAnsiNames = true;
#endif
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Std, FileSystemContract, StdTraits);
