#include "cli/command_line.h"

#include <unistd.h>

#include <iostream>

int main(int argc, char *argv[])
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv, argv + argc);
    return rainbow::runCommandLine(arguments, STDIN_FILENO, STDOUT_FILENO, std::cerr);
}
