#include "cmp/JpegCodec.h"

#include <algorithm>

#include "cmp/JpegCapacity.h"
#include "cmp/JpegMarkerMetadata.h"
#include "cmp/JpegReader.h"
#include "krn/ResultCodes.h"

namespace {
// The header of most files fits in one block; EXIF with a thumbnail takes a few more.
constexpr std::size_t kHeaderBufferSize = 16 * 1024;
}  // namespace

int JpegQualityForFactor(int qualityFactor) {
  const int factor = std::clamp(qualityFactor, 2, 255);
  return factor <= 50 ? 100 - factor : std::max(1, 2500 / factor);
}

int ReadJpegInfo(const QString& file, JpegInfo& info) {
  JpegReader reader;
  int result = reader.open(file, kHeaderBufferSize);
  if (result == SUCCESS) result = reader.readHeader(false);
  if (result != SUCCESS) return result;

  const jpeg_decompress_struct& header = reader.info();
  JpegInfo read;
  read.Width = int(header.image_width);
  read.Height = int(header.image_height);
  read.Components = header.num_components;
  read.Orientation = ReadJpegMarkerMetadata(header.marker_list, false).Orientation;
  if (header.num_components >= 3) {
    // libjpeg has checked every factor (1..4) by the time the header is read.
    const jpeg_component_info& luma = header.comp_info[0];
    const jpeg_component_info& chroma = header.comp_info[1];
    read.SubsamplingX = std::max(1, luma.h_samp_factor / chroma.h_samp_factor);
    read.SubsamplingY = std::max(1, luma.v_samp_factor / chroma.v_samp_factor);
  }
  read.Progressive = header.progressive_mode;
  read.Arithmetic = header.arith_code;
  read.Blocks = JpegBlockCount(header);
  read.DataBytes = reader.dataBytes();
  info = read;
  return SUCCESS;
}

int CheckJpegData(const JpegInfo& info) {
  return CheckJpegCapacity(info.Width, info.Height, info.Blocks, info.Arithmetic, info.DataBytes);
}

int ReadJpegDescription(const QString& file, QString& description) {
  JpegReader reader;
  int result = reader.open(file, kHeaderBufferSize);
  if (result == SUCCESS) result = reader.readHeader(true);
  if (result != SUCCESS) return result;
  const JpegMarkerMetadata metadata = ReadJpegMarkerMetadata(reader.info().marker_list, true);
  if (!metadata.Description) return ERROR_NO_COMMENT;
  description = *metadata.Description;
  return SUCCESS;
}
