#pragma once
// An off-screen picture: white when created, resizable, saved as BMP, PNG or JPEG.

#include "surface/Graphics.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qbm {

class TCanvas;

// How a bitmap stores its pixels: in colour, or as one grey byte each for pictures that only ever
// show black, white and greys (labels drawn to be read back): a quarter of the bytes to write.
enum class TBitmapPixels { Colour, Grey };

class TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height, TBitmapPixels pixels = TBitmapPixels::Colour);
    ~TBitmap();
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    TBitmap(TBitmap&&) noexcept;
    TBitmap& operator=(TBitmap&&) noexcept;

    int Width() const;
    int Height() const;
    TBitmapPixels Pixels() const;
    // Resizing keeps the pixels that still fit, and how they are stored; new area is white.
    void SetWidth(int width);
    void SetHeight(int height);
    void SetSize(int width, int height);

    // Pixels per inch the bitmap reports to its canvas (96 by default).
    void SetResolution(int dpi);
    int Resolution() const;

    TCanvas& Canvas();

    // A copy reduced (or enlarged) to width x height, each pixel the average of the area it covers:
    // bars a pixel or two wide keep their proportions instead of being dropped or doubled.
    TBitmap Smoothed(int width, int height) const;

    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);
    // One grey byte per pixel (0 black, 255 white), row by row: what a barcode reader takes.
    std::vector<uint8_t> Luminance() const;

    // Each throws EInOutError with the path when the file cannot be written.
    void SaveToBmpFile(const std::string& path) const;
    void SaveToPngFile(const std::string& path) const;
    // Colour, baseline, quality 90, through libjpeg.
    void SaveToJpegFile(const std::string& path, int quality = 90) const;

    // Saves by the extension of the path: .bmp, .png, .jpg/.jpeg. Throws EInOutError otherwise.
    void SaveToFile(const std::string& path) const;

    struct Impl;
    Impl& Internal() const { return *m_impl; }

private:
    std::unique_ptr<Impl> m_impl;
};

} // namespace qbm
