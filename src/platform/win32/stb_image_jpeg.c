/* The JPEG decoder of stb_image (Debian libstb-dev), alone: no other
   formats, no stdio. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#define STBI_NO_SIMD
#include "stb_image.h"
