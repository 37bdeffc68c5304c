#include "cmp/JpegCapacity.h"

#include "krn/PictureLimits.h"

qint64 JpegBlockCount(const jpeg_decompress_struct& header) {
  qint64 blocks = 0;
  for (int c = 0; c < header.num_components; ++c)
    blocks += qint64(header.comp_info[c].width_in_blocks) * header.comp_info[c].height_in_blocks;
  return blocks;
}

int CheckJpegCapacity(qint64 width, qint64 height, qint64 blocks, bool arithmetic,
                      qint64 dataBytes) {
  const bool tooFewBits = !arithmetic && dataBytes * 8 < blocks;
  return CheckPictureSize(width, height, dataBytes, tooFewBits);
}
