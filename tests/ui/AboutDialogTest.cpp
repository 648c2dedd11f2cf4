// AboutDialogTest.cpp: the About box: version line, links inside the dialog, ending, and the command.
#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/FakeShell.h"
#include "tests/ui/LinkPaint.h"
#include "ui/AboutDialog.h"

namespace {

using dialog_driver::ModalScript;

constexpr INT_PTR kOpened = 42;
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kDarkRed = RGB(128, 0, 0);
const wchar_t kAboutTitle[] = L"About";

// The colours the dialog answers for one of its statics, through its reflection.
link_paint::Colours ColoursThroughDialog(HWND dialog, int controlId) {
    return link_paint::Request(dialog, WM_CTLCOLORSTATIC, GetDlgItem(dialog, controlId));
}

void PressOn(HWND dialog, int controlId) {
    SendMessageW(GetDlgItem(dialog, controlId), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
}

// A step that waits for the About box and keeps its handle.
ModalScript::Step FindAbout(HWND& dialog) {
    return [&dialog] {
        dialog = dialog_driver::FindDialog(kAboutTitle);
        return dialog != nullptr;
    };
}

class AboutDialogTest : public ::testing::Test {
protected:
    void SetUp() override { fake_shell::Reset(kOpened); }
};

TEST_F(AboutDialogTest, TheAboutCommandShowsTheVersionLineOverTheMainWindow) {
    testing_support::RunningMainWindow main;
    ASSERT_NE(nullptr, main.Handle());
    HWND dialog = nullptr;
    std::string versionLine;
    HWND owner = nullptr;
    ModalScript script({FindAbout(dialog), [&] {
                            versionLine = dialog_driver::TextA(GetDlgItem(dialog, IDC_VERSION_LINE));
                            owner = GetWindow(dialog, GW_OWNER);
                            dialog_driver::PressButton(dialog, IDOK);
                            return true;
                        }});

    EXPECT_EQ(0, SendMessageW(main.Handle(), WM_COMMAND, ID_HELP_ABOUT, 0));

    ASSERT_TRUE(script.Finished());
    EXPECT_EQ("Kelv Syslog monitor Version 1.0.01", versionLine);
    EXPECT_EQ(main.Handle(), owner);
    EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(AboutDialogTest, EndsWithOkEscapeOrTheCloseButton) {
    struct Ending {
        void (*press)(HWND);
        INT_PTR result;
    };
    const Ending endings[] = {{[](HWND dialog) { dialog_driver::PressButton(dialog, IDOK); }, IDOK},
                              {dialog_driver::PressEscape, IDCANCEL},
                              {dialog_driver::PressClose, IDCANCEL}};
    for (const Ending& ending : endings) {
        HWND dialog = nullptr;
        ModalScript script({FindAbout(dialog), [&] {
                                ending.press(dialog);
                                return true;
                            }});
        ui::AboutDialog about(fake_shell::Open);
        EXPECT_EQ(ending.result, about.RunModal(nullptr, IDD_ABOUT));
        EXPECT_TRUE(script.Finished());
    }
}

TEST_F(AboutDialogTest, TheLinksOpenTheirTexts) {
    HWND dialog = nullptr;
    std::wstring mailText, webText, mailOpened, webOpened;
    ModalScript script({FindAbout(dialog), [&] {
                            mailText = dialog_driver::Text(GetDlgItem(dialog, IDC_MAIL_LINK));
                            webText = dialog_driver::Text(GetDlgItem(dialog, IDC_WEB_LINK));
                            PressOn(dialog, IDC_MAIL_LINK);
                            mailOpened = fake_shell::lastCall.file;
                            PressOn(dialog, IDC_WEB_LINK);
                            webOpened = fake_shell::lastCall.file;
                            dialog_driver::PressButton(dialog, IDOK);
                            return true;
                        }});
    ui::AboutDialog about(fake_shell::Open);
    about.RunModal(nullptr, IDD_ABOUT);

    ASSERT_TRUE(script.Finished());
    ASSERT_NE(std::wstring::npos, mailText.find(L'@'));
    ASSERT_EQ(std::wstring::npos, webText.find(L'@'));
    EXPECT_EQ(L"mailto:" + mailText, mailOpened);
    EXPECT_EQ(webText, webOpened);
    EXPECT_EQ(2, fake_shell::lastCall.count);
}

TEST_F(AboutDialogTest, ALinkTurnsDarkRedOnlyAfterASuccessfulOpen) {
    HWND dialog = nullptr;
    link_paint::Colours before{}, after{}, otherLink{}, versionLine{};
    ModalScript script({FindAbout(dialog), [&] {
                            before = ColoursThroughDialog(dialog, IDC_WEB_LINK);
                            PressOn(dialog, IDC_WEB_LINK);
                            after = ColoursThroughDialog(dialog, IDC_WEB_LINK);
                            otherLink = ColoursThroughDialog(dialog, IDC_MAIL_LINK);
                            versionLine = ColoursThroughDialog(dialog, IDC_VERSION_LINE);
                            dialog_driver::PressButton(dialog, IDOK);
                            return true;
                        }});
    ui::AboutDialog about(fake_shell::Open);
    about.RunModal(nullptr, IDD_ABOUT);

    ASSERT_TRUE(script.Finished());
    const LRESULT hollow = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    EXPECT_EQ(hollow, before.brush);
    EXPECT_EQ(kBlue, before.text);
    EXPECT_EQ(TRANSPARENT, before.backgroundMode);
    EXPECT_EQ(1, before.fontDescription.lfUnderline);
    EXPECT_EQ(kDarkRed, after.text);
    EXPECT_EQ(kBlue, otherLink.text);
    EXPECT_NE(hollow, versionLine.brush) << "an ordinary static is painted by the dialog manager";
    EXPECT_EQ(0, versionLine.fontDescription.lfUnderline);
}

TEST_F(AboutDialogTest, AFailedOpenShowsTheShellCodeAndTheLinkStaysBlue) {
    fake_shell::Reset(SE_ERR_ACCESSDENIED);
    HWND dialog = nullptr;
    std::wstring message;
    link_paint::Colours after{};
    bool dialogStillOpen = false;
    ModalScript script({FindAbout(dialog),
                        [&] {
                            // Posted: the message box runs in the dialog's loop, where the next step finds it.
                            PostMessageW(GetDlgItem(dialog, IDC_MAIL_LINK), WM_LBUTTONDOWN, MK_LBUTTON,
                                         MAKELPARAM(2, 2));
                            return true;
                        },
                        [&] {
                            const HWND box = dialog_driver::FindDialog(L"Kelv SysLog monitor");
                            if (!box) return false;
                            message = dialog_driver::StaticText(box);
                            dialog_driver::PressButton(box, IDOK);
                            return true;
                        },
                        [&] {
                            if (dialog_driver::FindDialog(L"Kelv SysLog monitor")) return false;
                            dialogStillOpen = IsWindowVisible(dialog) != FALSE;
                            after = ColoursThroughDialog(dialog, IDC_MAIL_LINK);
                            dialog_driver::PressButton(dialog, IDOK);
                            return true;
                        }});
    ui::AboutDialog about(fake_shell::Open);
    about.RunModal(nullptr, IDD_ABOUT);

    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(L"Fail to execute associated application.\nCode: 0x5", message);
    EXPECT_TRUE(dialogStillOpen);
    EXPECT_EQ(kBlue, after.text);
}

TEST_F(AboutDialogTest, ASecondShowingStartsWithBlueLinks) {
    HWND dialog = nullptr;
    COLORREF firstShowing = 0;
    {
        ModalScript script({FindAbout(dialog), [&] {
                                PressOn(dialog, IDC_MAIL_LINK);
                                PressOn(dialog, IDC_WEB_LINK);
                                firstShowing = ColoursThroughDialog(dialog, IDC_MAIL_LINK).text;
                                dialog_driver::PressButton(dialog, IDOK);
                                return true;
                            }});
        ui::AboutDialog about(fake_shell::Open);
        about.RunModal(nullptr, IDD_ABOUT);
        ASSERT_TRUE(script.Finished());
    }
    ASSERT_EQ(kDarkRed, firstShowing);

    testing_support::RunningMainWindow main;
    COLORREF mail = 0, web = 0;
    ModalScript script({FindAbout(dialog), [&] {
                            mail = ColoursThroughDialog(dialog, IDC_MAIL_LINK).text;
                            web = ColoursThroughDialog(dialog, IDC_WEB_LINK).text;
                            dialog_driver::PressButton(dialog, IDOK);
                            return true;
                        }});
    SendMessageW(main.Handle(), WM_COMMAND, ID_HELP_ABOUT, 0);

    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(kBlue, mail);
    EXPECT_EQ(kBlue, web);
}

TEST_F(AboutDialogTest, TheHandShowsOverTheLinksAndTheArrowElsewhere) {
    const HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_CURSOR));
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    HWND dialog = nullptr;
    LRESULT overMail = 0, overWeb = 0;
    HCURSOR cursorOverMail = nullptr, cursorOverWeb = nullptr, cursorOverVersion = nullptr;
    auto hover = [&](int controlId, HCURSOR& shown) {
        const HWND control = GetDlgItem(dialog, controlId);
        SetCursor(nullptr);
        const LRESULT answer = SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                                            MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        shown = GetCursor();
        return answer;
    };
    ModalScript script({FindAbout(dialog), [&] {
                            overMail = hover(IDC_MAIL_LINK, cursorOverMail);
                            overWeb = hover(IDC_WEB_LINK, cursorOverWeb);
                            hover(IDC_VERSION_LINE, cursorOverVersion);
                            dialog_driver::PressButton(dialog, IDOK);
                            return true;
                        }});
    ui::AboutDialog about(fake_shell::Open);
    about.RunModal(nullptr, IDD_ABOUT);

    ASSERT_TRUE(script.Finished());
    ASSERT_NE(nullptr, hand);
    EXPECT_EQ(1, overMail);
    EXPECT_EQ(1, overWeb);
    EXPECT_EQ(hand, cursorOverMail);
    EXPECT_EQ(hand, cursorOverWeb);
    EXPECT_EQ(arrow, cursorOverVersion);
}

TEST_F(AboutDialogTest, TheLinkFontsGoWithTheDialog) {
    HWND dialog = nullptr;
    HFONT mailFont = nullptr, webFont = nullptr;
    bool fontsAliveWhileOpen = false;
    {
        ModalScript script({FindAbout(dialog), [&] {
                                mailFont = ColoursThroughDialog(dialog, IDC_MAIL_LINK).font;
                                webFont = ColoursThroughDialog(dialog, IDC_WEB_LINK).font;
                                fontsAliveWhileOpen = GetObjectType(mailFont) == OBJ_FONT &&
                                                      GetObjectType(webFont) == OBJ_FONT && mailFont != webFont;
                                dialog_driver::PressButton(dialog, IDOK);
                                return true;
                            }});
        ui::AboutDialog about(fake_shell::Open);
        about.RunModal(nullptr, IDD_ABOUT);
        ASSERT_TRUE(script.Finished());
        EXPECT_NE(0u, GetObjectType(mailFont)) << "the objects still hold their fonts after the dialog";
    }
    EXPECT_TRUE(fontsAliveWhileOpen);
    EXPECT_EQ(0u, GetObjectType(mailFont));
    EXPECT_EQ(0u, GetObjectType(webFont));
}

}  // namespace
