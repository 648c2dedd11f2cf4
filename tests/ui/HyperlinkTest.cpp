// HyperlinkTest.cpp: the link control on a plain static: opening, cursor, colours and its font.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "res/resource.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/FakeShell.h"
#include "tests/ui/LinkPaint.h"
#include "ui/Hyperlink.h"
#include "win/Reflection.h"

namespace {

using dialog_driver::ModalScript;

constexpr INT_PTR kNoAssociation = SE_ERR_NOASSOC;  // 31
constexpr int kLinkId = 77;
constexpr UINT kReflectedColourRequest = UM_REFLECTED_BASE + WM_CTLCOLORSTATIC;

int g_staticClicks = 0;

// Counts the clicks a static reports to its parent, which a link must not pass on.
LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) ++g_staticClicks;
    return DefWindowProcW(window, message, wParam, lParam);
}

// A hidden parent with one SS_NOTIFY static, as the About dialog has them.
class LinkHost {
public:
    explicit LinkHost(const wchar_t* text) {
        WNDCLASSW parentClass{};
        parentClass.lpfnWndProc = ParentProc;
        parentClass.hInstance = GetModuleHandleW(nullptr);
        parentClass.lpszClassName = L"HyperlinkTestParent";
        RegisterClassW(&parentClass);
        parent_ = CreateWindowExW(0, L"HyperlinkTestParent", L"", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        control_ = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_NOTIFY, 10, 10, 250, 20, parent_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLinkId)),
                                   GetModuleHandleW(nullptr), nullptr);
        g_staticClicks = 0;
    }
    ~LinkHost() { DestroyWindow(parent_); }
    HWND Control() const { return control_; }

private:
    HWND parent_;
    HWND control_;
};

void PressOn(HWND control) {
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
}

link_paint::Colours Colours(HWND control) {
    return link_paint::Request(control, kReflectedColourRequest, control);
}

class HyperlinkTest : public ::testing::Test {
protected:
    void SetUp() override { fake_shell::Reset(fake_shell::kOpened); }
};

// A mail address opens as a mailto link, any other text as it stands, each
// through the shell's open verb with no owner, parameters or folder. Only the
// first 120 characters count: an @ past them makes no mail address.
TEST_F(HyperlinkTest, OpensItsTextOrItsMailAddressCutTo120Characters) {
    const std::wstring longWeb = L"https://www.example.org/" + std::wstring(126, L'x') + L"/tail";
    const std::wstring longMail = L"someone@" + std::wstring(150, L'm') + L".example.com";
    const std::wstring lateAt = std::wstring(125, L'w') + L"@example.com";
    const struct {
        std::wstring text, opened;
    } cases[] = {
        {L"someone@example.com", L"mailto:someone@example.com"},
        {L"https://www.example.org/a?b=c%20d", L"https://www.example.org/a?b=c%20d"},
        {longWeb, longWeb.substr(0, 120)},
        {longMail, L"mailto:" + longMail.substr(0, 120)},
        {lateAt, lateAt.substr(0, 120)},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.opened);
        fake_shell::Reset(fake_shell::kOpened);
        LinkHost host(test.text.c_str());
        ui::Hyperlink link(fake_shell::Open);
        ASSERT_TRUE(link.Attach(host.Control()));

        EXPECT_EQ(0, SendMessageW(host.Control(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3)));

        EXPECT_EQ(1, fake_shell::lastCall.count);
        EXPECT_EQ(test.opened, fake_shell::lastCall.file);
        EXPECT_EQ(L"open", fake_shell::lastCall.verb);
        EXPECT_TRUE(fake_shell::lastCall.ownerNull);
        EXPECT_TRUE(fake_shell::lastCall.parametersNull);
        EXPECT_TRUE(fake_shell::lastCall.directoryNull);
        EXPECT_EQ(SW_SHOWNORMAL, fake_shell::lastCall.showCommand);
    }
}

TEST_F(HyperlinkTest, TheControlItselfDoesNotSeeThePress) {
    LinkHost host(L"https://www.example.org/");
    PressOn(host.Control());
    ASSERT_EQ(1, g_staticClicks) << "a plain notifying static reports the click";

    ui::Hyperlink link(fake_shell::Open);
    ASSERT_TRUE(link.Attach(host.Control()));
    PressOn(host.Control());

    EXPECT_EQ(1, g_staticClicks);
    EXPECT_EQ(1, fake_shell::lastCall.count);
}

TEST_F(HyperlinkTest, PaintsUnderlinedBlueOnATransparentBackgroundUntilOpened) {
    LinkHost host(L"https://www.example.org/");
    ui::Hyperlink link(fake_shell::Open);
    ASSERT_TRUE(link.Attach(host.Control()));

    const link_paint::Colours before = Colours(host.Control());
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)), before.brush);
    EXPECT_EQ(link_paint::kUnvisited, before.text);
    EXPECT_EQ(TRANSPARENT, before.backgroundMode);
    EXPECT_EQ(1, before.fontDescription.lfUnderline);

    PressOn(host.Control());
    const link_paint::Colours after = Colours(host.Control());
    EXPECT_EQ(link_paint::kVisited, after.text);
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)), after.brush);
}

// A failed open says so with the shell's code in a message box with an icon,
// and leaves the colour as it was: blue, or dark red after a successful open.
TEST_F(HyperlinkTest, AFailedOpenShowsTheCodeInAMessageBoxAndLeavesTheColour) {
    LinkHost host(L"https://www.example.org/");
    ui::Hyperlink link(fake_shell::Open);
    ASSERT_TRUE(link.Attach(host.Control()));
    const auto failedOpen = [&](INT_PTR code) {
        fake_shell::Reset(code);
        std::wstring message;
        bool hasIcon = false;
        ModalScript script({[&] {
            const HWND box = dialog_driver::FindDialog(L"Kelv SysLog monitor");
            if (!box) return false;
            message = dialog_driver::StaticText(box);
            for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                if (SendMessageW(child, STM_GETICON, 0, 0)) hasIcon = true;
            dialog_driver::PressButton(box, IDOK);
            return true;
        }});
        PressOn(host.Control());
        EXPECT_TRUE(script.Finished());
        EXPECT_TRUE(hasIcon);
        EXPECT_EQ(1, fake_shell::lastCall.count);
        return message;
    };

    EXPECT_EQ(L"Fail to execute associated application.\nCode: 0x1f", failedOpen(kNoAssociation));
    EXPECT_EQ(link_paint::kUnvisited, Colours(host.Control()).text);
    fake_shell::Reset(fake_shell::kOpened);
    PressOn(host.Control());
    EXPECT_EQ(L"Fail to execute associated application.\nCode: 0x2", failedOpen(SE_ERR_FNF));
    EXPECT_EQ(link_paint::kVisited, Colours(host.Control()).text);
}

TEST_F(HyperlinkTest, UnderlinesTheControlsOwnFontOnceAndDeletesItWithTheObject) {
    LinkHost host(L"https://www.example.org/");
    const HFONT own = CreateFontW(-17, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
    SendMessageW(host.Control(), WM_SETFONT, reinterpret_cast<WPARAM>(own), FALSE);

    HFONT made = nullptr;
    {
        ui::Hyperlink link(fake_shell::Open);
        ASSERT_TRUE(link.Attach(host.Control()));
        const link_paint::Colours first = Colours(host.Control());
        const link_paint::Colours second = Colours(host.Control());
        made = first.font;

        EXPECT_NE(own, made);
        EXPECT_EQ(made, second.font) << "the underlined font is made once";
        EXPECT_EQ(-17, first.fontDescription.lfHeight);
        EXPECT_EQ(FW_BOLD, first.fontDescription.lfWeight);
        EXPECT_STREQ("Tahoma", first.fontDescription.lfFaceName);
        EXPECT_EQ(1, first.fontDescription.lfUnderline);
        EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(made));
        // The static selects its own font for its text, so the link's font must be that font.
        EXPECT_EQ(reinterpret_cast<LRESULT>(made), SendMessageW(host.Control(), WM_GETFONT, 0, 0));
    }
    EXPECT_EQ(0u, GetObjectType(made)) << "deleted with its link";
    EXPECT_EQ(reinterpret_cast<LRESULT>(own), SendMessageW(host.Control(), WM_GETFONT, 0, 0))
        << "a control that outlives its link gets its own font back";
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(own)) << "the control's own font is not the link's";
    DeleteObject(own);
}

TEST_F(HyperlinkTest, AControlWithoutAFontGetsTheDefaultGuiFontUnderlined) {
    LinkHost host(L"https://www.example.org/");
    ASSERT_EQ(0, SendMessageW(host.Control(), WM_GETFONT, 0, 0));
    LOGFONTA guiFont;
    ASSERT_EQ(static_cast<int>(sizeof guiFont), GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof guiFont, &guiFont));

    link_paint::Colours colours{};
    {
        ui::Hyperlink link(fake_shell::Open);
        ASSERT_TRUE(link.Attach(host.Control()));
        colours = Colours(host.Control());
        EXPECT_EQ(reinterpret_cast<LRESULT>(colours.font), SendMessageW(host.Control(), WM_GETFONT, 0, 0));
    }

    EXPECT_EQ(guiFont.lfHeight, colours.fontDescription.lfHeight);
    EXPECT_STREQ(guiFont.lfFaceName, colours.fontDescription.lfFaceName);
    EXPECT_EQ(1, colours.fontDescription.lfUnderline);
    EXPECT_EQ(0, SendMessageW(host.Control(), WM_GETFONT, 0, 0));
}

TEST_F(HyperlinkTest, ShowsTheHandCursorAndStopsTheCursorProcessing) {
    LinkHost host(L"https://www.example.org/");
    ui::Hyperlink link(fake_shell::Open);
    ASSERT_TRUE(link.Attach(host.Control()));
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));

    const LRESULT answer = SendMessageW(host.Control(), WM_SETCURSOR, reinterpret_cast<WPARAM>(host.Control()),
                                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));

    EXPECT_EQ(1, answer);
    EXPECT_EQ(LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_CURSOR)), GetCursor());
    EXPECT_NE(nullptr, GetCursor());
}

TEST_F(HyperlinkTest, OtherReflectedMessagesGoToTheDefaultProcedureUnreflected) {
    LinkHost host(L"https://www.example.org/");
    ui::Hyperlink link(fake_shell::Open);
    ASSERT_TRUE(link.Attach(host.Control()));
    const HDC dc = CreateCompatibleDC(nullptr);

    const LRESULT reflected = SendMessageW(host.Control(), UM_REFLECTED_BASE + WM_CTLCOLORBTN,
                                           reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(host.Control()));
    const LRESULT byDefault = DefWindowProcW(host.Control(), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                             reinterpret_cast<LPARAM>(host.Control()));
    DeleteDC(dc);

    EXPECT_NE(0, byDefault);
    EXPECT_EQ(byDefault, reflected);
}

TEST_F(HyperlinkTest, OtherMessagesReachTheControl) {
    LinkHost host(L"https://www.example.org/");
    ui::Hyperlink link(fake_shell::Open);
    ASSERT_TRUE(link.Attach(host.Control()));

    SetWindowTextW(host.Control(), L"changed@example.com");

    EXPECT_EQ(L"changed@example.com", dialog_driver::Text(host.Control()));
    PressOn(host.Control());
    EXPECT_EQ(L"mailto:changed@example.com", fake_shell::lastCall.file);
}

TEST_F(HyperlinkTest, LetsGoOfAControlThatIsDestroyed) {
    auto host = std::make_unique<LinkHost>(L"https://www.example.org/");
    ui::Hyperlink link(fake_shell::Open);
    ASSERT_TRUE(link.Attach(host->Control()));
    host.reset();

    EXPECT_EQ(nullptr, link.Handle());
}

}  // namespace
