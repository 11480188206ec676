// The list window of the real program: its class, styles, geometry, controls, fonts, focus,
// the user's ways out and the two layout refusals.
#include "driver/files_win.h"
#include "e2e_support.h"
#include "platform/handles_win.h"
#include "window/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

namespace sevrane {
void PrintTo(const LayoutRect& r, std::ostream* out) {
    *out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}
} // namespace sevrane

namespace sevrane::e2e {
namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// Text metrics and measurements as the program makes them: in a device context's default
// font, or in the message font for "/m".
class Measure {
public:
    explicit Measure(bool messageFont)
        : dc_(nullptr), font_(messageFont ? CreateMessageFont() : nullptr),
          selection_(dc_.get(), font_.get()) {}

    int RowHeight() const {
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc_.get(), &metrics);
        return metrics.tmHeight;
    }

    // The average width of A-Z a-z, rounded: what the list box converts its tab stops with.
    int ListAverageWidth() const {
        const std::wstring letters = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        SIZE size{};
        ::GetTextExtentPoint32W(dc_.get(), letters.c_str(), static_cast<int>(letters.size()),
                                &size);
        return (size.cx / 26 + 1) / 2;
    }

    // The right edge of an item as the list box draws it: from x = 1, TABs at its stop in
    // dialog units, or at Wine's own default stops without one.
    int DrawnRight(const std::wstring& item, std::optional<int> stop) const {
        const int pixels = stop ? ::MulDiv(*stop, ListAverageWidth(), 4) : 0;
        const DWORD extent =
            ::GetTabbedTextExtentW(dc_.get(), item.c_str(), static_cast<int>(item.size()),
                                   stop ? 1 : 0, stop ? &pixels : nullptr);
        return 1 + LOWORD(extent);
    }

    // As many spaces as reach past a TAB's stop from the start of a line.
    int SpacesPastATab() const {
        TEXTMETRICW metrics{};
        SIZE space{};
        ::GetTextMetricsW(dc_.get(), &metrics);
        ::GetTextExtentPoint32W(dc_.get(), L" ", 1, &space);
        return (8 * metrics.tmAveCharWidth + space.cx - 1) / space.cx;
    }

    // The measured size of the message within a maximum width.
    SIZE MessageSize(const std::wstring& message, int maxWidth, int maxHeight,
                     int tabLength = 8) const {
        RECT rect{0, 0, maxWidth, maxHeight};
        DRAWTEXTPARAMS params{sizeof(DRAWTEXTPARAMS), tabLength, 0, 0, 0};
        std::wstring copy = message;
        ::DrawTextExW(dc_.get(), copy.data(), -1, &rect,
                      DT_WORDBREAK | DT_EXPANDTABS | DT_TABSTOP | DT_CALCRECT | DT_NOPREFIX |
                          DT_PATH_ELLIPSIS | DT_END_ELLIPSIS | DT_WORD_ELLIPSIS,
                      &params);
        return SIZE{Width(rect), Height(rect)};
    }

private:
    static HFONT CreateMessageFont() {
        const LOGFONTW logFont = MessageFont();
        return ::CreateFontIndirectW(&logFont);
    }

    // Released in reverse: the previous font goes back before the font and the DC go.
    WindowDc dc_;
    UniqueFont font_;
    SelectionScope selection_;
};

// The window and its controls as read from outside, with the frame overhead.
struct Geometry {
    WindowInfo window, list, ok, cancel;
    int fy = 0;
    int clientWidth = 0, clientHeight = 0;
};

Geometry ReadGeometry(const WindowSession& session) {
    Geometry g;
    g.window = ReadWindow(session.main);
    g.list = ReadWindow(session.list);
    g.ok = ReadWindow(session.ok);
    g.cancel = ReadWindow(session.cancel);
    g.clientWidth = g.window.clientRect.right;
    g.clientHeight = g.window.clientRect.bottom;
    g.fy = Height(g.window.windowRect) - g.clientHeight;
    return g;
}

LayoutRect AsLayout(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

struct LaidOut {
    LayoutInput input;
    WindowLayout layout;
};

// The window and its controls where the layout of what the program measured puts them (read
// back through the probe, measured in its process by its own code); the layout's arithmetic is
// the unit tests'. The measuring font must be the one the test expects.
LaidOut ExpectLaidOut(const WindowSession& session, bool messageFont = false) {
    const auto report = Probe(session.process.ThreadId(), session.main);
    if (!report || !report->layoutMeasured) {
        ADD_FAILURE() << "the probe measured nothing";
        return {};
    }
    const LayoutResult computed = ComputeLayout(report->layoutInput);
    const auto* layout = std::get_if<WindowLayout>(&computed);
    if (layout == nullptr) {
        ADD_FAILURE() << "the measured input is refused";
        return {};
    }
    EXPECT_EQ(report->layoutInput.rowHeight, Measure(messageFont).RowHeight());
    const Geometry g = ReadGeometry(session);
    EXPECT_EQ(AsLayout(g.window.windowRect), layout->window);
    EXPECT_EQ(AsLayout(g.list.rectInParent), layout->listBox);
    EXPECT_EQ(AsLayout(g.ok.rectInParent), layout->OkButton(g.clientWidth));
    EXPECT_EQ(AsLayout(g.cancel.rectInParent), layout->CancelButton(g.clientWidth));
    const RECT label = ReadWindow(::GetWindow(session.list, GW_HWNDPREV)).rectInParent;
    EXPECT_EQ(AsLayout(label), MessageRectIn(AsLayout(g.window.clientRect), layout->messageHeight));
    EXPECT_EQ((g.list.style & WS_HSCROLL) != 0, layout->horizontalScroll)
        << std::hex << g.list.style;
    EXPECT_EQ(ListHorizontalExtent(session.list),
              layout->horizontalScroll ? layout->horizontalExtent : 0);
    return {report->layoutInput, *layout};
}

// The message in a hidden Static just before the list box: what screen readers name the list
// by. Not in the tab order, never a prefix; its first "&" doubled, for they drop that one.
void ExpectListLabel(const WindowSession& session, const std::wstring& message) {
    const WindowInfo label = ReadWindow(::GetWindow(session.list, GW_HWNDPREV));
    EXPECT_EQ(label.className + L"|" + label.text, L"Static|" + message);
    EXPECT_EQ(label.style & (WS_VISIBLE | WS_TABSTOP | SS_NOPREFIX), SS_NOPREFIX) << label.style;
}

// With the focus on the list, no button may look as if Enter would press it.
void ExpectNeitherButtonFramed(const WindowSession& session) {
    EXPECT_TRUE(WaitUntil([&] {
        return (ReadWindow(session.ok).style & BS_TYPEMASK) == BS_PUSHBUTTON &&
               (ReadWindow(session.cancel).style & BS_TYPEMASK) == BS_PUSHBUTTON;
    }));
}

const Arguments kFiveItems = {L"Pick a host", L"Choose", L"alpha",  L"beta",
                              L"gamma",       L"delta",  L"epsilon"};

TEST(Window, WindowAndControlsHaveTheirClassesStylesLabelsAndTabOrder) {
    WindowSession session;
    ASSERT_TRUE(session.Open(kFiveItems));
    const WindowInfo w = ReadWindow(session.main);
    EXPECT_EQ(w.className, L"sevrane");
    EXPECT_EQ(w.text, L"Pick a host");
    EXPECT_TRUE(w.visible);
    const DWORD style = static_cast<DWORD>(w.style);
    for (const DWORD present :
         {DWORD(WS_CAPTION), DWORD(WS_SYSMENU), DWORD(WS_MINIMIZEBOX), DWORD(WS_VISIBLE)}) {
        EXPECT_EQ(style & present, present) << std::hex << style;
    }
    for (const DWORD absent :
         {DWORD(WS_THICKFRAME), DWORD(WS_MAXIMIZEBOX), DWORD(WS_MAXIMIZE), DWORD(WS_MINIMIZE),
          DWORD(WS_CHILD), DWORD(WS_POPUP), DWORD(WS_DISABLED)}) {
        EXPECT_EQ(style & absent, 0u) << std::hex << style;
    }
    EXPECT_EQ(w.exStyle & WS_EX_CONTROLPARENT, WS_EX_CONTROLPARENT) << std::hex << w.exStyle;
    EXPECT_EQ(::GetParent(session.main), nullptr);
    const auto report = Probe(session.process.ThreadId(), session.main);
    ASSERT_TRUE(report.has_value());
    EXPECT_TRUE(report->arrowCursor);

    // Its controls: classes, ids, styles, labels and tab order.
    ASSERT_NE(session.list, nullptr);
    ASSERT_NE(session.ok, nullptr);
    ASSERT_NE(session.cancel, nullptr);

    const WindowInfo list = ReadWindow(session.list);
    EXPECT_EQ(::CompareStringOrdinal(list.className.c_str(), -1, L"LISTBOX", -1, TRUE), CSTR_EQUAL)
        << testing::PrintToString(list.className);
    // Child, visible, border, tab stop, no integral height, tab stops, notify. The list box is
    // created with both scroll bar styles too (0x50B10181), but shows a bar, and keeps its
    // style bit, only while it is needed; the layout tests look at them.
    const LONG listStyle = 0x50810181;
    EXPECT_EQ(list.style & listStyle, listStyle) << std::hex << list.style;
    EXPECT_EQ(list.style & (WS_VSCROLL | WS_HSCROLL), 0) << std::hex << list.style;
    for (const LONG absent :
         {LBS_SORT, LBS_MULTIPLESEL, LBS_EXTENDEDSEL, LBS_OWNERDRAWFIXED, LBS_OWNERDRAWVARIABLE}) {
        EXPECT_EQ(list.style & absent, 0) << std::hex << list.style;
    }
    EXPECT_EQ(list.exStyle & WS_EX_CLIENTEDGE, 0) << "a thin border, not a sunken edge";

    const struct {
        HWND handle;
        const wchar_t* label;
    } buttons[] = {{session.ok, L"OK"}, {session.cancel, L"Cancel"}};
    for (const auto& b : buttons) {
        const WindowInfo button = ReadWindow(b.handle);
        EXPECT_EQ(::CompareStringOrdinal(button.className.c_str(), -1, L"BUTTON", -1, TRUE),
                  CSTR_EQUAL);
        EXPECT_EQ(button.text, b.label);
        EXPECT_EQ(button.style & 0x50010000, 0x50010000) << std::hex << button.style;
        // A plain push button: Enter is the window's OK through the dialog keys, not a default
        // button's.
        EXPECT_EQ(button.style & BS_TYPEMASK, BS_PUSHBUTTON) << std::hex << button.style;
    }

    ExpectListLabel(session, L"Choose");
    const std::vector<HWND> order = ChildrenInOrder(session.main);
    EXPECT_EQ(order, (std::vector<HWND>{::GetWindow(session.list, GW_HWNDPREV), session.list,
                                        session.ok, session.cancel}));
    // The focus starts on the list, and Tab moves it in creation order.
    ASSERT_TRUE(WaitUntil([&] { return session.Focus() == session.list; }));
    for (HWND next : {session.ok, session.cancel, session.list}) {
        session.Press(VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return session.Focus() == next; }))
            << "focus is on id " << ::GetDlgCtrlID(session.Focus());
    }
}

TEST(Window, ShortTextsGiveTheSmallestWindowCentredInTheWorkArea) {
    WindowSession session;
    ASSERT_TRUE(session.Open(kFiveItems));
    const LaidOut laid = ExpectLaidOut(session);
    EXPECT_EQ(laid.layout.window.Width(), 200);
    // Every item is a row of the list's height.
    for (int i = 0; i < 5; ++i) {
        const RECT item = ListItemRect(session.list, i);
        EXPECT_EQ(item.top, i * laid.input.rowHeight);
        EXPECT_EQ(Height(item), laid.input.rowHeight);
    }

    // A work area in physical pixels of a 200 % screen is kept within the screen.
    LaunchOptions physical;
    physical.plan = InjectionPlan{.shims = kShimPhysicalWorkArea};
    WindowSession scaled;
    ASSERT_TRUE(scaled.Open(kFiveItems, physical));
    const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    const RECT placed = ReadWindow(scaled.main).windowRect;
    RECT within{};
    ::IntersectRect(&within, &screen, &placed);
    EXPECT_TRUE(EqualRect(&within, &placed));
}

// Each case's window is the layout of what the program measured; its check says the case takes
// the path it is there for.
TEST(Window, WindowIsTheLayoutOfWhatTheProgramMeasured) {
    Arguments many = {L"Many", L"Choose"};
    for (int i = 1; i <= 300; ++i) {
        many.push_back(L"item " + std::to_wstring(i));
    }
    Arguments rows = kFiveItems;
    rows.insert(rows.begin(), {L"/r", L"3"});
    const auto bars = [](const WindowSession& s) {
        return ReadWindow(s.list).style & (WS_VSCROLL | WS_HSCROLL);
    };
    const auto oneLine = [](const LaidOut& l, const WindowSession&) {
        return l.layout.messageHeight == l.input.rowHeight;
    };
    struct Case {
        std::string name;
        Arguments arguments;
        std::function<bool(const LaidOut&, const WindowSession&)> why;
    };
    std::vector<Case> cases = {
        {"a wide message sets the width of the list",
         {L"Hosts", L"Choose the host that the deployment of tonight should go to, then press OK",
          L"alpha", L"beta"},
         [](const LaidOut& l, const WindowSession&) { return l.input.messageWidth > 160; }},
        {"many items fill the work area with a vertical bar", many,
         [&](const LaidOut& l, const WindowSession& s) {
             return bars(s) == WS_VSCROLL && l.layout.window.bottom <= WorkArea().bottom;
         }},
        {"the rows option limits the visible rows", rows,
         [&](const LaidOut&, const WindowSession& s) { return bars(s) == WS_VSCROLL; }},
        {"items wider than the list scroll horizontally",
         {L"/w", L"300", L"Wide", L"Choose", L"short", std::wstring(120, L'M')},
         [&](const LaidOut& l, const WindowSession& s) {
             return bars(s) == WS_HSCROLL && l.layout.window.Width() == 300;
         }},
        {"escaped line breaks make the message taller",
         {L"/e", L"T", L"one &\\ntwo &\\nthree", L"a"},
         [](const LaidOut& l, const WindowSession& s) {
             ExpectListLabel(s, L"one &&\ntwo &\nthree");
             return l.layout.messageHeight == 3 * l.input.rowHeight;
         }},
        // Without "/e" backslashes are plain characters; a doubled one is one backslash.
        {"no escapes", {L"T", L"one\\ntwo\\nthree", L"a"}, oneLine},
        {"a doubled backslash", {L"/e", L"T", L"one\\\\ntwo", L"a"}, oneLine},
        {"items keep their order and duplicates, none selected",
         {L"T", L"M", L"pear", L"apple", L"pear", L"Zed", L"a\\nb", L"-x"},
         [](const LaidOut&, const WindowSession& s) {
             return ListItems(s.list) == std::vector<std::wstring>{L"pear", L"apple", L"pear",
                                                                   L"Zed",  L"a\\nb", L"-x"} &&
                    ListSelection(s.list) == LB_ERR;
         }},
    };
    // Escaped TABs in the message become real ones; the items carry real TABs, kept as they are.
    for (const int tabLength : {1, 8, 16}) {
        cases.push_back({"tab length " + std::to_string(tabLength),
                         {L"/e", L"/t", std::to_wstring(tabLength), L"T", L"a\\t\\t\\t\\t\\tb",
                          L"x\ty", L"x\t\t\t\t\t\ty"},
                         [tabLength](const LaidOut& l, const WindowSession& s) {
                             return l.layout.tabStop == 4 * tabLength &&
                                    ListItems(s.list) ==
                                        std::vector<std::wstring>{L"x\ty", L"x\t\t\t\t\t\ty"};
                         }});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowSession session;
        ASSERT_TRUE(session.Open(c.arguments));
        EXPECT_TRUE(c.why(ExpectLaidOut(session), session));
    }
}

// Items are measured as the list box draws them, one line at its stops, so every item can be
// read in full: within the list's client area, or within the extent it scrolls to.
void ExpectItemsFitTheListAsItDrawsThem() {
    const std::wstring words = L"one\ttwo\tthree\tfour\tfive\tsix\tseven\teight";
    const std::wstring end = L"a\tb\tc\tEND";
    // Past Wine's default stop but not Windows' wider one; a line break the list box does not
    // break at; lines longer than DrawTextExW's 1,024-unit pieces.
    const std::wstring head = L"abcdefgh\tXXXXXXXXXXXX";
    const std::wstring lines = std::wstring(60, L'a') + L"\n" + std::wstring(60, L'b');
    const std::wstring as(3000, L'a');
    const std::wstring ws(1500, L'W');
    const struct {
        Arguments options;
        bool messageFont;
        Arguments items;
    } cases[] = {
        {{L"/t", L"8"}, false, {end, L"short"}},
        {{L"/t", L"16"}, false, {words, L"short"}},
        {{}, false, {end, L"short"}}, // the list box keeps its default stops
        {{L"/m", L"/t", L"5"}, true, {L"\tX\tX\tX\tX\tX\tX\tX\tX\tX\tX", L"short"}},
        {{L"/m"}, true, {words, end}},
        {{}, false, {head, L"short"}},
        {{L"/m"}, true, {head, L"short"}},
        {{}, false, {L"short", lines}},
        {{L"/m"}, true, {L"short", lines}},
        {{}, false, {as}},
        {{L"/m"}, true, {ws}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.options));
        const Measure measure(c.messageFont);
        Arguments arguments = c.options;
        arguments.push_back(L"Tabs");
        arguments.push_back(L"Msg");
        arguments.insert(arguments.end(), c.items.begin(), c.items.end());
        WindowSession session;
        ASSERT_TRUE(session.Open(arguments));
        // The list box's stop in dialog units, as the program set it.
        const std::optional<int> stop = ExpectLaidOut(session, c.messageFont).layout.tabStop;
        RECT client{};
        ASSERT_TRUE(::GetClientRect(session.list, &client));
        const int reach = std::max<int>(client.right, ListHorizontalExtent(session.list));
        for (const std::wstring& item : ListItems(session.list)) {
            EXPECT_LE(measure.DrawnRight(item, stop), reach)
                << testing::PrintToString(item.substr(0, 40)) << ", " << item.size() << " units";
        }
    }
}

SEVRANE_TEST_IN_BOTH_LANGUAGES(Window, ItemsFitTheListAsItDrawsThem,
                               ExpectItemsFitTheListAsItDrawsThem())

// "/w" as wide as the work area keeps the room for the vertical bar; the message is painted
// that much narrower, and must still be drawn to its end.
TEST(Window, MessageBesideAVerticalBarIsMeasuredAtTheWidthItIsPaintedIn) {
    const RECT area = WorkArea();
    const int width = Width(area);
    RECT frame{0, 0, 0, 0};
    ASSERT_TRUE(::AdjustWindowRect(&frame, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE));
    const int measured = width - Width(frame) - 40;
    const int painted = measured - ::GetSystemMetrics(SM_CXVSCROLL) - 1;
    // 700 equal words whose lines wrap one word earlier in the painted width.
    const Measure measure(false);
    std::wstring message;
    for (int letters = 1; letters <= 40 && message.empty(); ++letters) {
        std::wstring candidate;
        for (int i = 0; i < 700; ++i) {
            candidate += std::wstring(letters, L'x') + L' ';
        }
        candidate += L"THE-END";
        if (measure.MessageSize(candidate, painted, Height(area)).cy >
            measure.MessageSize(candidate, measured, Height(area)).cy) {
            message = candidate;
        }
    }
    ASSERT_FALSE(message.empty());

    WindowSession session;
    ASSERT_TRUE(session.Open(
        {L"/w", std::to_wstring(width), L"/r", L"2", L"Long", message, L"a", L"b", L"c"}));
    const Geometry g = ReadGeometry(session);
    ASSERT_EQ(g.clientWidth - 40, painted);
    EXPECT_EQ(ExpectLaidOut(session).layout.messageHeight,
              measure.MessageSize(message, painted, Height(area) - g.fy).cy);
}

TEST(Window, SelectionOptionSelectsTheNumberedItemThatEnterOrOkReturns) {
    for (const bool click : {false, true}) {
        WindowSession session;
        ASSERT_TRUE(session.Open({L"/s", L"3", L"T", L"M", L"a", L"b", L"c", L"d"}));
        EXPECT_EQ(ListSelection(session.list), 2);
        if (click) {
            ClickButton(session.ok);
        } else {
            // An Esc still held from an earlier window comes as auto-repeat (bit 30): it cancels
            // nothing.
            ::PostMessageW(session.list, WM_KEYDOWN, VK_ESCAPE, 1 | LPARAM{1} << 30);
            session.Press(VK_RETURN);
        }
        EXPECT_EQ(session.ExitCode(), 3u);
    }
}

TEST(Window, ClickedItemThenEnterReturnsItsNumber) {
    WindowSession session;
    ASSERT_TRUE(session.Open(kFiveItems));
    // Tab, Tab gives Cancel the default frame; the click on the list takes it away.
    for (HWND next : {session.ok, session.cancel}) {
        session.Press(VK_TAB);
        ASSERT_TRUE(WaitUntil([&] { return session.Focus() == next; }));
    }
    ClickItem(session.list, 3);
    ASSERT_TRUE(WaitUntil([&] { return ListSelection(session.list) == 3; }));
    ExpectNeitherButtonFramed(session);
    session.Press(VK_RETURN);
    EXPECT_EQ(session.ExitCode(), 4u);
}

TEST(Window, KeyboardChoiceOfTheFirstItemReturnsOne) {
    // Messages with TABs too: DrawTextExW's ellipses do not support them, and Wine's assert
    // ended the run with 3 when the window painted.
    std::wstring pairs;
    std::wstring column;
    for (int i = 0; i < 537; ++i) {
        pairs += L"a\tb\t";
        column += i < 45 ? L"a\t" : L"";
    }
    const Arguments cases[] = {
        kFiveItems,
        {L"/r", L"4", L"T", L"M", L"a"},
        {L" ", pairs, L"x", L"y"},
        {L"/m", L"Title", column, L"x"},
        {L"/e", L"/w", L"215", L"Title", L"MessageXl8ZSa\\tb\\ta\\tb\\t", L"a"},
    };
    for (const Arguments& arguments : cases) {
        SCOPED_TRACE(arguments.front());
        WindowSession session;
        ASSERT_TRUE(session.Open(arguments));
        ASSERT_TRUE(WaitUntil([&] { return session.Focus() == session.list; }));
        // Below the last item a double-click points at none: nothing is chosen or cancelled.
        const RECT last =
            ListItemRect(session.list, static_cast<int>(ListItems(session.list).size()) - 1);
        ::PostMessageW(session.list, WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, last.bottom + 2));
        // With nothing selected, the first arrow key selects the item with the caret, the first.
        session.Press(VK_DOWN);
        ASSERT_TRUE(WaitUntil([&] { return ListSelection(session.list) == 0; }));
        session.Press(VK_RETURN);
        EXPECT_EQ(session.ExitCode(), 1u);
    }
}

TEST(Window, DoubleClickOnTheFifthItemReturnsFive) {
    WindowSession session;
    Arguments arguments = {L"/s", L"1", L"/r", L"10", L"T", L"M"};
    for (int i = 1; i <= 8; ++i) {
        arguments.push_back(L"item " + std::to_wstring(i));
    }
    ASSERT_TRUE(session.Open(arguments));
    // Below the last item a double-click points at none: the selected item is not chosen.
    ::PostMessageW(session.list, WM_LBUTTONDBLCLK, 0,
                   MAKELPARAM(5, ListItemRect(session.list, 7).bottom + 5));
    DoubleClickItem(session.list, 4);
    EXPECT_EQ(session.ExitCode(), 5u);
}

void ExpectNothingSelectedBox(WindowSession& session, const std::wstring& title,
                              const std::wstring& text) {
    HWND box = WaitForBox(session.process);
    ASSERT_NE(box, nullptr);
    const BoxInfo info = ReadBox(box, session.process.ThreadId());
    EXPECT_EQ(info.text, text);
    EXPECT_EQ(info.caption, title);
    EXPECT_EQ(info.owner, session.main);
    EXPECT_TRUE(info.iconShown);
    EXPECT_EQ(info.icon, BoxIconKind::Warning);
    ASSERT_TRUE(DismissBox(box));
    // The window waits again.
    EXPECT_TRUE(session.process.Running());
    EXPECT_TRUE(::IsWindowVisible(session.main));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(session.main) != FALSE; }));
    // The owner is enabled before the box is gone: keys go to the list once it has the focus.
    EXPECT_TRUE(WaitUntil([&] { return session.Focus() == session.list; }));
}

TEST(Window, ConfirmingWithoutASelectionShowsTheOwnedBoxAndWaits) {
    WindowSession session;
    ASSERT_TRUE(session.Open(kFiveItems));
    session.Press(VK_RETURN);
    ExpectNothingSelectedBox(session, L"Pick a host", Text(MessageId::MsgNothingSelected));
    ClickButton(session.ok);
    ExpectNothingSelectedBox(session, L"Pick a host", Text(MessageId::MsgNothingSelected));
    // After the box the user can still choose.
    ClickItem(session.list, 1);
    ASSERT_TRUE(WaitUntil([&] { return ListSelection(session.list) == 1; }));
    ClickButton(session.ok);
    EXPECT_EQ(session.ExitCode(), 2u);
}

TEST(Window, CancelEscapeAndClosingReturnZeroEvenAfterASelection) {
    enum class Way { Escape, Cancel, Close };
    for (const Way way : {Way::Escape, Way::Cancel, Way::Close}) {
        for (const bool select : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << "way " << static_cast<int>(way) << ", selected " << select);
            WindowSession session;
            ASSERT_TRUE(session.Open(kFiveItems));
            if (select) {
                ClickItem(session.list, 2);
                ASSERT_TRUE(WaitUntil([&] { return ListSelection(session.list) == 2; }));
            }
            switch (way) {
            case Way::Escape:
                // A held Enter (auto-repeat) chooses nothing; the fresh Esc cancels.
                ::PostMessageW(session.list, WM_KEYDOWN, VK_RETURN, 1 | LPARAM{1} << 30);
                session.Press(VK_ESCAPE);
                break;
            case Way::Cancel:
                ClickButton(session.cancel);
                break;
            case Way::Close:
                CloseFromCaption(session.main);
                break;
            }
            EXPECT_EQ(session.ExitCode(), 0u);
        }
    }
}

TEST(Window, EmptyListCanOnlyBeLeftWithZero) {
    // A list file without lines is the only way to an empty list; an empty file is enough.
    TempDir dir;
    const std::wstring path = dir.File(L"empty.txt");
    ASSERT_TRUE(WriteBytes(path, ""));
    WindowSession session;
    ASSERT_TRUE(session.Open({L"/f", L"Empty", L"M", path}));
    EXPECT_TRUE(ListItems(session.list).empty());
    EXPECT_EQ(ListSelection(session.list), LB_ERR);
    EXPECT_EQ(Height(ReadWindow(session.list).rectInParent), 2);
    // A double-click on the empty list points at no item: the window stays.
    ::PostMessageW(session.list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 1));
    session.Press(VK_RETURN);
    ExpectNothingSelectedBox(session, L"Empty", Text(MessageId::MsgNothingSelected));
    session.Press(VK_ESCAPE);
    EXPECT_EQ(session.ExitCode(), 0u);
}

TEST(Window, ShowMaximizedCommandShowsTheNormalWindow) {
    RECT normal{};
    {
        WindowSession session;
        ASSERT_TRUE(session.Open(kFiveItems));
        normal = ReadWindow(session.main).windowRect;
    }
    // A caller that hides its console passes SW_HIDE on: the window shows all the same, also
    // where Windows gives the first ShowWindow the caller's command. A minimized, active start
    // (start /min) is restored by the user before choosing.
    const struct {
        WORD command;
        std::uint32_t shims;
    } starts[] = {{SW_SHOWMAXIMIZED, 0},
                  {SW_SHOWNORMAL, 0},
                  {SW_SHOW, 0},
                  {SW_HIDE, 0},
                  {SW_HIDE, kShimFirstShow},
                  {SW_SHOWMINIMIZED, 0},
                  {SW_SHOWNORMAL, kShimForegroundElsewhere},
                  {SW_SHOWNOACTIVATE, kShimForegroundElsewhere}};
    for (const auto& start : starts) {
        SCOPED_TRACE(testing::Message() << start.command << " shims " << start.shims);
        LaunchOptions options;
        options.showCommand = start.command;
        if (start.shims != 0) {
            options.plan = InjectionPlan{.shims = start.shims};
        }
        WindowSession session;
        ASSERT_TRUE(session.Open(kFiveItems, options));
        const InjectionPlan* plan = session.process.Plan();
        if (start.command == SW_SHOWNOACTIVATE) {
            // Asked not to activate, it never asks for the foreground: the taskbar tells.
            EXPECT_NE(::GetForegroundWindow(), session.main);
            EXPECT_EQ(plan->faults.calls[std::size_t(FaultPoint::SetForegroundWindow)], 0u);
            EXPECT_EQ(plan->faults.calls[std::size_t(FaultPoint::FlashWindowEx)], 1u);
            ::PostMessageW(session.main, WM_CLOSE, 0, 0);
            EXPECT_EQ(session.ExitCode(), 0u);
            continue;
        }
        if (::IsIconic(session.main)) {
            ::PostMessageW(session.main, WM_SYSCOMMAND, SC_RESTORE, 0);
            ASSERT_TRUE(WaitUntil([&] { return !::IsIconic(session.main); }));
        }
        // A restored window may stop being iconic before it is back in its place.
        EXPECT_TRUE(WaitUntil([&] {
            const RECT now = ReadWindow(session.main).windowRect;
            return EqualRect(&now, &normal) != FALSE;
        }));
        const WindowInfo w = ReadWindow(session.main);
        EXPECT_FALSE(w.zoomed);
        EXPECT_FALSE(w.iconic);
        // And it works: the first item chosen with the keyboard once the list is drawn again (Wine
        // drops a key that reaches a restored window before it has painted).
        ASSERT_TRUE(WaitUntil([&] {
            return session.Focus() == session.list &&
                   !::GetUpdateRect(session.list, nullptr, FALSE);
        }));
        session.Press(VK_DOWN);
        ASSERT_TRUE(WaitUntil([&] { return ListSelection(session.list) == 0; }));
        session.Press(VK_RETURN);
        EXPECT_EQ(session.ExitCode(), 1u);
        // Behind another window and refused the foreground, it flashes on the taskbar.
        const std::uint32_t flashes =
            plan ? plan->faults.calls[std::size_t(FaultPoint::FlashWindowEx)] : 0;
        EXPECT_EQ(flashes, start.shims == kShimForegroundElsewhere ? 1u : 0u);
    }
}

// The buttons take the message font, one object for both; the list keeps its default unless "/m"
// gives it that font too, when the rows and the message are measured in it as well.
TEST(Window, ButtonsUseTheMessageFontAndTheListItsDefaultOrTheOptions) {
    for (const bool option : {false, true}) {
        Arguments arguments = kFiveItems;
        if (option) {
            arguments.insert(arguments.begin(), L"/m");
        }
        WindowSession session;
        ASSERT_TRUE(session.Open(arguments));
        const auto report = Probe(session.process.ThreadId(), session.main);
        ASSERT_TRUE(report.has_value());
        ASSERT_TRUE(report->messageFont.present);
        for (const ProbeFont* font : {&report->okFont, &report->cancelFont, &report->listFont}) {
            if (font != &report->listFont || option) {
                EXPECT_TRUE(font->present);
                EXPECT_EQ(font->handle, report->okFont.handle);
                EXPECT_EQ(FaceName(*font), FaceName(report->messageFont));
                EXPECT_EQ(font->height, report->messageFont.height);
                EXPECT_EQ(font->weight, report->messageFont.weight);
            }
        }
        EXPECT_EQ(report->listFont.present, option) << FaceName(report->listFont);
        ExpectLaidOut(session, option);
    }
}

// The button face black and its text white, as High Contrast Black has them, for the whole
// session at once (the registry's colours are read only at sign-in); the user's colours come
// back after.
class DarkButtonColours {
public:
    DarkButtonColours()
        : saved_{::GetSysColor(kElements[0]), ::GetSysColor(kElements[1])},
          set_(::SetSysColors(2, kElements, kDark) != FALSE) {}
    ~DarkButtonColours() {
        if (set_) {
            ::SetSysColors(2, kElements, saved_);
        }
    }
    DarkButtonColours(const DarkButtonColours&) = delete;
    DarkButtonColours& operator=(const DarkButtonColours&) = delete;
    bool Set() const { return set_; }

private:
    static constexpr INT kElements[2] = {COLOR_BTNFACE, COLOR_BTNTEXT};
    static constexpr COLORREF kDark[2] = {RGB(0, 0, 0), RGB(255, 255, 255)};
    COLORREF saved_[2];
    bool set_;
};

// A bitmap of the button face's colour, for the text drawn on it or the screen copied to it.
class Canvas {
public:
    Canvas(int width, int height)
        : area_{0, 0, width, height}, dc_(::CreateCompatibleDC(screen_.get())),
          bitmap_(::CreateCompatibleBitmap(screen_.get(), width, height)),
          selection_(dc_.get(), bitmap_.get()) {
        ::FillRect(dc_.get(), &area_, ::GetSysColorBrush(COLOR_BTNFACE));
        ::SetTextColor(dc_.get(), ::GetSysColor(COLOR_BTNTEXT));
        ::SetBkMode(dc_.get(), TRANSPARENT);
    }
    HDC get() const { return dc_.get(); }

    // A copy of an area of a window's client area as the screen shows it.
    Canvas(HWND window, const RECT& area) : Canvas(area.right - area.left, area.bottom - area.top) {
        POINT at{area.left, area.top};
        ::ClientToScreen(window, &at);
        ::BitBlt(dc_.get(), 0, 0, area_.right, area_.bottom, screen_.get(), at.x, at.y, SRCCOPY);
    }

    // The pixels counted, in the whole canvas or a part of it.
    int Count(const std::function<bool(COLORREF)>& counted) const { return Count(counted, area_); }
    int Count(const std::function<bool(COLORREF)>& counted, const RECT& part) const {
        int count = 0;
        for (int y = part.top; y < part.bottom; ++y) {
            for (int x = part.left; x < part.right; ++x) {
                count += counted(::GetPixel(dc_.get(), x, y)) ? 1 : 0;
            }
        }
        return count;
    }

private:
    RECT area_;
    WindowDc screen_{nullptr};
    UniqueHandle<HDC, &::DeleteDC> dc_;
    UniqueHandle<HBITMAP, &::DeleteObject> bitmap_;
    SelectionScope selection_;
};

TEST(Window, MessageIsDrawnInTheButtonTextColourOfADarkTheme) {
    const DarkButtonColours theme;
    ASSERT_TRUE(theme.Set());
    WindowSession session;
    ASSERT_TRUE(session.Open({L"T", L"MMMM WWWW", L"a"}));
    ::UpdateWindow(session.main);
    // The message's pixels: white strokes on the black face.
    const RECT list = ReadWindow(session.list).rectInParent;
    const Canvas message(session.main, {20, 15, list.right, list.top - 15});
    const int lit = message.Count([](COLORREF p) { return p == RGB(255, 255, 255); });
    const int dark = message.Count([](COLORREF p) { return p == RGB(0, 0, 0); });
    EXPECT_GT(lit, 20);
    EXPECT_GT(dark, lit);
}

// Every glyph of a message with TABs painted inside its rectangle, whatever its script, and every
// line of it a line of ink: the ink of the rectangle, and of the message's whole band, is that of
// the message's lines each drawn unclipped; nothing in the rectangle's last column; no row of the
// message without ink. Tables with empty last columns fit as they did before TABs were broken
// here; a word after a TAB, a TAB run wider than the line and ideographs after a TAB are whole.
void ExpectMessagesWithTabsPaintedWhole() {
    std::wstring hebrew = L"\t\x14\x5E9\x5DC";
    std::wstring latin;
    for (int i = 0; i < 58; ++i) {
        hebrew.insert(0, L"\t\x14\x5E9\x5DC\x5D5\x5DD ");
        latin += L"\tword\x01\x7F ";
    }
    std::wstring rows;
    std::wstring table;
    for (int i = 10; i < 45; ++i) {
        rows += i < 40 ? L"Row " + std::to_wstring(i) + L"\t\t\t\t\t\t\n" : L"";
        table += L"item-" + std::to_wstring(i) + L"\t12 KB\tadmin" + std::wstring(32, L'\t') + L"\n";
    }
    std::wstring kanji;
    for (int i = 0; i < 30; ++i) {
        kanji += L"\x6F22\x5B57"; // 漢字
    }
    const struct {
        Arguments arguments;
        bool mayReachTheEdge = false; // a line that fits exactly in a font: its glyph is whole
        // With its TAB as spaces that reach past its stop, the platform's own breaking takes
        // no fewer lines: a bound the TAB's lines must keep to.
        bool spacedTwin = false;
    } cases[] = {
        {{L"-", hebrew, L"\""}},
        {{L"-", latin, L"\""}},
        {{L"/w", L"300", L"Title", rows.substr(0, rows.size() - 1), L"x"}},
        {{L"Title", table, L"x"}},
        {{L"/w", L"240", L"T", L"Name:\tdescriptionsandmore goes on", L"one"}, true, true},
        {{L"/w", L"240", L"T", L"Name:\tdescriptionsandmore goes on  \t ", L"one"}, true},
        {{L"/w", L"400", L"T", L"ab\t" + std::wstring(40, L'x'), L"x"}},
        {{L"T", L"start" + std::wstring(300, L'\t') + L"end", L"x"}},
        {{L"T", L"\x524D\t" + kanji + kanji + kanji, L"x"}, false, true},       // 前
        {{L"/w", L"300", L"T", L"\x540D\x524D:\t" + kanji, L"x"}, false, true}, // 名前:
    };
    const auto ink = [](COLORREF p) { return p != ::GetSysColor(COLOR_BTNFACE); };
    const int rowHeight = Measure(false).RowHeight();
    for (const auto& [arguments, mayReachTheEdge, spacedTwin] : cases) {
        const std::wstring& message = arguments[arguments.size() - 2];
        SCOPED_TRACE(testing::PrintToString(message.substr(0, 40)));
        WindowSession session;
        if (!session.Open(arguments)) {
            ADD_FAILURE() << "a box instead of the window";
            continue;
        }
        ::UpdateWindow(session.main);
        const Geometry g = ReadGeometry(session);
        const int bottom = g.list.rectInParent.top - 15; // the message's, 15 below the top
        // Its lines, each unclipped on a line of a bitmap of the face's colour.
        std::vector<std::wstring> lines;
        std::size_t longest = 0;
        for (std::size_t start = 0, end = 0; end != std::wstring::npos; start = end + 1) {
            end = message.find(L'\n', start);
            lines.push_back(message.substr(start, end - start));
            longest = std::max(longest, lines.back().size());
        }
        const int height = rowHeight * static_cast<int>(lines.size());
        const Canvas drawn(64 * static_cast<int>(longest), height);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            ::TabbedTextOutW(drawn.get(), 0, rowHeight * static_cast<int>(i), lines[i].c_str(),
                             static_cast<int>(lines[i].size()), 0, nullptr, 0);
        }
        const int whole = drawn.Count(ink);
        EXPECT_GT(whole, 0);
        // Never wider than its ink needs, TABs that end its lines being invisible.
        int inkRight = 64 * static_cast<int>(longest);
        while (inkRight > 0 && drawn.Count(ink, {inkRight - 1, 0, inkRight, height}) == 0) {
            --inkRight;
        }
        EXPECT_TRUE(arguments[0] == L"/w" || g.clientWidth - 40 <= std::max(inkRight + 8, 200))
            << g.clientWidth << " wide for ink to " << inkRight;
        const Canvas inside(session.main, {20, 15, g.clientWidth - 20, bottom});
        EXPECT_EQ(inside.Count(ink), whole) << "inside the message's rectangle";
        EXPECT_EQ(Canvas(session.main, {0, 15, g.clientWidth, bottom}).Count(ink), whole)
            << "in its band";
        const RECT lastColumn{g.clientWidth - 21, 15, g.clientWidth - 20, bottom};
        EXPECT_TRUE(mayReachTheEdge || Canvas(session.main, lastColumn).Count(ink) == 0)
            << "in the rectangle's last column";
        ASSERT_EQ((bottom - 15) % rowHeight, 0);
        for (int top = 0; top < bottom - 15; top += rowHeight) {
            EXPECT_GT(inside.Count(ink, {0, top, g.clientWidth - 40, top + rowHeight}), 0)
                << "a blank line at " << top;
        }
        if (spacedTwin) {
            Arguments spaced = arguments;
            std::wstring& text = spaced[spaced.size() - 2];
            text.replace(text.find(L'\t'), 1, Measure(false).SpacesPastATab(), L' ');
            WindowSession twin;
            ASSERT_TRUE(twin.Open(spaced));
            EXPECT_LE(bottom, ReadWindow(twin.list).rectInParent.top - 15) << "lines broken early";
        }
    }
}

SEVRANE_TEST_IN_BOTH_LANGUAGES(Window, MessagesWithTabsArePaintedWhole,
                               ExpectMessagesWithTabsPaintedWhole())

TEST(Window, ActivationGivesTheFocusBackToTheList) {
    WindowSession session;
    ASSERT_TRUE(session.Open(kFiveItems));
    session.Press(VK_TAB);
    ASSERT_TRUE(WaitUntil([&] { return session.Focus() == session.ok; }));

    // Another program's window takes the activation, then the list window gets it back.
    UniqueWindow other(::CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                         0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(other);
    const auto pump = [] {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&message);
        }
    };
    ::SetForegroundWindow(other.get());
    EXPECT_TRUE(WaitUntil([&] {
        pump();
        return ActiveWindow(session.process.ThreadId()) != session.main;
    })) << "the list window kept the activation";
    // Wine gives the foreground to the desktop when the program handles the X focus change of the
    // switch above after this one: the list window is then asked again, as a user clicks again.
    EXPECT_TRUE(WaitUntil([&] {
        pump();
        if (::GetForegroundWindow() != session.main) {
            ::SetForegroundWindow(session.main);
        }
        return session.Focus() == session.list;
    })) << "focus is on id "
        << ::GetDlgCtrlID(session.Focus());
    ExpectNeitherButtonFramed(session);
    other.reset();
    pump();
    // The same after a minimize and restore.
    session.Press(VK_TAB);
    ::PostMessageW(session.main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(session.main) != FALSE; }));
    ::PostMessageW(session.main, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitUntil([&] { return session.Focus() == session.list; }));
    ExpectNeitherButtonFramed(session);
}

struct Limits {
    int rows;
    int messageLines;
};

// The most rows and message lines the work area takes: what the layout of a measured window
// still accepts (its arithmetic is the unit tests').
Limits WorkAreaLimits() {
    WindowSession session;
    EXPECT_TRUE(session.Open({L"T", L"M", L"a"}));
    const LayoutInput input = ExpectLaidOut(session).input;
    const auto fits = [&](std::optional<int> rows, int lines) {
        LayoutInput changed = input;
        changed.settings.rows = rows;
        changed.messageHeight = lines * input.rowHeight;
        return std::holds_alternative<WindowLayout>(ComputeLayout(changed));
    };
    Limits limits{1, 1};
    while (fits(limits.rows + 1, 1)) {
        ++limits.rows;
    }
    while (fits(std::nullopt, limits.messageLines + 1)) {
        ++limits.messageLines;
    }
    return limits;
}

std::wstring Lines(int count) {
    std::wstring message = L"line";
    for (int i = 1; i < count; ++i) {
        message += L"\\nline";
    }
    return message;
}

// Rows beyond the work area, and a message too tall for one row, are refused, in the run's
// language; the message check comes before the rows check.
void ExpectLayoutRefusals() {
    const Limits limits = WorkAreaLimits();
    ASSERT_GT(limits.rows, 1);
    ASSERT_GT(limits.messageLines, 1);
    {
        WindowSession session;
        EXPECT_TRUE(session.Open({L"/r", std::to_wstring(limits.rows), L"T", L"M", L"a"}));
    }
    {
        // The tallest message that leaves exactly room for one row.
        WindowSession session;
        ASSERT_TRUE(session.Open({L"/e", L"T", Lines(limits.messageLines), L"a", L"b"}));
        const LaidOut laid = ExpectLaidOut(session);
        EXPECT_EQ(laid.layout.messageHeight, limits.messageLines * laid.input.rowHeight);
        EXPECT_LT(laid.layout.listBox.Height(), 2 * laid.input.rowHeight);
    }
    const std::wstring tooMany = std::to_wstring(limits.rows + 1);
    ExpectSingleBox(RunToEnd({L"/r", tooMany, L"T", L"M", L"a"}),
                    Text(MessageId::MsgRowsTooLarge, tooMany));
    ExpectSingleBox(RunToEnd({L"/r", L"500", L"T", L"M", L"a"}),
                    Text(MessageId::MsgRowsTooLarge, L"500"));
    ExpectSingleBox(RunToEnd({L"/e", L"T", Lines(limits.messageLines + 1), L"a"}),
                    Text(MessageId::MsgMessageTooLarge));
    ExpectSingleBox(RunToEnd({L"/e", L"/r", L"500", L"T", Lines(400), L"a"}),
                    Text(MessageId::MsgMessageTooLarge));
}

SEVRANE_TEST_IN_BOTH_LANGUAGES(Window, RowsOrAMessageBeyondTheWorkAreaAreRefused,
                               ExpectLayoutRefusals())

TEST(Window, JapaneseButtonLabelsAndBoxes) {
    SEVRANE_SKIP_UNLESS_JAPANESE_UI();
    WindowSession session;
    ASSERT_TRUE(session.Open({L"ホスト", L"選んで&ください&", L"一", L"二"}));
    EXPECT_EQ(WindowText(session.main), L"ホスト");
    EXPECT_EQ(WindowText(session.ok), L"OK");
    EXPECT_EQ(WindowText(session.cancel), L"キャンセル");
    EXPECT_EQ(ListItems(session.list), (std::vector<std::wstring>{L"一", L"二"}));
    ExpectListLabel(session, L"選んで&&ください&");
    session.Press(VK_RETURN);
    ExpectNothingSelectedBox(session, L"ホスト", Text(MessageId::MsgNothingSelected));
    session.Press(VK_ESCAPE);
    EXPECT_EQ(session.ExitCode(), 0u);
}

} // namespace
} // namespace sevrane::e2e
