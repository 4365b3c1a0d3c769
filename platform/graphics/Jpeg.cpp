#include "platform/graphics/Jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

// libjpeg reports fatal errors through a callback that must not return. The
// callback long-jumps back to the one function that called setjmp; every C++
// object lives outside that function, so no destructor is ever skipped.

namespace jpeg {
namespace {

// Larger pictures are refused rather than allocated (a hostile header can ask
// for 65535 x 65535 pixels).
constexpr qint64 kMaxPixels = qint64(1) << 26;

struct ErrorMgr {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool truncated;
};

void ErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorMgr*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void OutputMessage(j_common_ptr) { }

void EmitMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;
    auto* err = reinterpret_cast<ErrorMgr*>(cinfo->err);
    if (cinfo->err->msg_code == JWRN_JPEG_EOF)
        err->truncated = true;
    cinfo->err->num_warnings++;
}

void InitErrorMgr(ErrorMgr& err)
{
    std::memset(&err, 0, sizeof err);
    jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.output_message = OutputMessage;
    err.pub.emit_message = EmitMessage;
}

// Memory source: at the end of the data it feeds a fake end-of-image marker
// and flags the stream as truncated.
struct Source {
    jpeg_source_mgr pub;
    const JOCTET* data;
    size_t size;
};

const JOCTET kFakeEoi[2] = { 0xFF, JPEG_EOI };

void SrcInit(j_decompress_ptr) { }

boolean SrcFill(j_decompress_ptr cinfo)
{
    WARNMS(cinfo, JWRN_JPEG_EOF);
    cinfo->src->next_input_byte = kFakeEoi;
    cinfo->src->bytes_in_buffer = 2;
    return TRUE;
}

void SrcSkip(j_decompress_ptr cinfo, long count)
{
    if (count <= 0)
        return;
    jpeg_source_mgr* src = cinfo->src;
    if (static_cast<unsigned long>(count) > src->bytes_in_buffer) {
        src->bytes_in_buffer = 0;
        SrcFill(cinfo);
        return;
    }
    src->next_input_byte += count;
    src->bytes_in_buffer -= static_cast<size_t>(count);
}

void SrcTerm(j_decompress_ptr) { }

void InitSource(Source& src, const QByteArray& data)
{
    std::memset(&src, 0, sizeof src);
    src.data = reinterpret_cast<const JOCTET*>(data.constData());
    src.size = static_cast<size_t>(data.size());
    src.pub.init_source = SrcInit;
    src.pub.fill_input_buffer = SrcFill;
    src.pub.skip_input_data = SrcSkip;
    src.pub.resync_to_restart = jpeg_resync_to_restart;
    src.pub.term_source = SrcTerm;
    src.pub.next_input_byte = src.data;
    src.pub.bytes_in_buffer = src.size;
}

// Growing memory destination (plain C allocation: nothing may throw inside
// libjpeg's call chain).
struct Dest {
    jpeg_destination_mgr pub;
    JOCTET* buffer;
    size_t capacity;
};

void DestInit(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<Dest*>(cinfo->dest);
    d->pub.next_output_byte = d->buffer;
    d->pub.free_in_buffer = d->capacity;
}

boolean DestEmpty(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<Dest*>(cinfo->dest);
    const size_t used = d->capacity;
    const size_t grown = d->capacity * 2;
    auto* bigger = static_cast<JOCTET*>(std::realloc(d->buffer, grown));
    if (!bigger)
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 1);
    d->buffer = bigger;
    d->capacity = grown;
    d->pub.next_output_byte = d->buffer + used;
    d->pub.free_in_buffer = grown - used;
    return TRUE;
}

void DestTerm(j_compress_ptr) { }

struct DecodeResult {
    int width;
    int height;
    int components;
};

// The only function with setjmp. `image` is filled only when `withPixels`.
bool DecodeGuarded(
    jpeg_decompress_struct* cinfo, ErrorMgr* err, Source* src, bool withPixels, QImage* image, DecodeResult* result)
{
    if (setjmp(err->jump)) {
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    cinfo->err = &err->pub;
    jpeg_create_decompress(cinfo);
    cinfo->src = &src->pub;
    jpeg_read_header(cinfo, TRUE);
    result->width = static_cast<int>(cinfo->image_width);
    result->height = static_cast<int>(cinfo->image_height);
    result->components = cinfo->num_components;
    if (!withPixels) {
        jpeg_destroy_decompress(cinfo);
        return true;
    }
    if (qint64(cinfo->image_width) * cinfo->image_height > kMaxPixels) {
        std::snprintf(
            err->message, sizeof err->message, "JPEG image too large (%ux%u)", cinfo->image_width, cinfo->image_height);
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    if (cmyk)
        cinfo->out_color_space = JCS_CMYK;
    else if (cinfo->num_components == 1)
        cinfo->out_color_space = JCS_GRAYSCALE;
    else
        cinfo->out_color_space = JCS_RGB;
    jpeg_start_decompress(cinfo);
    const int w = static_cast<int>(cinfo->output_width);
    const int h = static_cast<int>(cinfo->output_height);
    const int channels = cinfo->output_components;
    *image = QImage(w, h, QImage::Format_RGB32);
    if (image->isNull()) {
        std::snprintf(err->message, sizeof err->message, "Out of memory for a %dx%d JPEG image", w, h);
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    JSAMPARRAY row = (*cinfo->mem->alloc_sarray)(
        reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, static_cast<JDIMENSION>(w * channels), 1);
    const bool inverted = cmyk && cinfo->saw_Adobe_marker;
    while (cinfo->output_scanline < cinfo->output_height) {
        const int y = static_cast<int>(cinfo->output_scanline);
        jpeg_read_scanlines(cinfo, row, 1);
        auto* dst = reinterpret_cast<QRgb*>(image->scanLine(y));
        const JSAMPLE* s = row[0];
        for (int x = 0; x < w; ++x, s += channels) {
            if (channels == 1) {
                dst[x] = qRgb(s[0], s[0], s[0]);
            } else if (channels == 3) {
                dst[x] = qRgb(s[0], s[1], s[2]);
            } else {
                int c = s[0], m = s[1], yy = s[2], k = s[3];
                if (!inverted) {
                    c = 255 - c;
                    m = 255 - m;
                    yy = 255 - yy;
                    k = 255 - k;
                }
                dst[x] = qRgb(c * k / 255, m * k / 255, yy * k / 255);
            }
        }
    }
    jpeg_finish_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    if (err->truncated) {
        std::snprintf(err->message, sizeof err->message, "Premature end of JPEG file");
        return false;
    }
    return true;
}

bool EncodeGuarded(jpeg_compress_struct* cinfo, ErrorMgr* err, Dest* dest, const QImage* rows, int quality,
    bool grayscale, bool progressive)
{
    if (setjmp(err->jump)) {
        jpeg_destroy_compress(cinfo);
        return false;
    }
    cinfo->err = &err->pub;
    jpeg_create_compress(cinfo);
    cinfo->dest = &dest->pub;
    cinfo->image_width = static_cast<JDIMENSION>(rows->width());
    cinfo->image_height = static_cast<JDIMENSION>(rows->height());
    cinfo->input_components = grayscale ? 1 : 3;
    cinfo->in_color_space = grayscale ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, quality, TRUE);
    if (progressive)
        jpeg_simple_progression(cinfo);
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rows->constScanLine(static_cast<int>(cinfo->next_scanline)));
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    jpeg_destroy_compress(cinfo);
    return true;
}

void SetError(QString* error, const char* message)
{
    if (error)
        *error = QString::fromLocal8Bit(message);
}

} // namespace

bool LooksLikeJpeg(const QByteArray& data)
{
    return data.size() >= 3 && uchar(data[0]) == 0xFF && uchar(data[1]) == 0xD8 && uchar(data[2]) == 0xFF;
}

bool Decode(const QByteArray& data, QImage& image, QString* error)
{
    image = QImage();
    if (data.isEmpty()) {
        SetError(error, "Empty JPEG data");
        return false;
    }
    jpeg_decompress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    ErrorMgr err;
    InitErrorMgr(err);
    Source src;
    InitSource(src, data);
    DecodeResult result {};
    QImage decoded;
    if (!DecodeGuarded(&cinfo, &err, &src, true, &decoded, &result)) {
        SetError(error, err.message);
        return false;
    }
    image = decoded;
    return true;
}

bool ReadHeader(const QByteArray& data, int& width, int& height, int& components, QString* error)
{
    jpeg_decompress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    ErrorMgr err;
    InitErrorMgr(err);
    Source src;
    InitSource(src, data);
    DecodeResult result {};
    if (data.isEmpty() || !DecodeGuarded(&cinfo, &err, &src, false, nullptr, &result)) {
        SetError(error, data.isEmpty() ? "Empty JPEG data" : err.message);
        return false;
    }
    width = result.width;
    height = result.height;
    components = result.components;
    return true;
}

bool Encode(const QImage& image, const EncodeOptions& options, QByteArray& out, QString* error)
{
    out.clear();
    if (image.isNull() || image.width() <= 0 || image.height() <= 0) {
        SetError(error, "Cannot encode an empty image as JPEG");
        return false;
    }
    if (image.width() > JPEG_MAX_DIMENSION || image.height() > JPEG_MAX_DIMENSION) {
        SetError(error, "Image too large for JPEG");
        return false;
    }
    // Transparent pixels are laid on white, as a picture exported onto a page.
    QImage flat = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (flat.isNull()) {
        SetError(error, "Out of memory");
        return false;
    }
    for (int y = 0; y < flat.height(); ++y) {
        auto* p = reinterpret_cast<QRgb*>(flat.scanLine(y));
        for (int x = 0; x < flat.width(); ++x) {
            const int back = 255 - qAlpha(p[x]);
            p[x] = qRgb(qRed(p[x]) + back, qGreen(p[x]) + back, qBlue(p[x]) + back);
        }
    }
    const QImage rows = flat.convertToFormat(options.Grayscale ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    if (rows.isNull()) {
        SetError(error, "Out of memory");
        return false;
    }
    jpeg_compress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    ErrorMgr err;
    InitErrorMgr(err);
    Dest dest;
    std::memset(&dest, 0, sizeof dest);
    dest.capacity = 4096;
    dest.buffer = static_cast<JOCTET*>(std::malloc(dest.capacity));
    if (!dest.buffer) {
        SetError(error, "Out of memory");
        return false;
    }
    dest.pub.init_destination = DestInit;
    dest.pub.empty_output_buffer = DestEmpty;
    dest.pub.term_destination = DestTerm;
    const int quality = std::clamp(options.Quality, 1, 100);
    const bool ok = EncodeGuarded(&cinfo, &err, &dest, &rows, quality, options.Grayscale, options.Progressive);
    if (ok) {
        const size_t used = dest.capacity - dest.pub.free_in_buffer;
        out = QByteArray(reinterpret_cast<const char*>(dest.buffer), static_cast<qsizetype>(used));
    } else {
        SetError(error, err.message);
    }
    std::free(dest.buffer);
    return ok;
}

} // namespace jpeg
