#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

// libjpeg reports fatal errors through error_exit, which must not return. Ours records a
// result code and longjmps back to the setjmp in the session that called libjpeg. Code
// between that setjmp and libjpeg must hold no object with a destructor.
struct JpegErrorManager {
  jpeg_error_mgr pub;  // first member: libjpeg hands back a pointer to it
  std::jmp_buf jump;
  int result;          // the code to return once the longjmp lands
};

// Fills in the manager and returns the pointer to give cinfo.err. Warnings are ignored,
// except a premature end of the file, which fails like an error; nothing is printed.
jpeg_error_mgr* InstallJpegErrorManager(JpegErrorManager& manager);

// Stops the libjpeg call in progress with the given result (for our own callbacks).
[[noreturn]] void AbortJpegSession(j_common_ptr cinfo, int result);

// The library's result code for a libjpeg message code.
int ResultForJpegMessage(int messageCode);
