#pragma once

#include <optional>

// The launcher's command line. Started with no arguments, it opens its window exactly as it
// always has; only these explicit options change anything, and each of them runs without a
// display: --help, --version, and --check [FOLDER], which checks a suite as a start-up would meet
// it. Handles what the arguments ask for and gives the exit status, or nothing when they ask for
// the window after all.
std::optional<int> runCommandLine(int argc, char *argv[]);
