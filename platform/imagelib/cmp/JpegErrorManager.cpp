#include "cmp/JpegErrorManager.h"

#include "krn/ResultCodes.h"

namespace {
JpegErrorManager* ManagerOf(j_common_ptr cinfo) {
  // pub is the first member of a standard-layout struct, so the pointers coincide.
  return reinterpret_cast<JpegErrorManager*>(cinfo->err);
}

void ExitOnError(j_common_ptr cinfo) {
  AbortJpegSession(cinfo, ResultForJpegMessage(cinfo->err->msg_code));
}

// The compressed data stopped before the picture did: the file ended, or the data ran
// into a marker other than a restart marker (a file cut short and closed with an EOI,
// or a header claiming more pixels than the data holds). libjpeg would go on and make
// up every remaining row, however many the header claims.
bool DataEndedEarly(j_common_ptr cinfo) {
  const int code = cinfo->err->msg_code;
  if (code != JWRN_JPEG_EOF && code != JWRN_HIT_MARKER) return false;
  if (!cinfo->is_decompressor) return code == JWRN_JPEG_EOF;
  const auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (code == JWRN_JPEG_EOF) {
    // In the last rows of a sequential picture libjpeg reads ahead past the data it needs,
    // so a file missing only its closing marker (some cameras and copy tools write such
    // files) ends here whole. When bits really are missing, the decoder hits the end
    // marker put in their place and says so next (JWRN_HIT_MARKER below).
    const long rowsPerBlockRow = long(decompress->max_v_samp_factor) * decompress->min_DCT_scaled_size;
    const bool lastRows = !decompress->progressive_mode && decompress->output_height > 0 &&
                          long(decompress->output_scanline) + 2 * rowsPerBlockRow >=
                              long(decompress->output_height);
    return !lastRows;
  }
  const int marker = decompress->unread_marker;
  // After a damaged restart interval the next interval resynchronises: damage stays local.
  return marker < JPEG_RST0 || marker > JPEG_RST0 + 7;
}

void FilterMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace messages
  if (DataEndedEarly(cinfo)) AbortJpegSession(cinfo, ERROR_FILE_CORRUPT);
  cinfo->err->num_warnings++;
}

void PrintNothing(j_common_ptr) {}
}  // namespace

jpeg_error_mgr* InstallJpegErrorManager(JpegErrorManager& manager) {
  jpeg_error_mgr* pub = jpeg_std_error(&manager.pub);
  pub->error_exit = ExitOnError;
  pub->emit_message = FilterMessage;
  pub->output_message = PrintNothing;
  manager.result = SUCCESS;
  return pub;
}

void AbortJpegSession(j_common_ptr cinfo, int result) {
  JpegErrorManager* manager = ManagerOf(cinfo);
  manager->result = result;
  std::longjmp(manager->jump, 1);
}

int ResultForJpegMessage(int messageCode) {
  switch (messageCode) {
    case JERR_NO_SOI:
    case JERR_INPUT_EMPTY:
      return ERROR_FILE_FORMAT;
    case JERR_FILE_READ:
      return ERROR_FILE_READ;
    case JERR_FILE_WRITE:
      return ERROR_FILE_WRITE;
    case JERR_OUT_OF_MEMORY:
    case JERR_NO_BACKING_STORE:
    case JERR_TFILE_CREATE:
      return ERROR_NO_MEMORY;
    case JERR_IMAGE_TOO_BIG:
    case JERR_WIDTH_OVERFLOW:
      return ERROR_IMAGE_TOO_LARGE;
    // A JPEG, but of a kind this build cannot decode (lossless, 12-bit samples, odd
    // colour spaces).
    case JERR_SOF_UNSUPPORTED:
    case JERR_CCIR601_NOTIMPL:
    case JERR_BAD_PRECISION:
    case JERR_CONVERSION_NOTIMPL:
    case JERR_NOT_COMPILED:
    case JERR_ARITH_NOTIMPL:
      return ERROR_FORMAT_NO_READER;
    default:
      return ERROR_FILE_CORRUPT;
  }
}
