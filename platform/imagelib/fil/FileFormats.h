#pragma once

#include <QString>

// File-format codes of the imaging library.
enum FileFormat : int {
  FILE_UNKNOWN = 0,
  FILE_PCX = 1,
  FILE_GIF = 2,
  FILE_TGA = 4,
  FILE_LEAD_CMP = 5,
  FILE_BMP = 6,
  FILE_JPEG = 10,       // JPEG without chroma subsampling (4:4:4)
  FILE_WMF = 15,
  FILE_EPS = 16,
  FILE_TIF = 17,
  FILE_JPEG_411 = 21,   // JPEG with 2x2 chroma subsampling (4:2:0)
  FILE_CALS = 50,
  FILE_MAC = 51,
  FILE_GEM_IMG = 52,
  FILE_MSP = 53,
  FILE_WPG = 54,
  FILE_RAS = 55,
  FILE_PCT = 56,
  FILE_WINFAX = 70,
  FILE_ICA = 73,
  FILE_PNG = 75,
  FILE_PSD = 76,
  FILE_DICOM = 90,
  FILE_ICO = 91,
  FILE_CUR = 92,
  FILE_AWD = 99,
};

// The part of a path after its last dot, without the dot ("" when there is none).
QString FileExtension(const QString& path);
// The image file-type table: the format code for an extension, compared without regard
// to case; 0 when the extension is not in the table ("jpeg" and "pcd" are not).
int FormatForExtension(const QString& extension);
// The usual extension of files of the format, without the dot: "jpg" for both JPEG
// codes, "" for codes outside the table.
QString FormatExtension(int format);
// A short name of the format for messages and listings ("JPEG", "PCX", ...).
QString FormatName(int format);
// Whether this build can read or write the format (the table in fil/README.md).
bool CanReadFormat(int format);
bool CanWriteFormat(int format);
