#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A top entry of the file browser's "Look In" box: a place of the user's or a mounted
// volume, standing where the drive letters stood.
struct LookInPlace {
  enum class Kind { Desktop, Documents, Fixed, Removable, Network, CdRom };
  Kind Type = Kind::Fixed;
  QString Text;  // what the box shows
  QString Path;  // the folder, without a trailing "/" (the root is "/")
};

// What a mounted volume tells about itself, for naming it.
struct VolumeFacts {
  QString RootPath;    // where it is mounted
  QString Device;      // "/dev/sdb1", "//server/share", "server:/export"
  QString FileSystem;  // "ext4", "vfat", "nfs4", "cifs", "iso9660" ...
  QString Label;       // the volume's name, may be empty
  bool Removable = false;
};

// The entry for one volume, or nothing (Text empty) for the system's own pseudo file
// systems, which hold no user files.
LookInPlace PlaceForVolume(const VolumeFacts& volume);

// Desktop and My Documents (each only when the folder exists), then the mounted volumes.
QList<LookInPlace> LookInPlaces();

// Which volume entry a folder lies on: the one with the longest root that holds it
// (the user's places are not volumes and are never chosen); -1 when none does.
int VolumeIndexFor(const QList<LookInPlace>& places, const QString& folder);
