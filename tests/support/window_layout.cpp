#include "window_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace window_layout {

RECT ScreenRect(HWND window) {
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return rect;
}

RECT RectIn(HWND child, HWND parent) {
    RECT rect = ScreenRect(child);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = L"";
    ::GetClassNameW(window, name, 64);
    return name;
}

std::string Describe(HWND control) {
    wchar_t text[64] = L"";
    ::GetWindowTextW(control, text, 64);
    std::string description;
    for (const wchar_t c : ClassOf(control) + L" \"" + text + L"\"")
        description += c < 128 ? static_cast<char>(c) : '?';
    return description + " id " + std::to_string(::GetDlgCtrlID(control));
}

std::vector<HWND> VisibleChildren(HWND page) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(page, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::IsWindowVisible(child))
            children.push_back(child);
    }
    return children;
}

namespace {

bool IsGroupBox(HWND control) {
    return ClassOf(control) == L"Button" &&
           (::GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// The strip along a group box's top edge that its caption takes.
RECT CaptionStrip(HWND groupBox) {
    RECT rect = ScreenRect(groupBox);
    HDC dc = ::GetDC(groupBox);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(groupBox, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(groupBox, dc);
    rect.bottom = rect.top + metrics.tmHeight;
    return rect;
}

// Where a control shows something: a text label only where its text is drawn, any other
// control all over.
RECT VisibleRect(HWND control) {
    RECT rect = ScreenRect(control);
    const LONG_PTR style = ::GetWindowLongPtrW(control, GWL_STYLE);
    wchar_t text[512] = L"";
    const int length = ::GetWindowTextW(control, text, 512);
    if (ClassOf(control) != L"Static" || (style & SS_TYPEMASK) > SS_RIGHT || length == 0)
        return rect;
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT drawn = {0, 0, rect.right - rect.left, 0};
    ::DrawTextW(dc, text, length, &drawn, DT_CALCRECT | DT_WORDBREAK | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    const LONG width = drawn.right - drawn.left;
    LONG left = rect.left;
    if ((style & SS_TYPEMASK) == SS_CENTER)
        left = rect.left + (rect.right - rect.left - width) / 2;
    else if ((style & SS_TYPEMASK) == SS_RIGHT)
        left = rect.right - width;
    // A pixel of room on either side: texts that touch read as one.
    return RECT{left - 1, rect.top, left + width + 1, std::min<LONG>(rect.bottom, rect.top + drawn.bottom)};
}

}  // namespace

// What a user sees of a control's text: it is drawn whole, not cut at the control's edge.
// Returns an empty string when it is, else what is wrong.
std::string TextCut(HWND control) {
    wchar_t buffer[512] = L"";
    const int length = ::GetWindowTextW(control, buffer, 512);
    std::wstring text;
    for (int i = 0; i < length; ++i) {
        if (buffer[i] == L'&' && i + 1 < length)
            ++i;
        text += buffer[i];
    }
    if (text.empty())
        return std::string();
    const std::wstring kind = ClassOf(control);
    const LONG_PTR style = ::GetWindowLongPtrW(control, GWL_STYLE);
    RECT client = {};
    ::GetClientRect(control, &client);
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc, &metrics);
    RECT wrapped = {0, 0, client.right, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);

    int room = client.right;
    if (kind == L"Button") {
        const LONG_PTR type = style & BS_TYPEMASK;
        if (type == BS_GROUPBOX)
            room = client.right - 2 * metrics.tmAveCharWidth;  // the frame's corners on both sides
        else if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)
            room = client.right - 4;
        else
            room = client.right - ::GetSystemMetrics(SM_CXMENUCHECK) - 3;  // the box or circle before the text
    } else if (kind != L"Static") {
        return std::string();
    } else if ((style & SS_TYPEMASK) > SS_RIGHT) {
        return std::string();  // pictures, frames
    }
    std::string name;
    for (const wchar_t c : text)
        name += c < 128 ? static_cast<char>(c) : '?';
    const bool multiLine = kind == L"Static" && client.bottom >= 2 * metrics.tmHeight;
    if (multiLine) {
        if (wrapped.bottom > client.bottom)
            return "\"" + name + "\" needs " + std::to_string(wrapped.bottom) + " pixels of height, has " +
                   std::to_string(client.bottom);
    } else if (extent.cx > room) {
        return "\"" + name + "\" needs " + std::to_string(extent.cx) + " pixels, has " + std::to_string(room);
    } else if (kind == L"Static" && extent.cy > client.bottom + 1) {
        return "\"" + name + "\" is cut at its foot";
    }
    return std::string();
}

// No control lies over another where the user would see it: controls other than group boxes
// never overlap (a label where its text is), a group box's caption is free, and what is in a
// group box is wholly in it.
void ExpectNoOverlap(const std::vector<HWND>& controls) {
    for (size_t i = 0; i < controls.size(); ++i) {
        for (size_t j = i + 1; j < controls.size(); ++j) {
            HWND a = controls[i];
            HWND b = controls[j];
            const bool groupA = IsGroupBox(a);
            const bool groupB = IsGroupBox(b);
            const RECT ra = VisibleRect(a);
            const RECT rb = VisibleRect(b);
            RECT both = {};
            if (!groupA && !groupB) {
                EXPECT_FALSE(::IntersectRect(&both, &ra, &rb)) << Describe(a) << " overlaps " << Describe(b);
                continue;
            }
            if (groupA && groupB)
                continue;
            HWND group = groupA ? a : b;
            HWND other = groupA ? b : a;
            const RECT outer = ScreenRect(group);
            const RECT inner = VisibleRect(other);
            if (!::IntersectRect(&both, &outer, &inner))
                continue;
            EXPECT_TRUE(::EqualRect(&both, &inner)) << Describe(other) << " crosses the edge of " << Describe(group);
            const RECT caption = CaptionStrip(group);
            EXPECT_FALSE(::IntersectRect(&both, &caption, &inner)) << Describe(other) << " lies over the caption of "
                                                                    << Describe(group);
        }
    }
}

// Every control whole inside its window and its text whole, no control over another.
void ExpectLaidOutWhole(HWND window, const std::vector<HWND>& children) {
    RECT client = {};
    ::GetClientRect(window, &client);
    for (HWND child : children) {
        const RECT rect = RectIn(child, window);
        EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= client.right && rect.bottom <= client.bottom)
            << Describe(child) << " lies outside its window";
        const std::string cut = TextCut(child);
        EXPECT_TRUE(cut.empty()) << Describe(child) << ": " << cut;
    }
    ExpectNoOverlap(children);
}

}  // namespace window_layout
