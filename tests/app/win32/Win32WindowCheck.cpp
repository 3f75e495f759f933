// Checks the whole program on Windows as a user meets it, through the window system only: starts
// zelvo.exe, finds its window by the caption, looks at what it shows, uses the mouse wheel, clicks and
// types, reads the registry the program wrote, and closes the window. The controls are found by
// their colours in the window's picture, so nothing here depends on a style's tab sizes. Each page
// is kept as a BMP in the output folder, in a folder named after the family.
//   zelvo_window_check ZELVO_EXE OUT_DIR [--start-only]
// Runs in the throwaway Wine prefix of scripts/test-wine.sh (ZELVO_WINE_FAMILY names its family);
// skipped elsewhere, since it changes the registered owner and organization.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

const wchar_t kCaption[] = L"\u3000Zelvo      Ver 1.2\u3000\u3000Varnel  ";
constexpr int kClientWidth = 472;
constexpr int kClientHeight = 242;
constexpr int kTimeoutMs = 30000;

int g_failed = 0;
int g_passed = 0;

void check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok    " : "FAILED", what.c_str());
    std::fflush(stdout);
    ++(ok ? g_passed : g_failed);
}

std::string narrow(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(size, 1)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    out.resize(std::strlen(out.c_str()));
    return out;
}

std::wstring widen(const char* text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(std::max(size, 1)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), size);
    out.resize(std::wcslen(out.c_str()));
    return out;
}

// A path of the build machine's, as Wine's Z: drive shows it.
std::wstring windowsPath(const char* path) {
    std::wstring out = widen(path);
    if (!out.empty() && out[0] == L'/')
        out = L"Z:" + out;
    std::replace(out.begin(), out.end(), L'/', L'\\');
    return out;
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs = kTimeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        if (condition())
            return true;
        Sleep(100);
    }
    return condition();
}

// --- the window's picture ---

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

Picture capture(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    Picture picture;
    picture.width = client.right;
    picture.height = client.bottom;
    picture.pixels.resize(static_cast<std::size_t>(picture.width * picture.height));
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, picture.width, picture.height, screen, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* source = static_cast<const std::uint32_t*>(bits);
        for (std::size_t i = 0; i < picture.pixels.size(); ++i)
            picture.pixels[i] = source[i] & 0xFFFFFFu;
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return picture;
}

void saveBmp(const Picture& picture, const std::wstring& file) {
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = picture.width;
    info.biHeight = -picture.height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    const DWORD dataSize = static_cast<DWORD>(picture.pixels.size() * 4);
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + dataSize;
    FILE* out = _wfopen(file.c_str(), L"wb");
    if (!out) {
        check(false, "writing " + narrow(file));
        return;
    }
    std::fwrite(&header, sizeof header, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(picture.pixels.data(), 4, picture.pixels.size(), out);
    std::fclose(out);
}

// The smallest rectangle holding every pixel of which `match` holds, within `area`.
std::optional<RECT> boundsOf(const Picture& picture, const std::function<bool(std::uint32_t)>& match,
                             RECT area = {0, 0, 1 << 16, 1 << 16}) {
    RECT found{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    const int right = std::min<int>(area.right, picture.width);
    const int bottom = std::min<int>(area.bottom, picture.height);
    for (int y = std::max<int>(area.top, 0); y < bottom; ++y)
        for (int x = std::max<int>(area.left, 0); x < right; ++x)
            if (match(picture.at(x, y))) {
                found.left = std::min<LONG>(found.left, x);
                found.top = std::min<LONG>(found.top, y);
                found.right = std::max<LONG>(found.right, x + 1);
                found.bottom = std::max<LONG>(found.bottom, y + 1);
            }
    if (found.left == LONG_MAX)
        return std::nullopt;
    return found;
}

std::function<bool(std::uint32_t)> exactly(std::uint32_t rgb) {
    return [rgb](std::uint32_t pixel) { return pixel == rgb; };
}

int channel(std::uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFFu);
}

// Text in aqua or fuchsia: what a measured clock figure is drawn in.
bool figureColour(std::uint32_t pixel) {
    const int r = channel(pixel, 16), g = channel(pixel, 8), b = channel(pixel, 0);
    return b > 160 && ((g > 160 && r < 100) || (r > 160 && g < 100));
}

constexpr std::uint32_t kGreen = 0x008000, kTeal = 0x008080, kNavy = 0x000080, kRed = 0xFF0000;

// --- input, as the user gives it ---

void sendMouse(DWORD flags, int data = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = static_cast<DWORD>(data);
    SendInput(1, &input, sizeof input);
}

void moveTo(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    SetCursorPos(point.x, point.y);
    Sleep(50);
}

void clickAt(HWND window, int x, int y) {
    moveTo(window, x, y);
    sendMouse(MOUSEEVENTF_LEFTDOWN);
    Sleep(50);
    sendMouse(MOUSEEVENTF_LEFTUP);
    Sleep(300);
}

void clickCentre(HWND window, const RECT& rect) {
    clickAt(window, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

void wheelAt(HWND window, int x, int y, int notches) {
    moveTo(window, x, y);
    for (int i = 0; i < std::abs(notches); ++i) {
        sendMouse(MOUSEEVENTF_WHEEL, notches > 0 ? WHEEL_DELTA : -WHEEL_DELTA);
        Sleep(300);
    }
}

void sendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

void pressKey(WORD key, WORD modifier = 0) {
    if (modifier)
        sendKey(modifier, false);
    sendKey(key, false);
    sendKey(key, true);
    if (modifier)
        sendKey(modifier, true);
    Sleep(100);
}

void typeText(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT input[2]{};
        for (INPUT& one : input) {
            one.type = INPUT_KEYBOARD;
            one.ki.wScan = c;
            one.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof input[0]);
        Sleep(20);
    }
    Sleep(200);
}

// --- the program's windows ---

struct Search {
    DWORD process;
    std::vector<HWND> windows;
};

std::vector<HWND> visibleWindowsOf(DWORD process) {
    Search search{process, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* found = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == found->process && IsWindowVisible(window))
                found->windows.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

std::wstring captionOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

std::optional<std::wstring> registryText(const wchar_t* key, const wchar_t* name) {
    wchar_t value[512] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(value);
}

// Where a page's controls are: the CPU page's green oval button "クロック 計測" stands at (270, 160)
// of the page background, whose client area starts one pixel in.
struct PageOrigin {
    int x = 0;
    int y = 0;
};

struct Run {
    HWND window = nullptr;
    PROCESS_INFORMATION process{};
    std::wstring outDir;
    bool nineX = false;
    PageOrigin page;
    int pagesSaved = 0;

    RECT pageRect(int x, int y, int width, int height) const {
        return RECT{page.x + x, page.y + y, page.x + x + width, page.y + y + height};
    }
    // The CPU page's clock figure box, and its oval button "クロック 計測".
    RECT clockBox() const { return pageRect(1 + 195 + 1 + 60, 1 + 7 + 1 + 10, 185, 30); }
    RECT clockButton() const { return pageRect(1 + 270, 1 + 160, 114, 25); }
    void save(const Picture& picture, const wchar_t* name) { saveBmp(picture, outDir + L"\\" + name + L".bmp"); }
    Picture settled() const {
        Sleep(400);
        return capture(window);
    }
};

bool startProgram(Run& run, const std::wstring& exe) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &run.process)) {
        check(false, "starting " + narrow(exe));
        return false;
    }
    const bool found = waitFor([&] {
        for (HWND window : visibleWindowsOf(run.process.dwProcessId))
            if (captionOf(window) == kCaption) {
                run.window = window;
                return true;
            }
        return false;
    });
    check(found, "a window with the exact caption appears");
    if (!found)
        return false;
    RECT client{};
    GetClientRect(run.window, &client);
    check(
        client.right == kClientWidth && client.bottom == kClientHeight,
        "the client area is 472 x 242 (" + std::to_string(client.right) + " x " + std::to_string(client.bottom) + ")");
    SetForegroundWindow(run.window);
    Sleep(1500);  // the first paint and the first load-monitor tick
    return true;
}

void checkCpuPage(Run& run) {
    const Picture cpu = capture(run.window);
    run.save(cpu, L"3-cpu");
    const std::optional<RECT> button = boundsOf(cpu, exactly(kGreen));
    check(button.has_value(), "the CPU page comes first, with its oval button");
    if (!button)
        return;
    run.page = PageOrigin{button->left - 1 - 270, button->top - 1 - 160};
    const auto gaugeColours = [](std::uint32_t pixel) { return pixel == kNavy || pixel == kRed; };
    const bool gaugeShown = boundsOf(cpu, gaugeColours, run.pageRect(43, 83, 100, 100)).has_value();
    check(gaugeShown == run.nineX, run.nineX ? "the load gauge is shown" : "the load gauge is hidden");

    // The clock: a message while it waits, then the figure in aqua (GHz) or fuchsia (MHz).
    const RECT memo7 = run.clockBox();
    clickCentre(run.window, *button);
    const bool measured = waitFor([&] { return boundsOf(capture(run.window), figureColour, memo7).has_value(); });
    check(measured, "a clock measurement gives a figure");
    run.save(run.settled(), L"3-cpu-measured");
}

void checkDrives(Run& run) {
    const RECT combo = run.pageRect(1 + 16, 1 + 13, 150, 18);
    const std::vector<HWND> before = visibleWindowsOf(run.process.dwProcessId);
    clickCentre(run.window, combo);
    HWND popup = nullptr;
    waitFor(
        [&] {
            for (HWND window : visibleWindowsOf(run.process.dwProcessId))
                if (std::find(before.begin(), before.end(), window) == before.end())
                    popup = window;
            return popup != nullptr;
        },
        5000);
    check(popup != nullptr, "the drive selector opens its list");
    if (!popup)
        return;
    Sleep(500);
    const Picture list = capture(popup);
    run.save(list, L"1-disk-drives");
    // The selected row is drawn in the highlight colour: its height is the row height.
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const std::uint32_t highlightRgb =
        (GetRValue(highlight) << 16) | (GetGValue(highlight) << 8) | GetBValue(highlight);
    const std::optional<RECT> selected = boundsOf(list, exactly(highlightRgb));
    const int drives = __builtin_popcount(GetLogicalDrives());
    if (selected && selected->bottom > selected->top) {
        const int rowHeight = selected->bottom - selected->top;
        const int rows = (list.height + rowHeight / 2) / rowHeight;
        check(rows == drives, "the drive list has a row per drive of the prefix (" + std::to_string(rows) +
                                  " rows of " + std::to_string(rowHeight) + " pixels, " + std::to_string(drives) +
                                  " drives)");
    } else {
        check(false, "the drive list shows its selected row");
    }
    pressKey(VK_ESCAPE);
    waitFor([&] { return !IsWindowVisible(popup); }, 5000);
}

void checkRegistration(Run& run) {
    const Picture before = capture(run.window);
    const std::optional<RECT> change = boundsOf(before, exactly(kTeal));
    check(change.has_value(), "the user page shows its oval button \"登録変更\"");
    if (!change)
        return;
    clickCentre(run.window, *change);
    const Picture editor = run.settled();
    const std::optional<RECT> touroku = boundsOf(editor, exactly(kGreen));
    check(touroku.has_value(), "the editor opens with \"登　録\"");
    if (!touroku)
        return;
    run.save(editor, L"6-user-editor");
    // The editor's boxes sit at (50, 20) and (50, 55) of its inner panel, the button at (215, 55).
    const int left = touroku->left - 215, top = touroku->top - 55;
    const std::wstring owner = run.nineX ? L"試験 太郎" : L"Test Owner 7";
    const std::wstring organization = run.nineX ? L"有限会社 ゼルボ" : L"Zelvo Test Org";
    clickAt(run.window, left + 50 + 75, top + 20 + 10);
    pressKey('A', VK_CONTROL);
    typeText(owner);
    clickAt(run.window, left + 50 + 75, top + 55 + 10);
    pressKey('A', VK_CONTROL);
    typeText(organization);
    clickCentre(run.window, *touroku);

    const wchar_t* key = run.nineX ? L"Software\\Microsoft\\Windows\\CurrentVersion"
                                   : L"Software\\Microsoft\\Windows NT\\CurrentVersion";
    const bool written = waitFor([&] { return registryText(key, L"RegisteredOwner") == owner; }, 10000);
    run.save(run.settled(), L"6-user");
    check(written, "the registry holds the new owner \"" + narrow(owner) + "\"");
    check(registryText(key, L"RegisteredOrganization") == organization,
          "the registry holds the new organization \"" + narrow(organization) + "\"");
}

void checkPages(Run& run) {
    // The mouse wheel over the tab strip turns the pages, whatever the style's tab sizes.
    const int stripX = run.page.x + 8, stripY = run.page.y - 8;
    wheelAt(run.window, stripX, stripY, 1);
    run.save(run.settled(), L"2-memory");
    wheelAt(run.window, stripX, stripY, 1);
    run.save(run.settled(), L"1-disk");
    checkDrives(run);
    wheelAt(run.window, stripX, stripY, -3);
    run.save(run.settled(), L"4-bios");
    wheelAt(run.window, stripX, stripY, -1);
    run.save(run.settled(), L"5-display");
    wheelAt(run.window, stripX, stripY, -1);
    checkRegistration(run);
}

// The clock once more with the keyboard alone, last, as the first key pressed shows the focus
// frames from then on (the drive list's too): back from the user page to the CPU page with
// Ctrl+PageUp, Tab from its focus panel to the button (past the load gauge on 9x, the figure box and the processor's
// name and vendor), then Space. The frame round the caption has black sides among the green of the button's middle
// rows, where the oval spans nearly its whole width.
void checkClockByKeyboard(Run& run) {
    for (int i = 0; i < 3; ++i)
        pressKey(VK_PRIOR, VK_CONTROL);
    for (int i = 0; i < (run.nineX ? 5 : 4); ++i)
        pressKey(VK_TAB);
    const Picture focused = run.settled();
    run.save(focused, L"3-cpu-keyboard-focus");
    const RECT button = run.clockButton();
    const int middle = (button.top + button.bottom) / 2;
    const RECT rows{button.left + 4, middle - 2, button.right - 4, middle + 3};
    check(boundsOf(focused, exactly(0x000000), rows).has_value(),
          "Tab reaches \"クロック 計測\" and its focus frame shows");
    pressKey(VK_SPACE);
    const auto measuring = [](std::uint32_t pixel) {
        return channel(pixel, 16) > 160 && channel(pixel, 8) > 160 && channel(pixel, 0) < 100;
    };
    const RECT memo7 = run.clockBox();
    const bool started = waitFor([&] { return boundsOf(capture(run.window), measuring, memo7).has_value(); });
    const bool remeasured =
        started && waitFor([&] { return boundsOf(capture(run.window), figureColour, memo7).has_value(); });
    check(remeasured, "Space on \"クロック 計測\" measures the clock again and gives a figure");
}

void checkClose(Run& run) {
    PostMessageW(run.window, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(run.process.hProcess, 10000) == WAIT_OBJECT_0;
    DWORD code = 1;
    GetExitCodeProcess(run.process.hProcess, &code);
    check(ended && code == 0,
          "the program ends cleanly when its window is closed (status " + std::to_string(code) + ")");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: zelvo_window_check ZELVO_EXE OUT_DIR [--start-only]\n");
        return 2;
    }
    const char* family = std::getenv("ZELVO_WINE_FAMILY");
    if (!family) {
        std::printf("skipped: needs the throwaway Wine prefix of scripts/test-wine.sh\n");
        return 0;
    }
    const bool startOnly = argc > 3 && std::string(argv[3]) == "--start-only";
    Run run;
    run.nineX = std::string(family) == "9x";
    run.outDir = windowsPath(argv[2]);
    CreateDirectoryW(run.outDir.c_str(), nullptr);
    run.outDir += L"\\" + widen(family);
    CreateDirectoryW(run.outDir.c_str(), nullptr);
    if (startProgram(run, windowsPath(argv[1])) && !startOnly) {
        checkCpuPage(run);
        checkPages(run);
        checkClockByKeyboard(run);
    }
    if (run.window)
        checkClose(run);
    else if (run.process.hProcess)
        TerminateProcess(run.process.hProcess, 1);
    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}
