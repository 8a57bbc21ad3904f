#pragma once

// The operating system's own calls for the platform files: the Windows API (without its min and
// max macros, which would break std::min and std::max), or the POSIX file calls and errno.

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif
