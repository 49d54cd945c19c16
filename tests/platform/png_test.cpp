#include "platform/png_writer.hpp"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/canvas.hpp"

namespace grotmere {
namespace {

namespace fs = std::filesystem;

class PngTest : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("grotmere_png_" + std::to_string(getpid()) + "_" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    // A picture whose every pixel differs from its neighbours, so a swapped channel, a shifted
    // row or a lost byte shows up.
    static Framebuffer pattern(int32_t w, int32_t h) {
        Framebuffer frame(w, h);
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                frame.put(x, y,
                          Rgb{static_cast<uint8_t>(x * 7 + y), static_cast<uint8_t>(y * 13),
                              static_cast<uint8_t>(x ^ y)});
            }
        }
        Canvas canvas(frame);
        canvas.text("Grotmere", 2, 2);
        return frame;
    }

    // Writes a PNG in a format that write_png never produces.
    std::string write_other_format(const std::string& name, uint32_t format) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = 4;
        image.height = 3;
        image.format = format;
        std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image), 0x80);
        const std::string file = path(name);
        EXPECT_TRUE(png_image_write_to_file(&image, file.c_str(), 0, pixels.data(), 0, nullptr));
        return file;
    }

    fs::path dir_;
};

TEST_F(PngTest, RoundTripKeepsEveryPixel) {
    const Framebuffer original = pattern(820, 470);
    std::string error;
    ASSERT_TRUE(write_png(original, path("shot.png"), &error)) << error;

    Framebuffer back(820, 470);
    ASSERT_TRUE(read_png(path("shot.png"), back, &error)) << error;
    EXPECT_EQ(back, original);
}

TEST_F(PngTest, ReaderRefusesWhatTheWriterDoesNotWrite) {
    std::string error;
    ASSERT_TRUE(write_png(pattern(6, 5), path("small.png"), &error)) << error;
    std::ofstream(path("text.png")) << "not a picture at all";
    {
        std::ifstream in(path("small.png"), std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        std::ofstream(path("cut.png"), std::ios::binary).write(bytes.data(), bytes.size() / 2);
    }
    const std::string rejected[] = {
        path("missing.png"),
        path("text.png"),
        path("cut.png"),
        write_other_format("rgba.png", PNG_FORMAT_RGBA),
        write_other_format("grey.png", PNG_FORMAT_GRAY),
        write_other_format("deep.png", PNG_FORMAT_LINEAR_RGB),
    };
    const Framebuffer untouched = pattern(4, 3);
    for (const std::string& file : rejected) {
        SCOPED_TRACE(file);
        Framebuffer out = untouched;
        error.clear();
        EXPECT_FALSE(read_png(file, out, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(out, untouched);
    }

    Framebuffer wrong_size(5, 6);
    EXPECT_FALSE(read_png(path("small.png"), wrong_size, &error));
    EXPECT_NE(error.find("6 x 5"), std::string::npos) << error;
    EXPECT_FALSE(read_png(path("small.png"), wrong_size, nullptr));
}

TEST_F(PngTest, WriterReportsWhatItCannotDo) {
    std::string error;
    EXPECT_FALSE(write_png(pattern(4, 4), path("no/such/dir/shot.png"), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(write_png(Framebuffer(0, 0), path("empty.png"), &error));
    EXPECT_FALSE(write_png(Framebuffer(-3, 5), path("empty.png"), nullptr));
}

}  // namespace
}  // namespace grotmere
