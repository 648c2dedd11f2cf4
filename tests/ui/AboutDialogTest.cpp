// AboutDialogTest.cpp: the About box: version line, which of its texts are links, ending, and the command.
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

const wchar_t kAboutTitle[] = L"About";

// The colours the dialog answers for one of its statics, through its reflection.
link_paint::Colours ColoursThroughDialog(HWND dialog, int controlId) {
    return link_paint::Request(dialog, WM_CTLCOLORSTATIC, GetDlgItem(dialog, controlId));
}

void PressOn(HWND dialog, int controlId) {
    SendMessageW(GetDlgItem(dialog, controlId), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
}

// The cursor shown over the control, as the system asks for it.
HCURSOR CursorOver(HWND dialog, int controlId) {
    const HWND control = GetDlgItem(dialog, controlId);
    SetCursor(nullptr);
    SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
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
    void SetUp() override { fake_shell::Reset(fake_shell::kOpened); }
};

// The mail and web texts are links: each opens its own text (the mail address
// as a mailto link), is blue until opened and dark red after, and shows the
// hand; the version line is an ordinary static under the arrow.
TEST_F(AboutDialogTest, TheMailAndWebTextsAreLinksAndTheVersionLineIsNot) {
    HWND dialog = nullptr;
    std::wstring mailText, webText, mailOpened, webOpened;
    link_paint::Colours webBefore{}, webAfter{}, mailBefore{}, versionLine{};
    HCURSOR overMail = nullptr, overWeb = nullptr, overVersion = nullptr;
    ModalScript script({FindAbout(dialog), [&] {
                            mailText = dialog_driver::Text(GetDlgItem(dialog, IDC_MAIL_LINK));
                            webText = dialog_driver::Text(GetDlgItem(dialog, IDC_WEB_LINK));
                            mailBefore = ColoursThroughDialog(dialog, IDC_MAIL_LINK);
                            webBefore = ColoursThroughDialog(dialog, IDC_WEB_LINK);
                            versionLine = ColoursThroughDialog(dialog, IDC_VERSION_LINE);
                            overMail = CursorOver(dialog, IDC_MAIL_LINK);
                            overWeb = CursorOver(dialog, IDC_WEB_LINK);
                            overVersion = CursorOver(dialog, IDC_VERSION_LINE);
                            PressOn(dialog, IDC_WEB_LINK);
                            webOpened = fake_shell::lastCall.file;
                            webAfter = ColoursThroughDialog(dialog, IDC_WEB_LINK);
                            PressOn(dialog, IDC_MAIL_LINK);
                            mailOpened = fake_shell::lastCall.file;
                            dialog_driver::PressButton(dialog, IDOK);
                            return true;
                        }});
    ui::AboutDialog about(fake_shell::Open);
    about.RunModal(nullptr, IDD_ABOUT);

    ASSERT_TRUE(script.Finished());
    ASSERT_NE(std::wstring::npos, mailText.find(L'@'));
    ASSERT_EQ(std::wstring::npos, webText.find(L'@'));
    EXPECT_EQ(webText, webOpened);
    EXPECT_EQ(L"mailto:" + mailText, mailOpened);
    EXPECT_EQ(2, fake_shell::lastCall.count);
    EXPECT_EQ(link_paint::kUnvisited, mailBefore.text);
    EXPECT_EQ(link_paint::kUnvisited, webBefore.text);
    EXPECT_EQ(1, webBefore.fontDescription.lfUnderline);
    EXPECT_EQ(link_paint::kVisited, webAfter.text);
    EXPECT_NE(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)), versionLine.brush)
        << "an ordinary static is painted by the dialog manager";
    EXPECT_EQ(0, versionLine.fontDescription.lfUnderline);
    const HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_CURSOR));
    ASSERT_NE(nullptr, hand);
    EXPECT_EQ(hand, overMail);
    EXPECT_EQ(hand, overWeb);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), overVersion);
}

// Help > About shows the box over the Main window, with the version line and
// links as blue as at a first showing, whatever was opened before.
TEST_F(AboutDialogTest, TheAboutCommandShowsTheVersionLineAndUnvisitedLinksOverTheMainWindow) {
    {
        HWND dialog = nullptr;
        ModalScript visit({FindAbout(dialog), [&] {
                               PressOn(dialog, IDC_MAIL_LINK);
                               PressOn(dialog, IDC_WEB_LINK);
                               dialog_driver::PressButton(dialog, IDOK);
                               return true;
                           }});
        ui::AboutDialog about(fake_shell::Open);
        about.RunModal(nullptr, IDD_ABOUT);
        ASSERT_TRUE(visit.Finished());
    }
    testing_support::RunningMainWindow main;
    ASSERT_NE(nullptr, main.Handle());
    HWND dialog = nullptr;
    std::string versionLine;
    HWND owner = nullptr;
    COLORREF mail = 0, web = 0;
    ModalScript script({FindAbout(dialog), [&] {
                            versionLine = dialog_driver::TextA(GetDlgItem(dialog, IDC_VERSION_LINE));
                            owner = GetWindow(dialog, GW_OWNER);
                            mail = ColoursThroughDialog(dialog, IDC_MAIL_LINK).text;
                            web = ColoursThroughDialog(dialog, IDC_WEB_LINK).text;
                            dialog_driver::PressButton(dialog, IDOK);
                            return true;
                        }});

    EXPECT_EQ(0, SendMessageW(main.Handle(), WM_COMMAND, ID_HELP_ABOUT, 0));

    ASSERT_TRUE(script.Finished());
    EXPECT_EQ("Kelv Syslog monitor Version 1.0.01", versionLine);
    EXPECT_EQ(main.Handle(), owner);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(link_paint::kUnvisited, mail);
    EXPECT_EQ(link_paint::kUnvisited, web);
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
