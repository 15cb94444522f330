// The converter program's behaviour, callable in-process.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace mbm {

// Runs one command line (without the program name). The report goes to `out`,
// one line per failure to `err`. Returns the exit code.
int runTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// "x.bmp" -> "x-alpha.bmp": the companion alpha file of a /c32a source, and
// the second file /u writes for an alpha bitmap.
std::string alphaFileName(const std::string& path);


} // namespace mbm
