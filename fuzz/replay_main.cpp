// Runs a fuzz target's LLVMFuzzerTestOneInput once on every file of the folders (or files) named
// on the command line, so an ordinary build checks the committed corpus and saved crash inputs.
// Hidden files (.gitkeep) are skipped. A broken invariant aborts, which fails the test.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputsIn(const fs::path& place) {
    std::vector<fs::path> inputs;
    if (fs::is_directory(place)) {
        for (const fs::directory_entry& entry : fs::directory_iterator{place}) {
            if (entry.is_regular_file() && !entry.path().filename().string().starts_with(".")) {
                inputs.push_back(entry.path());
            }
        }
    } else if (fs::is_regular_file(place)) {
        inputs.push_back(place);
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

}  // namespace

int main(int argc, char** argv) {
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        if (!fs::exists(argv[i])) {
            std::fprintf(stderr, "no such corpus: %s\n", argv[i]);
            return 2;
        }
        for (const fs::path& input : InputsIn(argv[i])) {
            std::ifstream in{input, std::ios::binary};
            const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>{in},
                                             std::istreambuf_iterator<char>{}};
            std::printf("%s (%zu bytes)\n", input.string().c_str(), bytes.size());
            std::fflush(stdout);
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    return 0;
}
