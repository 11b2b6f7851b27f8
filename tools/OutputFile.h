// Writing an output file of the render tool. A new or regular file is never
// left partly written: the content goes to a temporary file beside the target,
// which is renamed over it once complete (its name fits wherever the target's
// name fits). Anything else that exists at the path (a FIFO, a character
// device, a terminal, what /dev/stdout leads to) is never replaced nor
// removed: the content is written into it, as a stream. A symbolic link stays
// in place: the file it leads to is the target.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace Orvane::Lumisk::RenderTool {

// Writes the whole content to the open file; throws ToolError on failure.
using FileWriter = std::function<void(FILE* file)>;

// Throws ToolError naming the path; on failure a replaced file is untouched
// and no temporary file remains.
void WriteOutputFile(const std::string& path, const FileWriter& write);

// Whether the name means the tool's standard output: "-", or a name that
// leads to descriptor 1 (/dev/stdout, /dev/fd/1, /proc/self/fd/1). The tool
// points descriptor 1 elsewhere while it runs, so such a name cannot be opened.
bool NamesStandardOutput(const std::string& path);

// Writes the whole content into an open stream and flushes it; throws
// ToolError naming `name`.
void WriteOutputStream(FILE* stream, const std::string& name, const FileWriter& write);

}  // namespace Orvane::Lumisk::RenderTool
