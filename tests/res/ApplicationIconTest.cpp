// ApplicationIconTest.cpp: the application icon group, read back from the built
// program's file as the shell reads it: for 32 and 16 pixels the group names an
// image of exactly that size, which loads as an icon.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>
#include <vector>

#include "tests/res/ProgramFile.h"

namespace {

constexpr WORD kIconGroupId = 103;
// RT_GROUP_ICON and RT_ICON in their wide form, whatever UNICODE says.
const LPCWSTR kGroupIconType = MAKEINTRESOURCEW(14);
const LPCWSTR kIconImageType = MAKEINTRESOURCEW(3);
// The icon resource format's version, as the icon calls want it.
constexpr DWORD kIconFormatVersion = 0x00030000;

struct IconReleaser {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconReleaser>;

// The size of the colour bitmap of the image the group offers for size x size, loaded at
// its own size; {0, 0} when there is none or it does not load.
SIZE ImageFor(HMODULE module, const std::vector<BYTE>& group, int size) {
    const int id = LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group.data()), TRUE, size, size, LR_DEFAULTCOLOR);
    std::vector<BYTE> image = program_file::ResourceBytes(module, MAKEINTRESOURCEW(id), kIconImageType);
    if (image.empty()) return {0, 0};
    // Width and height 0: the image's own size, not one scaled to the size asked for.
    const Icon icon(CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE, kIconFormatVersion,
                                             0, 0, LR_DEFAULTCOLOR));
    ICONINFO parts{};
    if (!icon || !GetIconInfo(icon.get(), &parts)) return {0, 0};
    BITMAP bitmap{};
    const bool measured = parts.hbmColor && GetObjectW(parts.hbmColor, sizeof bitmap, &bitmap);
    DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    return measured ? SIZE{bitmap.bmWidth, bitmap.bmHeight} : SIZE{0, 0};
}

TEST(ApplicationIcon, TheGroupHoldsA32And16PixelImageThatLoadAtTheirSize) {
    ASSERT_FALSE(program_file::Path().empty()) << "MONITOR_EXE does not name the program";
    const program_file::Module module = program_file::OpenAsDataFile();
    ASSERT_TRUE(module) << "cannot open the program as a data file, error " << GetLastError();
    const std::vector<BYTE> group = program_file::ResourceBytes(module.get(), MAKEINTRESOURCEW(kIconGroupId), kGroupIconType);
    ASSERT_FALSE(group.empty()) << "no icon group " << kIconGroupId;
    for (const int size : {32, 16}) {
        const SIZE loaded = ImageFor(module.get(), group, size);
        EXPECT_EQ(size, loaded.cx);
        EXPECT_EQ(size, loaded.cy);
    }
}

}  // namespace
