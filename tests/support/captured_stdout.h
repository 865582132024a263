// What a test program writes to standard output while `call` runs, with
// "\n" for each line end (a Windows runtime writes "\r\n"). Descriptor 1
// itself is redirected, to a temporary file, so that the library's printf is
// seen whichever runtime copy makes it.
#pragma once

#include <functional>
#include <string>

std::string CapturedStdout(const std::function<void()>& call);
