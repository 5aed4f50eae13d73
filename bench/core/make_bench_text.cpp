// Writes the benchmark text of the given number of characters to standard output, for
// bench/cli_throughput.sh.
#include "bench_text.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_bench_text CHARACTERS\n");
        return 2;
    }
    const std::string text = rainbow::bench::benchText(std::strtoull(argv[1], nullptr, 10));
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 1;
}
