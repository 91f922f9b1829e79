#include "tools/png.h"

#include "platform/files.h"

#include <png.h>

#include <cassert>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <new>

namespace {


// libpng reports errors through longjmp. The message is kept here and the
// jump lands in the same function that called libpng, so no jump ever
// crosses a C++ frame with objects to destroy.
struct ErrorState {
    char message[200];
};

void onError(png_structp png, png_const_charp message) {
    auto* state = static_cast<ErrorState*>(png_get_error_ptr(png));
    if (state != nullptr) {
        std::snprintf(state->message, sizeof state->message, "%s", message);
    }
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// Reading happens in plain C style: every C++ object it needs is created by
// the caller before setjmp, so that a longjmp out of libpng skips no
// destructor. Rows are filled through row pointers the caller prepared.
struct ReadJob {
    FILE* file;
    ErrorState errors;
    png_uint_32 width, height;
    int bitDepth, colourType, interlace;
    std::vector<uint8_t>* pixels;
    std::vector<png_bytep>* rows;
    const char* refused; // set when the header is not one we accept
};

bool readHeader(png_structp png, png_infop info, ReadJob& job) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_init_io(png, job.file);
    // No limit of libpng's own beyond its default: readPng checks the size
    // itself right after the header, so that the refusal names the size.
    png_read_info(png, info);
    png_get_IHDR(png, info, &job.width, &job.height, &job.bitDepth, &job.colourType, &job.interlace,
                 nullptr, nullptr);
    return true;
}

bool readRows(png_structp png, png_infop info, ReadJob& job) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    png_read_image(png, job.rows->data());
    png_read_end(png, nullptr);
    return true;
}

struct WriteJob {
    std::vector<uint8_t>* bytes;
    ErrorState errors;
    const PngImage* image;
    std::vector<png_bytep>* rows;
};

// The picture is made in memory and written in one piece by replaceFile. No
// exception may cross libpng's C frames, so running out of memory becomes a
// libpng error.
void appendBytes(png_structp png, png_bytep data, size_t length) {
    auto* job = static_cast<WriteJob*>(png_get_io_ptr(png));
    try {
        job->bytes->insert(job->bytes->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        png_error(png, "out of memory");
    }
}

void flushNothing(png_structp) {}

bool writeAll(png_structp png, png_infop info, WriteJob& job) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_write_fn(png, &job, appendBytes, flushNothing);
    const int type = job.image->channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
    png_set_IHDR(png, info, static_cast<png_uint_32>(job.image->width),
                 static_cast<png_uint_32>(job.image->height), 8, type, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, job.rows->data());
    png_write_end(png, nullptr);
    return true;
}

} // namespace

std::string readPng(const std::string& path, PngImage& image, int32_t maxSide) {
    assert(maxSide >= 1 && maxSide <= PNG_MAX_SIDE);
    image = PngImage{};
    FileHandle file;
    std::string reason;
    if (openForReading(path, file, &reason) != FileStatus::Ok) {
        return "cannot be opened (" + reason + ")";
    }
    unsigned char signature[8];
    if (std::fread(signature, 1, sizeof signature, file.get()) != sizeof signature ||
        png_sig_cmp(signature, 0, sizeof signature) != 0) {
        return "is not a PNG file";
    }
    std::vector<uint8_t> pixels;
    std::vector<png_bytep> rows;
    ReadJob job{};
    job.file = file.get();
    job.pixels = &pixels;
    job.rows = &rows;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &job.errors, onError, onWarning);
    if (png == nullptr) {
        return "cannot start the PNG reader";
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return "cannot start the PNG reader";
    }
    png_set_sig_bytes(png, sizeof signature);

    std::string error;
    if (!readHeader(png, info, job)) {
        error = std::string("is a damaged PNG (") + job.errors.message + ")";
    } else if (job.width > png_uint_32(maxSide) || job.height > png_uint_32(maxSide)) {
        // Checked before the pixel block is sized from the header: a file of a
        // few bytes may claim any size, and the rows are only read after.
        error = "is " + std::to_string(job.width) + " x " + std::to_string(job.height) +
                " pixels; at most " + std::to_string(maxSide) + " on a side are accepted";
    } else if (job.bitDepth != 8 ||
               (job.colourType != PNG_COLOR_TYPE_RGB && job.colourType != PNG_COLOR_TYPE_RGBA)) {
        error = "is a PNG of " + std::to_string(job.bitDepth) + "-bit " +
                (job.colourType == PNG_COLOR_TYPE_GRAY         ? "grey"
                 : job.colourType == PNG_COLOR_TYPE_GRAY_ALPHA ? "grey with alpha"
                 : job.colourType == PNG_COLOR_TYPE_PALETTE    ? "palette"
                 : job.colourType == PNG_COLOR_TYPE_RGB        ? "RGB"
                                                               : "RGBA") +
                " pixels; only 8-bit RGB or RGBA is accepted";
    } else {
        const int channels = job.colourType == PNG_COLOR_TYPE_RGBA ? 4 : 3;
        const size_t stride = size_t{job.width} * channels;
        pixels.resize(stride * job.height);
        rows.resize(job.height);
        for (png_uint_32 y = 0; y < job.height; ++y) {
            rows[y] = pixels.data() + stride * y;
        }
        if (!readRows(png, info, job)) {
            error = std::string("is a damaged PNG (") + job.errors.message + ")";
        } else {
            image.width = static_cast<int32_t>(job.width);
            image.height = static_cast<int32_t>(job.height);
            image.channels = channels;
            image.pixels = std::move(pixels);
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return error;
}

std::string writePng(const std::string& path, const PngImage& image) {
    if (image.channels != 3 && image.channels != 4) {
        return "only RGB or RGBA pictures are written";
    }
    if (image.width < 1 || image.height < 1 || image.width > PNG_MAX_SIDE ||
        image.height > PNG_MAX_SIDE) {
        return "a PNG cannot be " + std::to_string(image.width) + " x " +
               std::to_string(image.height) + " pixels";
    }
    const size_t stride = size_t(image.width) * image.channels;
    if (image.pixels.size() != stride * image.height) {
        return "the pixel block does not match the picture's size";
    }
    std::vector<png_bytep> rows(image.height);
    for (int32_t y = 0; y < image.height; ++y) {
        // libpng's row type is not const, but writing only reads the rows.
        rows[y] = const_cast<png_bytep>(image.pixels.data() + stride * y);
    }
    std::vector<uint8_t> bytes;
    WriteJob job{};
    job.bytes = &bytes;
    job.image = &image;
    job.rows = &rows;
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &job.errors, onError, onWarning);
    if (png == nullptr) {
        return "cannot start the PNG writer";
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return "cannot start the PNG writer";
    }
    std::string error;
    if (!writeAll(png, info, job)) {
        error = std::string("cannot be written (") + job.errors.message + ")";
    }
    png_destroy_write_struct(&png, &info);
    if (!error.empty()) {
        return error;
    }
    return replaceFile(path, bytes.data(), bytes.size());
}
