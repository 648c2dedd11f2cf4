// ApplicationIconTest.cpp: the application icon group, read back from the built
// program's file as the shell reads it: the group names its images, and the
// 32x32 and 16x16 ones load as icons of exactly that size.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

#include "tests/res/ProgramFile.h"

namespace {

constexpr WORD kIconGroupId = 103;
// RT_GROUP_ICON and RT_ICON in their wide form, whatever UNICODE says.
const LPCWSTR kGroupIconType = MAKEINTRESOURCEW(14);
const LPCWSTR kIconImageType = MAKEINTRESOURCEW(3);
// The icon resource format's version, as CreateIconFromResourceEx wants it.
constexpr DWORD kIconFormatVersion = 0x00030000;

// Group directory layout: a 6-byte header (reserved, type, count), then one
// 14-byte entry per image (width, height, colours, reserved, planes, bits,
// size, resource id), packed without padding.
constexpr size_t kHeaderSize = 6;
constexpr size_t kTypeOffset = 2;
constexpr size_t kCountOffset = 4;
constexpr size_t kEntrySize = 14;
constexpr size_t kEntryIdOffset = 12;
constexpr WORD kIconType = 1;
constexpr int kSideOfZero = 256;  // a width or height byte of 0 stands for 256

struct IconReleaser {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconReleaser>;

struct BitmapReleaser {
    void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapReleaser>;

struct GroupEntry {
    int width;
    int height;
    WORD id;
};

template <typename T>
T ReadAt(const std::vector<BYTE>& bytes, size_t offset) {
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

class ApplicationIcon : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(program_file::Path().empty()) << "MONITOR_EXE does not name the program";
        module_ = program_file::OpenAsDataFile();
        ASSERT_TRUE(module_) << "cannot open the program as a data file, error " << GetLastError();
    }

    // The group's entries; fails the test when the group is missing or malformed.
    std::vector<GroupEntry> Group() {
        const std::vector<BYTE> group =
            program_file::ResourceBytes(module_.get(), MAKEINTRESOURCEW(kIconGroupId), kGroupIconType);
        if (group.size() < kHeaderSize) {
            ADD_FAILURE() << "no icon group " << kIconGroupId;
            return {};
        }
        EXPECT_EQ(kIconType, ReadAt<WORD>(group, kTypeOffset));
        const WORD count = ReadAt<WORD>(group, kCountOffset);
        if (group.size() < kHeaderSize + count * kEntrySize) {
            ADD_FAILURE() << "the icon group is shorter than its " << count << " entries";
            return {};
        }
        std::vector<GroupEntry> entries;
        for (WORD i = 0; i < count; ++i) {
            const size_t at = kHeaderSize + i * kEntrySize;
            const int width = group[at] ? group[at] : kSideOfZero;
            const int height = group[at + 1] ? group[at + 1] : kSideOfZero;
            entries.push_back({width, height, ReadAt<WORD>(group, at + kEntryIdOffset)});
        }
        return entries;
    }

    // Loads the group's image listed with the given size as an icon and answers
    // the size of its colour bitmap; {0, 0} when the group lists no such image.
    SIZE LoadedSize(int size) {
        for (const GroupEntry& entry : Group()) {
            if (entry.width != size || entry.height != size) continue;
            std::vector<BYTE> image =
                program_file::ResourceBytes(module_.get(), MAKEINTRESOURCEW(entry.id), kIconImageType);
            if (image.empty()) {
                ADD_FAILURE() << "the group names icon image " << entry.id << ", which is missing";
                return {0, 0};
            }
            // Width and height 0: the image's own size, not one scaled to the size asked for.
            const Icon icon(CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                                     kIconFormatVersion, 0, 0, LR_DEFAULTCOLOR));
            if (!icon) {
                ADD_FAILURE() << "icon image " << entry.id << " does not load, error " << GetLastError();
                return {0, 0};
            }
            ICONINFO parts{};
            if (!GetIconInfo(icon.get(), &parts)) {
                ADD_FAILURE() << "icon image " << entry.id << " has no bitmaps";
                return {0, 0};
            }
            const Bitmap colour(parts.hbmColor);
            const Bitmap mask(parts.hbmMask);
            BITMAP bitmap{};
            if (!colour || !GetObjectW(colour.get(), sizeof bitmap, &bitmap)) {
                ADD_FAILURE() << "icon image " << entry.id << " has no colour bitmap";
                return {0, 0};
            }
            return {bitmap.bmWidth, bitmap.bmHeight};
        }
        return {0, 0};
    }

    program_file::Module module_;
};

TEST_F(ApplicationIcon, GroupHoldsA32And16PixelImage) {
    bool has32 = false;
    bool has16 = false;
    for (const GroupEntry& entry : Group()) {
        has32 = has32 || (entry.width == 32 && entry.height == 32);
        has16 = has16 || (entry.width == 16 && entry.height == 16);
    }
    EXPECT_TRUE(has32);
    EXPECT_TRUE(has16);
}

TEST_F(ApplicationIcon, The32PixelImageLoadsAtItsSize) {
    const SIZE loaded = LoadedSize(32);
    EXPECT_EQ(32, loaded.cx);
    EXPECT_EQ(32, loaded.cy);
}

TEST_F(ApplicationIcon, The16PixelImageLoadsAtItsSize) {
    const SIZE loaded = LoadedSize(16);
    EXPECT_EQ(16, loaded.cx);
    EXPECT_EQ(16, loaded.cy);
}

}  // namespace
