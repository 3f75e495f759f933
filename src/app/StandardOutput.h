#pragma once
// Writing the program's answers to standard output and standard error. On Windows the program is a
// window program: it writes to the output its caller redirected, or attaches to its caller's
// console; started from the desktop it has neither and writes nothing.

#include <string>

namespace zelvo {

enum class WriteResult {
    Written,
    ReaderGone,  // the reading end of a pipe closed early (`| head`): not an error of ours
    Failed,      // `error` says why
};

// Writes all of `text` (UTF-8) to standard output.
WriteResult WriteStandardOutput(const std::string& text, std::string& error);

// Writes `text` (UTF-8) to standard error; failures are ignored, as there is nowhere left to say so.
void WriteStandardError(const std::string& text);

// Lets a write to a closed pipe fail with an error instead of ending the process.
void IgnoreBrokenPipeSignal();

}  // namespace zelvo
