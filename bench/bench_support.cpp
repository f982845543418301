// What the benchmark's rows share.
#include "bench_support.h"

#include <windows.h>

#include <algorithm>

#include "support/test_files.h"

double Now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

const std::string& BenchFolder() {
    static const std::string folder = [] {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        return MakeFolder(std::string(temp) + "brisolt_bench_" + std::to_string(GetCurrentProcessId())) + "\\";
    }();
    return folder;
}

std::string BenchMainFile() {
    const std::string path = BenchFolder() + "paper4.tex";
    if (!Exists(path)) WriteWhole(path, "\\relax\n");
    return path;
}

std::string FullSettings() {
    std::string text = "[Options]\r\nRows=5\r\nCols=10\r\nSpace=2\r\nX=40\r\nY=40\r\nWidth=600\r\nHeight=90\r\n"
                       "[Buttons]\r\n";
    for (int i = 1; i <= 50; ++i) {
        const std::string n = std::to_string(i);
        text += "Type" + n + "=0\r\nShow" + n + "=0\r\nLog" + n + "=2\r\nDebug" + n + "=0\r\nWait" + n + "=0\r\n";
        text += "Use long names" + n + "=0\r\nUse icon" + n + "=0\r\nIcon number" + n + "=-1\r\n";
        text += "Title" + n + "=Button " + n + "\r\nCommand" + n + "=cmd\r\nOptions" + n + "=/c echo %@n%\r\n";
        text += "Tip" + n + "=Runs button " + n + " on the main file\r\n";
    }
    text += "[Files]\r\n";
    for (int k = 0; k < 10; ++k) {
        text += "File" + std::to_string(k) + "=" + BenchFolder() + "paper" + std::to_string(k) + ".tex\r\n";
    }
    text += "[Positions]\r\n";
    for (int k = 0; k < 10; ++k) text += "Pos" + std::to_string(k) + "=40,40,600,90\r\n";
    text += "[Directories]\r\n";
    for (int k = 0; k < 10; ++k) text += "Directory" + std::to_string(k) + "=C:\\papers\\" + std::to_string(k) + "\r\n";
    return text;
}
