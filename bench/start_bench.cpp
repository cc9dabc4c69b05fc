// Start to a painted window, for the program against another: each command line started in
// turn, from CreateProcess until a visible top-level window of the class named, owned by
// that process, has no part left to paint. Prints each run and the medians and the median
// of the ratios pair by pair.
//
//   start_bench RUNS CLASS_A "COMMAND A" CLASS_B "COMMAND B"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Found {
    DWORD process;
    const char* className;
    HWND window;
};

BOOL CALLBACK Look(HWND window, LPARAM data) {
    auto& found = *reinterpret_cast<Found*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (process == found.process && IsWindowVisible(window) && std::string(name) == found.className) {
        found.window = window;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds to the first paint, or -1 when none came within 30 s.
double TimeToPaint(const char* className, std::string command) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const auto start = std::chrono::steady_clock::now();
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    double ms = -1;
    for (;;) {
        const double now = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (now > 30000) break;
        Found found{info.dwProcessId, className, nullptr};
        EnumWindows(Look, reinterpret_cast<LPARAM>(&found));
        if (found.window && !GetUpdateRect(found.window, nullptr, FALSE)) {
            ms = now;
            PostMessageA(found.window, WM_CLOSE, 0, 0);
            break;
        }
        Sleep(0);
    }
    if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return ms;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: start_bench RUNS CLASS_A \"COMMAND A\" CLASS_B \"COMMAND B\"\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    std::vector<double> a, b, ratios;
    TimeToPaint(argv[2], argv[3]);  // the first start of each warms the caches
    TimeToPaint(argv[4], argv[5]);
    for (int i = 0; i < runs; ++i) {
        const double x = TimeToPaint(argv[2], argv[3]), y = TimeToPaint(argv[4], argv[5]);
        if (x < 0 || y < 0) {
            std::fprintf(stderr, "start_bench: no painted window in run %d\n", i + 1);
            return 1;
        }
        std::printf("run %d: %.0f ms against %.0f ms\n", i + 1, x, y);
        a.push_back(x);
        b.push_back(y);
        ratios.push_back(x / y);
    }
    std::printf("start to painted window: median %.0f ms against %.0f ms; median ratio %.2f over %d pairs\n", Median(a),
                Median(b), Median(ratios), runs);
    return 0;
}
