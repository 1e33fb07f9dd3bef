// Replays files through a fuzz target without libFuzzer, so the ordinary test build proves
// that every corpus file (and every input a fuzzer once crashed on) runs clean. Arguments
// are files or directories (read recursively, in name order).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i)
    {
        const fs::path given(argv[i]);
        if (fs::is_directory(given))
        {
            for (const auto& entry : fs::recursive_directory_iterator(given))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
        }
        else if (fs::is_regular_file(given))
            files.push_back(given);
        else
        {
            std::fprintf(stderr, "%s: no such file or directory\n", argv[i]);
            return 2;
        }
    }
    std::sort(files.begin(), files.end());
    if (files.empty())
    {
        std::fprintf(stderr, "no inputs to replay\n");
        return 2;
    }

    for (const fs::path& file : files)
    {
        std::ifstream in(file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof())
        {
            std::fprintf(stderr, "%s: cannot read\n", file.c_str());
            return 2;
        }
        // Every input gets its own copy, so a read past its end is seen by the sanitizer.
        std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
        LLVMFuzzerTestOneInput(data.data(), data.size());
    }
    std::printf("replayed %zu inputs\n", files.size());
    return 0;
}
