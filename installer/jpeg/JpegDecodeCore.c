/* libjpeg decoding into 32-bit BGRA. See JpegDecodeCore.h. */
#include "installer/jpeg/JpegDecodeCore.h"

/* clang-format off */
#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <jpeglib.h>
#include <jerror.h>
/* clang-format on */

typedef struct error_state {
  struct jpeg_error_mgr pub;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
} error_state;

static void copy_message(char* dst, const char* src) {
  size_t n = strlen(src);
  if (n >= DS_JPEG_MESSAGE_MAX) n = DS_JPEG_MESSAGE_MAX - 1;
  memcpy(dst, src, n);
  dst[n] = '\0';
}

static void on_error_exit(j_common_ptr cinfo) {
  error_state* err = (error_state*)cinfo->err;
  (*cinfo->err->format_message)(cinfo, err->message);
  longjmp(err->jump, 1);
}

/* libjpeg only warns about corrupt or missing data and goes on with made-up
   pixels; a warning is a failure here. Trace messages (level > 0) are dropped. */
static void on_emit_message(j_common_ptr cinfo, int msg_level) {
  if (msg_level < 0) on_error_exit(cinfo);
}

/* A source manager over one memory block. At the end of the data it reports
   the premature end as libjpeg's own warning, which fails the decoding. */
static const JOCTET k_fake_eoi[2] = {0xFF, JPEG_EOI};

static void src_init(j_decompress_ptr cinfo) { (void)cinfo; }

static boolean src_fill(j_decompress_ptr cinfo) {
  WARNMS(cinfo, JWRN_JPEG_EOF);
  cinfo->src->next_input_byte = k_fake_eoi;
  cinfo->src->bytes_in_buffer = 2;
  return TRUE;
}

static void src_skip(j_decompress_ptr cinfo, long num_bytes) {
  struct jpeg_source_mgr* src = cinfo->src;
  if (num_bytes <= 0) return;
  while ((size_t)num_bytes > src->bytes_in_buffer) {
    num_bytes -= (long)src->bytes_in_buffer;
    (void)(*src->fill_input_buffer)(cinfo);
  }
  src->next_input_byte += num_bytes;
  src->bytes_in_buffer -= (size_t)num_bytes;
}

static void src_term(j_decompress_ptr cinfo) { (void)cinfo; }

static unsigned char clamp_byte(unsigned v) { return (unsigned char)(v > 255 ? 255 : v); }

/* One decoded row (gray, RGB or CMYK) into BGRA. */
static void row_to_bgra(const JSAMPLE* in, unsigned char* out, unsigned width, int components, int adobe_cmyk) {
  unsigned x;
  for (x = 0; x < width; ++x, out += 4) {
    if (components == 1) {
      out[0] = out[1] = out[2] = in[x];
    } else if (components == 3) {
      out[0] = in[3 * x + 2];
      out[1] = in[3 * x + 1];
      out[2] = in[3 * x];
    } else {
      /* Adobe writes CMYK inverted (0 = full ink); others plain. */
      unsigned c = in[4 * x], m = in[4 * x + 1], y = in[4 * x + 2], k = in[4 * x + 3];
      if (!adobe_cmyk) {
        c = 255 - c;
        m = 255 - m;
        y = 255 - y;
        k = 255 - k;
      }
      out[0] = clamp_byte((y * k + 127) / 255);
      out[1] = clamp_byte((m * k + 127) / 255);
      out[2] = clamp_byte((c * k + 127) / 255);
    }
    out[3] = 255;
  }
}

int ds_jpeg_decode_bgra(const unsigned char* data, size_t size, unsigned long long max_pixels,
                        ds_jpeg_picture* picture) {
  struct jpeg_decompress_struct cinfo;
  error_state err;
  struct jpeg_source_mgr src;
  /* Written after setjmp and read after a jump: volatile. */
  unsigned char* volatile pixels = NULL;
  JSAMPLE* volatile row = NULL;
  unsigned width, height;
  int components;

  memset(picture, 0, sizeof *picture);
  if (data == NULL || size == 0) {
    copy_message(picture->message, "no JPEG data");
    return 0;
  }

  memset(&cinfo, 0, sizeof cinfo);
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = on_error_exit;
  err.pub.emit_message = on_emit_message;
  err.message[0] = '\0';
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    free(pixels);
    free(row);
    copy_message(picture->message, err.message[0] ? err.message : "JPEG decoding failed");
    return 0;
  }

  jpeg_create_decompress(&cinfo);
  src.init_source = src_init;
  src.fill_input_buffer = src_fill;
  src.skip_input_data = src_skip;
  src.resync_to_restart = jpeg_resync_to_restart;
  src.term_source = src_term;
  src.next_input_byte = data;
  src.bytes_in_buffer = size;
  cinfo.src = &src;

  (void)jpeg_read_header(&cinfo, TRUE);
  if ((unsigned long long)cinfo.image_width * cinfo.image_height > max_pixels) {
    snprintf(picture->message, DS_JPEG_MESSAGE_MAX, "JPEG picture too large: %u x %u pixels", cinfo.image_width,
             cinfo.image_height);
    jpeg_destroy_decompress(&cinfo);
    return 0;
  }
  switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
      cinfo.out_color_space = JCS_GRAYSCALE;
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      cinfo.out_color_space = JCS_CMYK;
      break;
    default:
      cinfo.out_color_space = JCS_RGB;
      break;
  }
  (void)jpeg_start_decompress(&cinfo);

  width = cinfo.output_width;
  height = cinfo.output_height;
  components = cinfo.output_components;
  if (components != 1 && components != 3 && components != 4) {
    snprintf(picture->message, DS_JPEG_MESSAGE_MAX, "unsupported JPEG colour layout (%d components)", components);
    jpeg_destroy_decompress(&cinfo);
    return 0;
  }
  pixels = (unsigned char*)malloc((size_t)width * height * 4);
  row = (JSAMPLE*)malloc((size_t)width * (size_t)components);
  if (pixels == NULL || row == NULL) {
    free(pixels);
    free(row);
    jpeg_destroy_decompress(&cinfo);
    copy_message(picture->message, "out of memory for the JPEG picture");
    return 0;
  }
  while (cinfo.output_scanline < height) {
    JSAMPROW rows[1];
    unsigned y = cinfo.output_scanline;
    rows[0] = row;
    if (jpeg_read_scanlines(&cinfo, rows, 1) != 1) ERREXIT(&cinfo, JERR_INPUT_EMPTY);
    row_to_bgra(row, pixels + (size_t)y * width * 4, width, components, cinfo.saw_Adobe_marker);
  }
  (void)jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  free(row);

  picture->pixels = pixels;
  picture->width = width;
  picture->height = height;
  return 1;
}

void ds_jpeg_free(unsigned char* pixels) { free(pixels); }
