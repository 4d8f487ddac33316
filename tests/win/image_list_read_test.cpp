// Image list streams from controls/image_list_stream, read by the platform's own
// ImageList_Read and drawn with ImageList_Draw onto a known background.
#include <windows.h>
#include <objidl.h>  // before commctrl.h, which declares the stream functions only after IStream
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "controls/image_list_stream.h"
#include "controls/list_view_data.h"
#include "forms/template_image.h"

// The main window's template image, compiled from toolbox/main_window.toml.
extern const unsigned char kMainWindowTemplate[];
extern const uint32_t kMainWindowTemplateSize;

namespace {

constexpr uint32_t kBackground = 0x00336699;  // COLORREF: R 0x99, G 0x66, B 0x33
constexpr int kSize = 16;

struct Rgba {
    uint8_t r, g, b, a;
};
// Image k: opaque centre in the image's colour, a half-transparent band around it, and a
// fully transparent border, the way the lamps are built.
const Rgba kColours[] = {{200, 200, 200, 0}, {30, 200, 60, 0}, {250, 210, 20, 0}, {220, 30, 30, 0}};
uint8_t AlphaAt(int x, int y) {
    int edge = std::min(std::min(x, y), std::min(kSize - 1 - x, kSize - 1 - y));
    return edge < 2 ? 0 : edge < 4 ? 128 : 255;
}

ImageListSource Lamps() {
    ImageListSource s{kSize, kSize, {}};
    for (const Rgba& c : kColours) {
        std::vector<uint8_t> rgba;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) rgba.insert(rgba.end(), {c.r, c.g, c.b, AlphaAt(x, y)});
        s.images.push_back(rgba);
    }
    return s;
}

struct StreamDeleter {
    void operator()(IStream* s) const { s->Release(); }
};
using StreamPtr = std::unique_ptr<IStream, StreamDeleter>;

StreamPtr StreamOver(const std::vector<uint8_t>& bytes) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!mem) return nullptr;
    memcpy(GlobalLock(mem), bytes.data(), bytes.size());
    GlobalUnlock(mem);
    IStream* s = nullptr;
    if (FAILED(CreateStreamOnHGlobal(mem, TRUE, &s))) {
        GlobalFree(mem);
        return nullptr;
    }
    return StreamPtr(s);
}

std::vector<uint8_t> StreamBytes(IStream* s) {
    HGLOBAL mem = nullptr;
    if (FAILED(GetHGlobalFromStream(s, &mem))) return {};
    STATSTG st{};
    s->Stat(&st, STATFLAG_NONAME);
    const uint8_t* p = static_cast<const uint8_t*>(GlobalLock(mem));
    std::vector<uint8_t> out(p, p + st.cbSize.QuadPart);
    GlobalUnlock(mem);
    return out;
}

struct ImageList {
    HIMAGELIST h = nullptr;
    ~ImageList() {
        if (h) ImageList_Destroy(h);
    }
};

// A 32-bit top-down DIB section filled with one colour.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* bits = nullptr;
    int width = 0, height = 0;

    Canvas(int w, int h, COLORREF fill = kBackground) : width(w), height(h) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        void* p = nullptr;
        bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<uint32_t*>(p);
        old = SelectObject(dc, bitmap);
        HBRUSH brush = CreateSolidBrush(fill);
        RECT r{0, 0, w, h};
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        GdiFlush();
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    // The pixel as R, G, B.
    Rgba At(int x, int y) const {
        uint32_t v = bits[y * width + x];
        return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v), 0};
    }
};

uint8_t Blend(uint8_t src, uint8_t alpha, uint8_t dst) { return static_cast<uint8_t>((src * alpha + dst * (255 - alpha) + 127) / 255); }

TEST(ImageListRead, ReadsTheStreamWithCountAndSize) {
    auto stream = WriteImageListStream(Lamps());
    ASSERT_TRUE(stream);
    StreamPtr s = StreamOver(*stream);
    ASSERT_TRUE(s);
    ImageList list{ImageList_Read(s.get())};
    ASSERT_NE(list.h, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list.h), 4);
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(list.h, &cx, &cy));
    EXPECT_EQ(cx, kSize);
    EXPECT_EQ(cy, kSize);
    EXPECT_EQ(ImageList_GetBkColor(list.h), CLR_NONE);
    // The whole stream was consumed: nothing of it is left for a reader that follows.
    LARGE_INTEGER zero{};
    ULARGE_INTEGER at{};
    ASSERT_EQ(s->Seek(zero, STREAM_SEEK_CUR, &at), S_OK);
    EXPECT_EQ(at.QuadPart, stream->size());
}

TEST(ImageListRead, DrawsEachImageWithItsAlphaOverTheBackground) {
    auto stream = WriteImageListStream(Lamps());
    ASSERT_TRUE(stream);
    StreamPtr s = StreamOver(*stream);
    ImageList list{ImageList_Read(s.get())};
    ASSERT_NE(list.h, nullptr);
    Canvas canvas(4 * (kSize + 4), kSize);
    for (int k = 0; k < 4; ++k) ASSERT_TRUE(ImageList_Draw(list.h, k, canvas.dc, k * (kSize + 4), 0, ILD_NORMAL));
    GdiFlush();
    const Rgba bg{0x99, 0x66, 0x33, 0};
    for (int k = 0; k < 4; ++k) {
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                Rgba got = canvas.At(k * (kSize + 4) + x, y);
                uint8_t a = AlphaAt(x, y);
                Rgba want{Blend(kColours[k].r, a, bg.r), Blend(kColours[k].g, a, bg.g), Blend(kColours[k].b, a, bg.b), 0};
                ASSERT_LE(std::abs(got.r - want.r), 2) << "image " << k << " at " << x << "," << y << " alpha " << int(a);
                ASSERT_LE(std::abs(got.g - want.g), 2) << "image " << k << " at " << x << "," << y << " alpha " << int(a);
                ASSERT_LE(std::abs(got.b - want.b), 2) << "image " << k << " at " << x << "," << y << " alpha " << int(a);
            }
        }
        // The gap between two images keeps the background: nothing is drawn past 16 pixels.
        Rgba gap = canvas.At(k * (kSize + 4) + kSize + 1, kSize / 2);
        EXPECT_EQ(gap.r, bg.r);
        EXPECT_EQ(gap.b, bg.b);
    }
}

TEST(ImageListRead, MaskCoversTheOpaquePixels) {
    auto stream = WriteImageListStream(Lamps());
    StreamPtr s = StreamOver(*stream);
    ImageList list{ImageList_Read(s.get())};
    ASSERT_NE(list.h, nullptr);
    // ILD_MASK draws the mask alone, ANDed onto the canvas: black where the image is.
    Canvas canvas(kSize, kSize, RGB(255, 255, 255));
    ASSERT_TRUE(ImageList_Draw(list.h, 1, canvas.dc, 0, 0, ILD_MASK));
    GdiFlush();
    EXPECT_EQ(canvas.At(8, 8).r, 0);    // opaque centre
    EXPECT_EQ(canvas.At(0, 0).r, 255);  // transparent corner
    EXPECT_EQ(canvas.At(0, 8).r, 255);
}

TEST(ImageListRead, ThePlatformWritesTheSameLayoutBack) {
    auto stream = WriteImageListStream(Lamps());
    StreamPtr in = StreamOver(*stream);
    ImageList list{ImageList_Read(in.get())};
    ASSERT_NE(list.h, nullptr);
    IStream* raw = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &raw), S_OK);
    StreamPtr out(raw);
    ASSERT_TRUE(ImageList_Write(list.h, out.get()));
    std::vector<uint8_t> back = StreamBytes(out.get());
    ASSERT_EQ(back.size(), stream->size());
    EXPECT_TRUE(std::equal(back.begin(), back.begin() + kImageListHeaderSize, stream->begin())) << "header differs";
    // The colour bitmap, headers and pixels, comes back unchanged; the mask is the
    // platform's own (it derives it from the alpha channel with a threshold of its own).
    size_t colourEnd = kImageListHeaderSize + 54 + 64 * 32 * 4;
    // Except the BMP's file size field, which readers ignore and the platform fills in its own way.
    const size_t fileSize = kImageListHeaderSize + 2;
    for (size_t i = kImageListHeaderSize; i < colourEnd; ++i) {
        if (i < fileSize || i >= fileSize + 4) {
            ASSERT_EQ(back[i], (*stream)[i]) << "byte " << i;
        }
    }
}

TEST(ImageListRead, TheFormsLampListsLoad) {
    auto image = ReadTemplateImage(kMainWindowTemplate, kMainWindowTemplateSize);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->windows.size(), 1u);  // (FindWindow is a macro of the platform's headers here)
    const WindowTemplate* w = &image->windows[0];
    ASSERT_EQ(w->id, 0x52010001u);
    for (uint32_t id : {0x16010194u, 0x16010195u}) {  // 疆内超级列表框, 疆外超级列表框
        const UnitRecord* r = w->FindRecord(id);
        ASSERT_NE(r, nullptr);
        auto data = ListViewData::Parse(r->typeData.data(), r->typeData.size());
        ASSERT_TRUE(data);
        ASSERT_TRUE(HasImageList(data->itemImageList));
        StreamPtr s = StreamOver(std::vector<uint8_t>(data->itemImageList.begin() + 8, data->itemImageList.end()));
        ImageList list{ImageList_Read(s.get())};
        ASSERT_NE(list.h, nullptr);
        EXPECT_EQ(ImageList_GetImageCount(list.h), 4);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(list.h, &cx, &cy);
        EXPECT_EQ(cx, 16);
        EXPECT_EQ(cy, 16);
        // Lamp 1 is green: a green disc, the canvas untouched in the corners.
        Canvas canvas(16, 16, RGB(255, 255, 255));
        ASSERT_TRUE(ImageList_Draw(list.h, 1, canvas.dc, 0, 0, ILD_NORMAL));
        GdiFlush();
        Rgba corner = canvas.At(0, 0), centre = canvas.At(9, 10);
        EXPECT_EQ(corner.r + corner.g + corner.b, 3 * 255);
        EXPECT_GT(centre.g, centre.r + 60);
        EXPECT_GT(centre.g, centre.b + 60);
    }
}

}  // namespace
