// The cost of measuring list items, per item: DrawTextExW for every item (the platform's measure)
// against the item measure with its advance table, in the default font of a window's device
// context, over the items of a list file. Prints one line per way: total and per-item time, the
// widest item, and how many items the item measure left to the platform.
//
//   item_width.exe LIST-FILE [RUNS]

#include "platform/handles_win.h"
#include "platform/wide_win.h"
#include "text/list_file_win.h"
#include "window/item_width_win.h"
#include "window/measure_win.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>
#include <variant>

namespace {

double Now() {
    LARGE_INTEGER counter{};
    LARGE_INTEGER frequency{};
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// How items were measured before the item measure: DrawTextExW, one call per item.
constexpr UINT kItemFormat = DT_EXPANDTABS | DT_TABSTOP | DT_CALCRECT | DT_NOPREFIX;

void Report(const char* way, double seconds, std::size_t items, std::int32_t widest,
            std::size_t platform) {
    std::printf("%-22s %8.1f ms %8.3f us/item  widest %d  by the platform %zu\n", way,
                seconds * 1e3, items > 0 ? seconds * 1e6 / static_cast<double>(items) : 0.0, widest,
                platform);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    sevrane::UniqueArgv argv(::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!argv || count < 2) {
        return 2;
    }
    const std::u16string path = sevrane::FromWide(argv.get()[1]);
    const int runs =
        count > 2 ? std::max(1, static_cast<int>(std::wcstol(argv.get()[2], nullptr, 10))) : 3;
    argv.reset();

    auto read = sevrane::ReadList(path, false);
    if (!std::holds_alternative<sevrane::ListRead>(read)) {
        return 3;
    }
    const sevrane::ItemList items = std::move(std::get<sevrane::ListRead>(read).items);
    const sevrane::UniqueWindow window(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10,
                                                         nullptr, nullptr, nullptr, nullptr));
    const sevrane::WindowDc dc(window.get());
    if (!dc) {
        return 4;
    }
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.get(), &metrics);
    DRAWTEXTPARAMS params = sevrane::DrawParameters(8);

    // The fastest of RUNS passes each; every pass of the item measure starts with an empty table.
    double platformBest = 1e9;
    double tableBest = 1e9;
    std::int32_t platformWidest = 0;
    std::int32_t tableWidest = 0;
    std::size_t leftToPlatform = 0;
    for (int run = 0; run < runs; ++run) {
        double start = Now();
        std::int32_t widest = 0;
        for (std::size_t i = 0; i < items.size(); ++i) {
            RECT bounds{0, 0, 1, 1};
            ::DrawTextExW(dc.get(), const_cast<wchar_t*>(sevrane::Wide(items.c_str(i))), -1,
                          &bounds, kItemFormat, &params);
            widest = std::max(widest, static_cast<std::int32_t>(bounds.right - bounds.left));
        }
        platformBest = std::min(platformBest, Now() - start);
        platformWidest = widest;

        start = Now();
        sevrane::ItemMeasure measure(
            dc.get(), sevrane::ListTabDistances(dc.get(), std::nullopt, metrics.tmAveCharWidth));
        widest = 0;
        for (std::size_t i = 0; i < items.size(); ++i) {
            widest = std::max(widest, measure.Width(items.c_str(i)));
        }
        tableBest = std::min(tableBest, Now() - start);
        tableWidest = widest;
    }
    // The items the advance table cannot answer are the ones the measure leaves to the platform.
    sevrane::AdvanceTable table(sevrane::ItemAdvances(dc.get()));
    const sevrane::TabDistances tabs =
        sevrane::ListTabDistances(dc.get(), std::nullopt, metrics.tmAveCharWidth);
    for (std::size_t i = 0; i < items.size(); ++i) {
        leftToPlatform += table.Measure(items.c_str(i), tabs) ? 0 : 1;
    }
    std::printf("%zu items, fastest of %d passes\n", items.size(), runs);
    Report("DrawTextExW per item", platformBest, items.size(), platformWidest, items.size());
    Report("advance table", tableBest, items.size(), tableWidest, leftToPlatform);
    return platformWidest == tableWidest ? 0 : 1;
}
