// Without libFuzzer: runs the fuzz target once on every file named, or held
// by a folder named, on the command line (the seed corpus, a crash found).

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

int rejouer(const std::filesystem::path& chemin) {
    std::ifstream f(chemin, std::ios::binary);
    std::string octets((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(octets.data()), octets.size());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    int n = 0;
    for (int a = 1; a < argc; ++a) {
        std::filesystem::path chemin(argv[a]);
        if (std::filesystem::is_directory(chemin)) {
            for (const auto& e : std::filesystem::directory_iterator(chemin)) {
                n += rejouer(e.path());
            }
        } else {
            n += rejouer(chemin);
        }
    }
    std::printf("%d inputs run\n", n);
    return n > 0 ? 0 : 1;
}
