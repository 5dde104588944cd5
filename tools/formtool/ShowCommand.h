#pragma once
// formtool show: runs a form source (or binary stream) as the program's main form.
#include <string>

namespace formtool {

// Reads the form (a source's file blocks relative to `baseDir`) with every registered class
// (plus formtool's own test classes) and runs it; returns the program's exit status (0 after the
// main form closed, 1 when it could not be made).
int ShowForm(const std::string& fileBytes, const std::string& baseDir);

} // namespace formtool
