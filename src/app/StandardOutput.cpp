#include "app/StandardOutput.h"

#include <cerrno>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#include <csignal>
#endif

namespace zelvo {

#if defined(_WIN32)

namespace {

// The handle of a standard stream: the one the caller handed over (redirected to a file or a
// pipe), else the console of the process that started this one; null started from the desktop.
HANDLE StandardHandle(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE)
        return handle;
    static const bool attached = AttachConsole(ATTACH_PARENT_PROCESS) != 0;
    if (!attached)
        return nullptr;
    handle = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

std::string ErrorText(DWORD code) {
    char buffer[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text.empty() ? "error " + std::to_string(code) : text;
}

WriteResult WriteHandle(HANDLE handle, const std::string& text, std::string& error) {
    if (handle == nullptr)
        return WriteResult::Written;  // started from the desktop: nobody to tell
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        // A console shows characters, not bytes in some code page.
        const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
        std::wstring wide(std::size_t(units), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), units);
        DWORD written = 0;
        if (!wide.empty() && !WriteConsoleW(handle, wide.data(), DWORD(wide.size()), &written, nullptr)) {
            error = ErrorText(GetLastError());
            return WriteResult::Failed;
        }
        return WriteResult::Written;
    }
    std::size_t done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        if (!WriteFile(handle, text.data() + done, DWORD(text.size() - done), &written, nullptr)) {
            const DWORD code = GetLastError();
            if (code == ERROR_BROKEN_PIPE || code == ERROR_NO_DATA)
                return WriteResult::ReaderGone;
            error = ErrorText(code);
            return WriteResult::Failed;
        }
        done += written;
    }
    return WriteResult::Written;
}

}  // namespace

WriteResult WriteStandardOutput(const std::string& text, std::string& error) {
    return WriteHandle(StandardHandle(STD_OUTPUT_HANDLE), text, error);
}

void WriteStandardError(const std::string& text) {
    std::string ignored;
    WriteHandle(StandardHandle(STD_ERROR_HANDLE), text, ignored);
}

void IgnoreBrokenPipeSignal() {}

#else

namespace {

WriteResult WriteDescriptor(int fd, const std::string& text, std::string& error) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EPIPE)
                return WriteResult::ReaderGone;
            error = std::strerror(errno);
            return WriteResult::Failed;
        }
        done += std::size_t(written);
    }
    return WriteResult::Written;
}

}  // namespace

WriteResult WriteStandardOutput(const std::string& text, std::string& error) {
    return WriteDescriptor(STDOUT_FILENO, text, error);
}

void WriteStandardError(const std::string& text) {
    std::string ignored;
    WriteDescriptor(STDERR_FILENO, text, ignored);
}

void IgnoreBrokenPipeSignal() {
    std::signal(SIGPIPE, SIG_IGN);
}

#endif

}  // namespace zelvo
