// The list file reader under Wine, against a plain binary read of the same file: time and peak
// memory, each mode in its own process so that the peaks do not mix.
//
//   listfile.exe RESULT-FILE reader|binary|copy LIST-FILE [/u] [RUNS]
//
// "copy" times a copy of the list the reader made: the floor that allocating a million strings
// sets under Wine's heap, whatever reads the file. Writes one line to RESULT-FILE: mode, fastest
// and median time in milliseconds, items, UTF-16 units of all items (bytes for "binary"), bytes
// the item list holds (slots and strings), peak working set and peak private bytes.

#include "platform/handles_win.h"
#include "platform/wide_win.h"
#include "text/list_file_win.h"

#include "unique_file.h"

#include <windows.h>

#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace {

using namespace sevrane;
using sevrane::test::UniqueFile;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

// Reads the whole file in the reader's buffer size and does nothing with it.
bool ReadBinary(const std::u16string& path, unsigned long long& total) {
    const UniqueFileHandle file(::CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        return false;
    }
    constexpr DWORD kSize = 64 * 1024;
    const auto buffer = std::make_unique<char[]>(kSize);
    total = 0;
    DWORD got = 0;
    while (::ReadFile(file.get(), buffer.get(), kSize, &got, nullptr) && got != 0) {
        total += got;
    }
    return true;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    const UniqueArgv argv(::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!argv || count < 4) {
        return 2;
    }
    const std::u16string resultPath = FromWide(argv.get()[1]);
    const std::wstring mode = argv.get()[2];
    const bool reader = mode == L"reader" || mode == L"copy";
    const std::u16string listPath = FromWide(argv.get()[3]);
    bool unicode = false;
    int runs = 5;
    for (int i = 4; i < count; ++i) {
        if (std::wstring(argv.get()[i]) == L"/u") {
            unicode = true;
        } else {
            runs = std::max(1, _wtoi(argv.get()[i]));
        }
    }

    std::vector<double> times;
    unsigned long long items = 0;
    unsigned long long units = 0;
    unsigned long long held = 0;
    for (int run = 0; run < runs; ++run) {
        LARGE_INTEGER start{};
        LARGE_INTEGER end{};
        if (reader) {
            ::QueryPerformanceCounter(&start);
            auto read = ReadList(listPath, unicode);
            ::QueryPerformanceCounter(&end);
            if (!std::holds_alternative<ListRead>(read)) {
                return 3;
            }
            const ItemList list = std::move(std::get<ListRead>(read).items);
            if (mode == L"copy") {
                ::QueryPerformanceCounter(&start);
                const ItemList copy(list);
                ::QueryPerformanceCounter(&end);
                if (copy.size() != list.size()) {
                    return 3;
                }
            }
            items = list.size();
            // One buffer of text with a NUL behind each item, and one start offset per item.
            units = list.Units() - items;
            held = list.Units() * sizeof(char16_t) + list.capacity() * sizeof(std::size_t);
        } else {
            ::QueryPerformanceCounter(&start);
            if (!ReadBinary(listPath, units)) {
                return 3;
            }
            ::QueryPerformanceCounter(&end);
        }
        times.push_back(Milliseconds(start, end));
    }
    std::sort(times.begin(), times.end());

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof(memory))) {
        return 4;
    }
    std::FILE* opened = nullptr;
    if (::_wfopen_s(&opened, Wide(resultPath), L"a") != 0) {
        return 5;
    }
    const UniqueFile out(opened);
    std::fprintf(out.get(), "%ls %.2f %.2f %llu %llu %llu %llu %llu\n", mode.c_str(), times.front(),
                 times[times.size() / 2], items, units, held,
                 static_cast<unsigned long long>(memory.PeakWorkingSetSize),
                 static_cast<unsigned long long>(memory.PeakPagefileUsage));
    return 0;
}
