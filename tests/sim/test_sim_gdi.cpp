// The simulated GDI against Windows' documented behaviour. Each case here is
// one the engine relies on and that Wine was seen to agree with.
#include "platform/sim/sim_control.h"

#include <gtest/gtest.h>

namespace {

struct Gdi : ::testing::Test {
    void SetUp() override { SimReset(); }
    void TearDown() override { EXPECT_EQ(SimLiveGdiObjects(), 0) << "the test freed what it made"; }
};

HBITMAP Solid(HDC like, int w, int h, COLORREF c)
{
    HBITMAP b = CreateCompatibleBitmap(like, w, h);
    HDC dc = CreateCompatibleDC(like);
    HGDIOBJ old = SelectObject(dc, b);
    HBRUSH brush = CreateSolidBrush(c);
    RECT r{0, 0, w, h};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    return b;
}

TEST_F(Gdi, SelectObjectReturnsThePreviousBitmapAndABitmapSitsInOneDC)
{
    HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(a, 4, 4);
    HGDIOBJ stock = SelectObject(a, bmp);
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(SelectObject(b, bmp), nullptr) << "already selected into another DC";
    EXPECT_EQ(SelectObject(a, stock), (HGDIOBJ)bmp);
    EXPECT_NE(SelectObject(b, bmp), nullptr) << "free again after deselecting";
    SelectObject(b, stock);
    DeleteObject(bmp);
    DeleteDC(a);
    DeleteDC(b);
}

TEST_F(Gdi, DeletingASelectedBitmapWaitsForTheDeselect)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 4, 4);
    HGDIOBJ stock = SelectObject(dc, bmp);
    EXPECT_TRUE(DeleteObject(bmp));
    EXPECT_EQ(SimLiveObjects(SimBitmaps), 1);
    SelectObject(dc, stock);
    EXPECT_EQ(SimLiveObjects(SimBitmaps), 0);
    EXPECT_FALSE(DeleteObject(bmp)) << "a stale handle is refused";
    DeleteDC(dc);
}

TEST_F(Gdi, BitBltClipsToBothBitmapsAndHonoursTheWindowOrigin)
{
    HDC src = CreateCompatibleDC(nullptr), dst = CreateCompatibleDC(nullptr);
    HBITMAP sb = Solid(src, 4, 4, RGB(10, 20, 30)), db = Solid(dst, 8, 8, RGB(0, 0, 0));
    HGDIOBJ so = SelectObject(src, sb), dold = SelectObject(dst, db);
    // Source partly outside its bitmap: only the overlapping pixels are copied.
    EXPECT_TRUE(BitBlt(dst, 6, 6, 4, 4, src, 2, 2, SRCCOPY));
    SimPixels p = SimReadBitmapPixels(db);
    EXPECT_EQ(p.At(6, 6), RGB(10, 20, 30));
    EXPECT_EQ(p.At(7, 7), RGB(10, 20, 30));
    EXPECT_EQ(p.At(5, 5), 0u);
    // A window origin of (2, 1) moves logical (2, 1) to pixel (0, 0).
    SaveDC(dst);
    SetWindowOrgEx(dst, 2, 1, nullptr);
    BitBlt(dst, 2, 1, 1, 1, src, 0, 0, SRCCOPY);
    RestoreDC(dst, -1);
    POINT org;
    GetWindowOrgEx(dst, &org);
    EXPECT_EQ(org.x, 0);
    EXPECT_EQ(SimReadBitmapPixels(db).At(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(SimReadBitmapPixels(db).At(2, 1), 0u);
    SelectObject(src, so);
    SelectObject(dst, dold);
    DeleteObject(sb);
    DeleteObject(db);
    DeleteDC(src);
    DeleteDC(dst);
}

TEST_F(Gdi, TransparentBltSkipsTheKeyColour)
{
    HDC src = CreateCompatibleDC(nullptr), dst = CreateCompatibleDC(nullptr);
    HBITMAP sb = Solid(src, 2, 1, RGB(1, 2, 3)), db = Solid(dst, 2, 1, RGB(9, 9, 9));
    HGDIOBJ so = SelectObject(src, sb), dold = SelectObject(dst, db);
    SetPixel(src, 1, 0, RGB(50, 60, 70));
    EXPECT_EQ(GetPixel(src, 1, 0), RGB(50, 60, 70));
    EXPECT_TRUE(TransparentBlt(dst, 0, 0, 2, 1, src, 0, 0, 2, 1, RGB(1, 2, 3)));
    EXPECT_EQ(GetPixel(dst, 0, 0), RGB(9, 9, 9));
    EXPECT_EQ(GetPixel(dst, 1, 0), RGB(50, 60, 70));
    EXPECT_EQ(GetPixel(dst, 2, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(dst, -1, 0), CLR_INVALID);
    SelectObject(src, so);
    SelectObject(dst, dold);
    DeleteObject(sb);
    DeleteObject(db);
    DeleteDC(src);
    DeleteDC(dst);
}

TEST_F(Gdi, RestoreDCUndoesOriginMapModeAndSelection)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP a = CreateCompatibleBitmap(dc, 1, 1), b = CreateCompatibleBitmap(dc, 1, 1);
    HGDIOBJ stock = SelectObject(dc, a);
    EXPECT_EQ(GetMapMode(dc), MM_TEXT);
    int level = SaveDC(dc);
    EXPECT_EQ(level, 1);
    SetMapMode(dc, MM_LOMETRIC);
    SetWindowOrgEx(dc, 5, 5, nullptr);
    SelectObject(dc, b);
    EXPECT_TRUE(RestoreDC(dc, level));
    EXPECT_EQ(GetMapMode(dc), MM_TEXT);
    EXPECT_EQ(SelectObject(dc, stock), (HGDIOBJ)a);
    EXPECT_FALSE(RestoreDC(dc, -1)) << "nothing saved any more";
    DeleteObject(a);
    DeleteObject(b);
    DeleteDC(dc);
}

TEST_F(Gdi, ExcludedRectanglesAreSkippedUntilRestoreDC)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP b = CreateCompatibleBitmap(dc, 6, 1);
    HGDIOBJ old = SelectObject(dc, b);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), blue = CreateSolidBrush(RGB(0, 0, 255));
    RECT all{0, 0, 6, 1};
    int saved = SaveDC(dc);
    SetWindowOrgEx(dc, -1, 0, nullptr);  // logical x 1..2 is pixel 2..3
    EXPECT_EQ(ExcludeClipRect(dc, 1, 0, 3, 1), COMPLEXREGION);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    FillRect(dc, &all, red);
    RestoreDC(dc, saved);
    SimPixels p = SimReadBitmapPixels(b);
    EXPECT_EQ(p.At(1, 0), RGB(255, 0, 0));
    EXPECT_EQ(p.At(2, 0), 0u);
    EXPECT_EQ(p.At(3, 0), 0u);
    EXPECT_EQ(p.At(4, 0), RGB(255, 0, 0));
    FillRect(dc, &all, blue);
    EXPECT_EQ(SimReadBitmapPixels(b).At(2, 0), RGB(0, 0, 255)) << "the clipping went with RestoreDC";
    DeleteObject(red);
    DeleteObject(blue);
    SelectObject(dc, old);
    DeleteObject(b);
    DeleteDC(dc);
}

TEST_F(Gdi, RegionsUnionIntoDisjointRectangles)
{
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(5, 5, 15, 15);
    EXPECT_EQ(CombineRgn(r, r, a, RGN_OR), SIMPLEREGION);
    EXPECT_EQ(CombineRgn(r, r, b, RGN_OR), COMPLEXREGION);
    RECT box;
    GetRgnBox(r, &box);
    EXPECT_EQ(box.right, 15);
    EXPECT_TRUE(PtInRegion(r, 12, 12));
    EXPECT_FALSE(PtInRegion(r, 12, 2));
    HRGN swapped = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(swapped, b, a, RGN_OR);
    EXPECT_TRUE(EqualRgn(r, swapped)) << "union is symmetric";
    HRGN reversed = CreateRectRgn(10, 10, 0, 0);
    EXPECT_TRUE(EqualRgn(reversed, a)) << "corners are normalised";
    for (HRGN h : {r, a, b, swapped, reversed})
        DeleteObject(h);
}

TEST_F(Gdi, InjectedFailuresHitTheChosenCall)
{
    SimFailCall("CreateSolidBrush", 2);
    HBRUSH first = CreateSolidBrush(0), second = CreateSolidBrush(0), third = CreateSolidBrush(0);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(second, nullptr);
    EXPECT_NE(third, nullptr);
    EXPECT_EQ(SimCallCount("CreateSolidBrush"), 3);
    SimFailCall("CreateCompatibleDC", 0);
    EXPECT_EQ(CreateCompatibleDC(nullptr), nullptr);
    EXPECT_EQ(CreateCompatibleDC(nullptr), nullptr);
    SimClearFailures();
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_NE(dc, nullptr);
    EXPECT_EQ(SimLiveObjects(SimBrushes), 2);
    EXPECT_EQ(SimLiveObjects(SimDCs), 1);
    DeleteObject(first);
    DeleteObject(third);
    DeleteDC(dc);
}

TEST_F(Gdi, LoadImageRefusesWhatItCannotRead)
{
    EXPECT_EQ(LoadImageA(nullptr, "/nonexistent/NUMBERS.BMP", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, "/", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, nullptr, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    std::string good = std::string(DIALWICK_SOURCE_DIR) + "/skins/Herb/TEXT.BMP";
    HANDLE b = LoadImageA(nullptr, good.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    ASSERT_NE(b, nullptr);
    BITMAP info;
    ASSERT_EQ(GetObjectA(b, sizeof(info), &info), (int)sizeof(info));
    EXPECT_EQ(info.bmBitsPixel, 32) << "a device-dependent bitmap of the 32-bit screen";
    EXPECT_EQ(info.bmWidth % 30, 0);
    DeleteObject(b);
}

}  // namespace
