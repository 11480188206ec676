// A hook DLL that the driver installs on sevrane.exe's UI thread. On the registered probe
// message it reads, inside the program's own process, what Wine will not tell another process:
// the fonts of the main window and its controls, the window's icons, and the icon of a message
// box. The answer goes into a named file mapping that the driver created for this process.
#include "app/options.h"
#include "app/run_inputs_win.h"
#include "driver/probe_report.h"
#include "test_handles_win.h"
#include "text/escapes.h"
#include "window/measure_win.h"
#include "window/window_styles_win.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace {

using sevrane::e2e::BoxIconKind;
using sevrane::e2e::ProbeFont;
using sevrane::e2e::ProbeIcon;
using sevrane::e2e::ProbeReport;

void DescribeFont(HFONT font, ProbeFont& out) {
    out = ProbeFont{};
    if (font == nullptr) {
        return;
    }
    LOGFONTW logFont{};
    if (::GetObjectW(font, sizeof(logFont), &logFont) != sizeof(logFont)) {
        return;
    }
    out.present = 1;
    out.height = logFont.lfHeight;
    out.weight = logFont.lfWeight;
    out.handle = reinterpret_cast<std::uintptr_t>(font);
    static_assert(sizeof(out.face) == sizeof(logFont.lfFaceName));
    std::memcpy(out.face, logFont.lfFaceName, sizeof(out.face));
}

void DescribeWindowFont(HWND window, ProbeFont& out) {
    DescribeFont(
        window ? reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)) : nullptr, out);
}

void DescribeIcon(HICON icon, ProbeIcon& out) {
    out = ProbeIcon{};
    if (icon == nullptr) {
        return;
    }
    out.handle = reinterpret_cast<std::uintptr_t>(icon);
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) {
        return;
    }
    BITMAP bitmap{};
    HBITMAP shape = info.hbmColor ? info.hbmColor : info.hbmMask;
    if (shape && ::GetObjectW(shape, sizeof(bitmap), &bitmap) == sizeof(bitmap)) {
        out.width = bitmap.bmWidth;
        // A monochrome icon stacks its AND and XOR masks in one bitmap of double height.
        out.height = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
    }
    if (info.hbmColor) {
        ::DeleteObject(info.hbmColor);
    }
    if (info.hbmMask) {
        ::DeleteObject(info.hbmMask);
    }
}

BOOL CALLBACK FindIconStatic(HWND child, LPARAM found) {
    wchar_t className[16]{};
    ::GetClassNameW(child, className, 16);
    const LONG style = ::GetWindowLongW(child, GWL_STYLE);
    if (::lstrcmpiW(className, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }
    return TRUE;
}

BoxIconKind DescribeBoxIcon(HWND box) {
    HWND iconStatic = nullptr;
    ::EnumChildWindows(box, FindIconStatic, reinterpret_cast<LPARAM>(&iconStatic));
    if (iconStatic == nullptr || !::IsWindowVisible(iconStatic)) {
        return BoxIconKind::None;
    }
    const auto shown = reinterpret_cast<HICON>(::SendMessageW(iconStatic, STM_GETICON, 0, 0));
    if (shown == nullptr) {
        return BoxIconKind::None;
    }
    // The standard icons are shared: within one process LoadIcon gives back the very handle
    // that the message box put into its static.
    struct Known {
        LPCWSTR id;
        BoxIconKind kind;
    };
    const Known known[] = {
        {IDI_WARNING, BoxIconKind::Warning},
        {IDI_INFORMATION, BoxIconKind::Information},
        {IDI_ERROR, BoxIconKind::Error},
        {IDI_QUESTION, BoxIconKind::Question},
    };
    for (const Known& candidate : known) {
        if (::LoadIconW(nullptr, candidate.id) == shown) {
            return candidate.kind;
        }
    }
    return BoxIconKind::Other;
}

// The layout input as the run measured it: its command line parsed again, its own measuring
// called on its window with the run's font, which the buttons hold.
bool MeasureInput(HWND window, sevrane::LayoutInput& input) {
    const auto arguments = sevrane::SplitCommandLine();
    const RECT workArea = sevrane::ReadWorkArea();
    if (!arguments) {
        return false;
    }
    sevrane::ParseResult parsed =
        sevrane::ParseArguments(*arguments, workArea.right - workArea.left);
    if (parsed.error || parsed.settings.listFile) {
        return false;
    }
    if (parsed.settings.escapes) {
        sevrane::ProcessMessageEscapes(parsed.settings.message);
    }
    const auto font = reinterpret_cast<HFONT>(
        ::SendDlgItemMessageW(window, sevrane::kOkButtonId, WM_GETFONT, 0, 0));
    const sevrane::Measurement measured =
        sevrane::MeasureLayout(window, font, parsed.settings, workArea);
    input = measured.input;
    return !measured.failure;
}

void Probe(HWND window, std::uint32_t sequence) {
    const std::wstring name =
        std::wstring(sevrane::e2e::kProbeMappingPrefix) + std::to_wstring(::GetCurrentProcessId());
    const sevrane::UniqueKernelHandle mapping(
        ::OpenFileMappingW(FILE_MAP_WRITE, FALSE, name.c_str()));
    if (!mapping) {
        return;
    }
    const sevrane::UniqueView view(
        ::MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, sizeof(ProbeReport)));
    if (auto* report = static_cast<ProbeReport*>(view.get())) {
        ProbeReport local{};
        wchar_t className[16]{};
        ::GetClassNameW(window, className, 16);
        local.isBox = ::lstrcmpW(className, L"#32770") == 0;
        if (local.isBox) {
            local.boxIcon = DescribeBoxIcon(window);
        } else {
            local.arrowCursor =
                reinterpret_cast<HCURSOR>(::GetClassLongPtrW(window, GCLP_HCURSOR)) ==
                ::LoadCursorW(nullptr, IDC_ARROW);
            DescribeWindowFont(window, local.windowFont);
            DescribeWindowFont(::GetDlgItem(window, 101), local.listFont);
            DescribeWindowFont(::GetDlgItem(window, 102), local.okFont);
            DescribeWindowFont(::GetDlgItem(window, 103), local.cancelFont);
            DescribeIcon(reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_BIG, 0)),
                         local.bigIcon);
            DescribeIcon(reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_SMALL, 0)),
                         local.smallIcon);
            local.layoutMeasured = MeasureInput(window, local.layoutInput);
        }
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
            ProbeFont& font = local.messageFont;
            font.present = 1;
            font.height = metrics.lfMessageFont.lfHeight;
            font.weight = metrics.lfMessageFont.lfWeight;
            std::memcpy(font.face, metrics.lfMessageFont.lfFaceName, sizeof(font.face));
        }
        local.sequence = 0;
        std::memcpy(report, &local, sizeof(local));
        // The sequence number goes last: the driver reads it to know the report is complete.
        ::InterlockedExchange(reinterpret_cast<volatile LONG*>(&report->sequence),
                              static_cast<LONG>(sequence));
    }
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    SevraneProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        static const UINT probeMessage = ::RegisterWindowMessageW(sevrane::e2e::kProbeMessageName);
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (message->message == probeMessage) {
            Probe(message->hwnd, static_cast<std::uint32_t>(message->wParam));
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
