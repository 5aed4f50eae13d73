#include "cli/command_line.h"
#include "cli/translation.h"

#include <unistd.h>

#include <iostream>

int main(int argc, char *argv[])
{
    std::ios::sync_with_stdio(false);
    rainbow::cli::useChinese(rainbow::cli::asksForChinese(rainbow::cli::LocaleVariables::fromEnvironment()));
    const std::vector<std::string> arguments(argv, argv + argc);
    return rainbow::runCommandLine(arguments, STDIN_FILENO, STDOUT_FILENO, std::cerr);
}
