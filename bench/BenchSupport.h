#pragma once

// What the benchmark programs share: timing, the process's memory and photo-like pictures.

#include <chrono>
#include <fstream>
#include <string>

#include <QRgb>

#include "krn/ltkrn.h"

inline double Ms(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// A line of /proc/self/status in kilobytes: "VmRSS:" now, "VmHWM:" the most so far.
inline long StatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == field) {
      status >> value;
      return value;
    }
    status.ignore(1 << 12, '\n');
  }
  return 0;
}

// A photo-like picture: smooth gradients with some texture, different for every seed, so
// that a JPEG of it is as large as a photo's.
inline ImageBitmap PhotoLikePicture(int width, int height, int seed) {
  ImageBitmap bmp;
  CreateBitmap(bmp, 1, width, height, 24, ColorOrder::Bgr, nullptr, TopLeft);
  quint32 noise = 2654435761u * quint32(seed + 1);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(bmp.Pixels.scanLine(y));
    for (int x = 0; x < width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const int grain = int(noise >> 28);
      row[x] = qRgb((x / 7 + seed * 13 + grain) & 255, (y / 5 + x / 11 + grain) & 255,
                    ((x + y) / 9 + seed * 29) & 255);
    }
  }
  return bmp;
}
