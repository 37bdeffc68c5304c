#include "cmp/JpegMarkerMetadata.h"

#include "cmp/DescriptionText.h"
#include "cmp/ExifSegment.h"
#include "cmp/XmpPacket.h"

namespace {
const char* TextOf(jpeg_saved_marker_ptr marker) {
  return reinterpret_cast<const char*>(marker->data);
}

std::optional<QString> NonBlank(QString text) {
  if (IsBlankDescription(text)) return std::nullopt;
  return text;
}
}  // namespace

JpegMarkerMetadata ReadJpegMarkerMetadata(jpeg_saved_marker_ptr markers, bool wantDescription) {
  JpegMarkerMetadata result;
  jpeg_saved_marker_ptr exif = nullptr, xmp = nullptr, comment = nullptr;
  for (jpeg_saved_marker_ptr m = markers; m; m = m->next) {
    // data_length is the stored part of the segment; every read below is bounded by it.
    if (m->marker == JPEG_APP0 + 1 && !exif && IsExifSegment(m->data, m->data_length)) exif = m;
    else if (m->marker == JPEG_APP0 + 1 && !xmp && IsXmpSegment(TextOf(m), m->data_length)) xmp = m;
    else if (m->marker == JPEG_COM && !comment) comment = m;
  }

  if (exif) {
    ExifFields fields;
    ParseExifSegment(exif->data, exif->data_length, fields);
    result.Orientation = fields.Orientation;
    if (wantDescription && fields.Description)
      result.Description = NonBlank(
          DescriptionFromBytes(fields.Description->constData(), std::size_t(fields.Description->size())));
  }
  if (!wantDescription) return result;
  if (!result.Description && xmp) {
    if (std::optional<QString> text = ReadXmpDescription(TextOf(xmp), xmp->data_length))
      result.Description = NonBlank(std::move(*text));
  }
  if (!result.Description && comment)
    result.Description = NonBlank(DescriptionFromBytes(TextOf(comment), comment->data_length));
  return result;
}
