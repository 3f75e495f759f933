#pragma once
// The program's start: number separators, application object, main window, start-up sequence,
// event loop.

#include <functional>

class QWidget;

namespace zelvo {

// Runs the program. `beforeShow`, when set, sees the main window after its start-up sequence and
// before it is first shown (the start-up benchmark hooks its first paint there).
int RunApplication(int argc, char** argv, const std::function<void(QWidget&)>& beforeShow = {});

}  // namespace zelvo
