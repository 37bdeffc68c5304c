#pragma once

// Starting ImageMagick once per process with our own policy, and what its coders can do.

#include <QString>
#include <exception>

// Starts Magick on first use. Before that, MAGICK_CONFIGURE_PATH is pointed at the
// magick/ folder beside this module (unless the environment already sets it), so our
// policy.xml lifts the system's limits on picture size. At the start Magick's limits
// are set to the library's own (krn/PictureLimits.h) and its temporary files go to a
// private folder that is removed with the process.
void EnsureMagick();
// The folder searched for our policy.xml ("" when the environment chose another).
QString MagickPolicyFolder();
// Whether Magick's limits let a picture of this size be decoded.
bool MagickAllowsSize(qint64 width, qint64 height);

// Whether the coder exists here, has that direction and the policy allows it.
bool MagickCanRead(const char* coder);
bool MagickCanWrite(const char* coder);

// The library's result for an exception caught around a Magick call.
int MagickErrorResult(std::exception_ptr error, bool writing);
