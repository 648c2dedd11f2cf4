// Hyperlink.cpp: opening the link, the hand cursor, and the underlined colours.
#include "ui/Hyperlink.h"

#include <cwchar>

#include "res/resource.h"
#include "win/Reflection.h"
#include "win/Window.h"

namespace ui {

namespace {

const wchar_t kMailtoPrefix[] = L"mailto:";
constexpr size_t kMailtoLength = sizeof kMailtoPrefix / sizeof kMailtoPrefix[0] - 1;
constexpr size_t kLinkBufferCapacity = 128;
constexpr int kLinkTextCapacity = 121;  // at most 120 characters of the text, and the terminator
static_assert(kMailtoLength + kLinkTextCapacity <= kLinkBufferCapacity, "the prefix and the text share the buffer");

constexpr INT_PTR kShellSuccessAbove = 32;
const wchar_t kFailureFormat[] = L"Fail to execute associated application.\nCode: %#x";
const wchar_t kFailureCaption[] = L"" PRODUCT_TITLE;

constexpr COLORREF kVisitedColour = RGB(128, 0, 0);
constexpr COLORREF kUnvisitedColour = RGB(0, 0, 255);

}  // namespace

Hyperlink::Hyperlink(ShellOpenFunction shellOpen)
    : handCursor_(LoadCursorW(win::ModuleInstance(), MAKEINTRESOURCEW(IDC_HAND_CURSOR))), shellOpen_(shellOpen) {}

Hyperlink::~Hyperlink() {
    if (!underlinedFont_) return;
    // A control that outlives its link must not be left drawing with a deleted font.
    if (Handle()) SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(ownFont_), FALSE);
    DeleteObject(underlinedFont_);
}

bool Hyperlink::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_LBUTTONDOWN:
        Open();
        return true;
    case WM_SETCURSOR:
        SetCursor(handCursor_);
        result = 1;
        return true;
    case UM_REFLECTED_BASE + WM_CTLCOLORSTATIC:
        result = SetUpPaint(reinterpret_cast<HDC>(wParam));
        return true;
    default:
        if (!win::IsReflectedMessage(message)) return false;
        result = DefWindowProcW(Handle(), message - UM_REFLECTED_BASE, wParam, lParam);
        return true;
    }
}

// The text goes in after room for the "mailto:" prefix, so a mail address
// needs no second buffer.
void Hyperlink::Open() {
    wchar_t link[kLinkBufferCapacity] = {};
    wchar_t* const text = link + kMailtoLength;
    GetWindowTextW(Handle(), text, kLinkTextCapacity);
    const wchar_t* target = text;
    if (std::wcschr(text, L'@')) {
        std::wmemcpy(link, kMailtoPrefix, kMailtoLength);
        target = link;
    }
    const INT_PTR shellResult =
        reinterpret_cast<INT_PTR>(shellOpen_(nullptr, L"open", target, nullptr, nullptr, SW_SHOWNORMAL));
    if (shellResult > kShellSuccessAbove) {
        visited_ = true;  // shown at the next repaint
        return;
    }
    _snwprintf(link, kLinkBufferCapacity, kFailureFormat, static_cast<unsigned>(shellResult));
    link[kLinkBufferCapacity - 1] = L'\0';
    MessageBoxW(Handle(), link, kFailureCaption, MB_OK | MB_ICONERROR);
}

LRESULT Hyperlink::SetUpPaint(HDC dc) {
    if (fontToBeMade_) MakeUnderlinedFont();
    if (underlinedFont_) SelectObject(dc, underlinedFont_);
    SetTextColor(dc, visited_ ? kVisitedColour : kUnvisitedColour);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

// Made once: the flag is cleared first, so a font that cannot be made is not
// tried again. For a control without a font of its own, the default GUI
// font is the one underlined. The static selects its own font after asking
// for its colours, so the underlined font becomes the control's font too;
// the request comes before that selection, so the first paint shows it.
void Hyperlink::MakeUnderlinedFont() {
    fontToBeMade_ = false;
    ownFont_ = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
    const HGDIOBJ font = ownFont_ ? static_cast<HGDIOBJ>(ownFont_) : GetStockObject(DEFAULT_GUI_FONT);
    LOGFONTW description;
    if (GetObjectW(font, sizeof description, &description) != sizeof description) return;
    description.lfUnderline = 1;
    underlinedFont_ = CreateFontIndirectW(&description);
    if (underlinedFont_) SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(underlinedFont_), FALSE);
}

}  // namespace ui
