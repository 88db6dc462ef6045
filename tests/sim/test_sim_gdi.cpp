// The simulated GDI against Windows' documented behaviour. Each case here is
// one the engine relies on and that Wine was seen to agree with.
#include "platform/sim/sim_control.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Gdi : ::testing::Test {
    std::vector<HDC> Dcs;
    std::vector<HGDIOBJ> Objects;
    void SetUp() override { SimReset(); }
    void TearDown() override
    {
        for (HDC dc : Dcs)
            DeleteDC(dc);
        for (HGDIOBJ o : Objects)
            DeleteObject(o);
        EXPECT_EQ(SimLiveGdiObjects(), 0) << "deleting them freed all";
    }
    // A memory DC with a bitmap of one colour selected, both freed by TearDown.
    HDC Surface(int w, int h, COLORREF c, HBITMAP *bitmap = nullptr)
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP b = CreateCompatibleBitmap(dc, w, h);
        HBRUSH brush = CreateSolidBrush(c);
        SelectObject(dc, b);
        RECT r{0, 0, w, h};
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        Dcs.push_back(dc);
        Objects.push_back(b);
        if (bitmap)
            *bitmap = b;
        return dc;
    }
};

TEST_F(Gdi, ABitmapSitsInOneDCAndIsDeletedWhenDeselected)
{
    HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
    Dcs = {a, b};
    HBITMAP bmp = CreateCompatibleBitmap(a, 4, 4);
    HGDIOBJ stock = SelectObject(a, bmp);
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(SelectObject(b, bmp), nullptr) << "already selected into another DC";
    EXPECT_EQ(SelectObject(a, stock), (HGDIOBJ)bmp);
    EXPECT_NE(SelectObject(b, bmp), nullptr) << "free again after deselecting";
    EXPECT_TRUE(DeleteObject(bmp));
    EXPECT_EQ(SimLiveObjects(SimBitmaps), 1) << "deleted when deselected";
    SelectObject(b, stock);
    EXPECT_EQ(SimLiveObjects(SimBitmaps), 0);
    EXPECT_FALSE(DeleteObject(bmp)) << "a stale handle is refused";
}

TEST_F(Gdi, BitBltClipsToBothBitmapsAndHonoursTheWindowOrigin)
{
    HBITMAP db;
    HDC src = Surface(4, 4, RGB(10, 20, 30)), dst = Surface(8, 8, 0, &db);
    EXPECT_TRUE(BitBlt(dst, 6, 6, 4, 4, src, 2, 2, SRCCOPY));  // the source partly outside its bitmap
    SimPixels p = SimReadBitmapPixels(db);
    EXPECT_TRUE(p.At(6, 6) == RGB(10, 20, 30) && p.At(7, 7) == RGB(10, 20, 30) && p.At(5, 5) == 0);
    // A window origin of (2, 1) moves logical (2, 1) to pixel (0, 0).
    SaveDC(dst);
    SetWindowOrgEx(dst, 2, 1, nullptr);
    BitBlt(dst, 2, 1, 1, 1, src, 0, 0, SRCCOPY);
    RestoreDC(dst, -1);
    POINT org;
    GetWindowOrgEx(dst, &org);
    EXPECT_EQ(org.x, 0);
    p = SimReadBitmapPixels(db);
    EXPECT_TRUE(p.At(0, 0) == RGB(10, 20, 30) && p.At(2, 1) == 0);
}

TEST_F(Gdi, TransparentBltSkipsTheKeyColour)
{
    HDC src = Surface(2, 1, RGB(1, 2, 3)), dst = Surface(2, 1, RGB(9, 9, 9));
    SetPixel(src, 1, 0, RGB(50, 60, 70));
    EXPECT_TRUE(TransparentBlt(dst, 0, 0, 2, 1, src, 0, 0, 2, 1, RGB(1, 2, 3)));
    EXPECT_EQ(GetPixel(dst, 0, 0), RGB(9, 9, 9));
    EXPECT_EQ(GetPixel(dst, 1, 0), RGB(50, 60, 70));
    EXPECT_TRUE(GetPixel(dst, 2, 0) == CLR_INVALID && GetPixel(dst, -1, 0) == CLR_INVALID);
}

TEST_F(Gdi, RestoreDCUndoesMapModeSelectionAndClipping)
{
    HBITMAP a;
    HDC dc = Surface(6, 1, 0, &a);
    HBITMAP b = CreateCompatibleBitmap(dc, 6, 1);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    Objects.insert(Objects.end(), {b, red});
    RECT all{0, 0, 6, 1};
    EXPECT_EQ(SaveDC(dc), 1);
    SetWindowOrgEx(dc, -1, 0, nullptr);  // logical x 1..2 is pixel 2..3
    EXPECT_EQ(ExcludeClipRect(dc, 1, 0, 3, 1), COMPLEXREGION);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    FillRect(dc, &all, red);
    SetMapMode(dc, MM_LOMETRIC);
    SelectObject(dc, b);
    EXPECT_TRUE(RestoreDC(dc, 1));
    EXPECT_EQ(GetMapMode(dc), MM_TEXT);
    EXPECT_FALSE(RestoreDC(dc, -1)) << "nothing saved any more";
    SimPixels p = SimReadBitmapPixels(a);
    EXPECT_EQ(p.Pixels, (std::vector<uint32_t>{RGB(255, 0, 0), RGB(255, 0, 0), 0, 0, RGB(255, 0, 0), RGB(255, 0, 0)}));
    FillRect(dc, &all, red);
    EXPECT_EQ(SimReadBitmapPixels(a).At(2, 0), RGB(255, 0, 0)) << "a selected again, the clipping gone";
}

TEST_F(Gdi, LoadImageRefusesWhatItCannotRead)
{
    for (const char *bad : {"/nonexistent/NUMBERS.BMP", "/", (const char *)nullptr})
        EXPECT_EQ(LoadImageA(nullptr, bad, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr) << (bad ? bad : "null");
    std::string good = std::string(DIALWICK_SOURCE_DIR) + "/skins/Herb/TEXT.BMP";
    HANDLE b = LoadImageA(nullptr, good.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    ASSERT_NE(b, nullptr);
    Objects.push_back(b);
    BITMAP info;
    ASSERT_EQ(GetObjectA(b, sizeof(info), &info), (int)sizeof(info));
    EXPECT_EQ(info.bmBitsPixel, 32) << "a device-dependent bitmap of the 32-bit screen";
    EXPECT_EQ(info.bmWidth % 30, 0);
}

}  // namespace
