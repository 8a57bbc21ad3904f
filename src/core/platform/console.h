#pragma once

// The command line and console of a command-line program, in UTF-8 on every platform.

#include <string>
#include <vector>

namespace numora {

// The program's arguments (argv[0] first) as UTF-8. On Windows they are taken from the wide
// command line, so that folder names in Japanese arrive whole whatever the system code page.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Lets the console show the UTF-8 text the program writes (Windows: the console's output code
// page becomes UTF-8; elsewhere nothing to do).
void UseUtf8Console();

}  // namespace numora
