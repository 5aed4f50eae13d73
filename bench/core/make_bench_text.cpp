// Writes the benchmark text of the given number of characters (with an emoji in every line under
// --emoji) to standard output, for bench/cli_throughput.sh.
#include "bench/core/bench_text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char *argv[])
{
    const bool withEmoji = argc == 3 && std::strcmp(argv[2], "--emoji") == 0;
    if (argc != 2 && !withEmoji) {
        std::fprintf(stderr, "usage: make_bench_text CHARACTERS [--emoji]\n");
        return 2;
    }
    const std::string text = rainbow::bench::benchText(std::strtoull(argv[1], nullptr, 10), withEmoji);
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 1;
}
