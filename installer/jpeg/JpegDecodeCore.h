/* The C side of the JPEG decoder. All libjpeg work, including its error
   recovery by setjmp/longjmp, stays inside C frames here, so no jump ever
   crosses a C++ frame. */
#ifndef DS_JPEG_DECODE_CORE_H
#define DS_JPEG_DECODE_CORE_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define DS_JPEG_MESSAGE_MAX 256

typedef struct ds_jpeg_picture {
  unsigned char* pixels; /* malloc'd; top-down rows of width * 4 bytes, B G R A */
  unsigned width;
  unsigned height;
  char message[DS_JPEG_MESSAGE_MAX]; /* why decoding failed; empty on success */
} ds_jpeg_picture;

/* Decodes a complete JPEG file held in memory. Any corruption libjpeg notices,
   even one it would only warn about (such as a truncated file), fails the
   decoding. Pictures of more than max_pixels pixels are refused before any
   pixel memory is taken. Returns 1 on success (free the pixels with
   ds_jpeg_free), 0 with picture->message on failure (nothing to free). */
int ds_jpeg_decode_bgra(const unsigned char* data, size_t size, unsigned long long max_pixels,
                        ds_jpeg_picture* picture);

void ds_jpeg_free(unsigned char* pixels);

#ifdef __cplusplus
}
#endif

#endif
