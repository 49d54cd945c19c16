#include "platform/png_writer.hpp"

#include <png.h>

#include <cstdint>
#include <vector>

namespace grotmere {

namespace {

bool fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

// libpng's simplified API reports through the image and needs no setjmp of ours: a damaged file
// cannot longjmp across C++ frames.
struct PngImage {
    png_image image{};
    PngImage() { image.version = PNG_IMAGE_VERSION; }
    ~PngImage() { png_image_free(&image); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;
    std::string message() const { return image.message; }
};

void copy_into(const std::vector<uint8_t>& rgb, Framebuffer& out) {
    size_t at = 0;
    for (int32_t y = 0; y < out.height(); ++y) {
        for (int32_t x = 0; x < out.width(); ++x, at += 3) {
            out.put(x, y, Rgb{rgb[at], rgb[at + 1], rgb[at + 2]});
        }
    }
}

}  // namespace

bool write_png(const Framebuffer& frame, const std::string& path, std::string* error) {
    if (frame.width() <= 0 || frame.height() <= 0) {
        return fail(error, path + ": an empty picture cannot be written as PNG");
    }
    PngImage png;
    png.image.width = static_cast<png_uint_32>(frame.width());
    png.image.height = static_cast<png_uint_32>(frame.height());
    png.image.format = PNG_FORMAT_RGB;
    const png_int_32 row_stride = frame.width() * 3;
    if (!png_image_write_to_file(&png.image, path.c_str(), 0, frame.bytes().data(), row_stride,
                                 nullptr)) {
        return fail(error, path + ": " + png.message());
    }
    return true;
}

bool read_png(const std::string& path, Framebuffer& out, std::string* error) {
    PngImage png;
    if (!png_image_begin_read_from_file(&png.image, path.c_str())) {
        return fail(error, path + ": " + png.message());
    }
    // Only what write_png produces: anything else would need a conversion that could hide a
    // difference between two screenshots.
    if (png.image.format != PNG_FORMAT_RGB) {
        return fail(error, path + ": not an 8-bit RGB PNG without alpha");
    }
    if (png.image.width != static_cast<png_uint_32>(out.width()) ||
        png.image.height != static_cast<png_uint_32>(out.height())) {
        return fail(error, path + ": the picture is " + std::to_string(png.image.width) + " x " +
                               std::to_string(png.image.height) + ", expected " +
                               std::to_string(out.width()) + " x " + std::to_string(out.height()));
    }
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(png.image));
    if (!png_image_finish_read(&png.image, nullptr, rgb.data(), 0, nullptr)) {
        return fail(error, path + ": " + png.message());
    }
    copy_into(rgb, out);
    return true;
}

}  // namespace grotmere
