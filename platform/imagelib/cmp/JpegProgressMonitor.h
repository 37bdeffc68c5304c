#pragma once

// jpeglib.h needs FILE declared before it.
#include <cstdio>
#include <jpeglib.h>

// Passes libjpeg's progress on to ReportProgress every few percent. When the callback
// asks to stop, the libjpeg call in progress ends with ERROR_USER_ABORT.
struct JpegProgressMonitor {
  jpeg_progress_mgr pub;  // first member: libjpeg hands back a pointer to it
  int lastPercent;
};

jpeg_progress_mgr* InstallJpegProgressMonitor(JpegProgressMonitor& monitor);
