#include "getphoto/LookInPlaces.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStandardPaths>
#include <QStorageInfo>

#include "getphoto/FolderPath.h"

namespace {

bool IsPseudoFileSystem(const QString& type) {
  static const QSet<QString> pseudo = {
      "proc", "sysfs", "devtmpfs", "devpts", "tmpfs", "cgroup", "cgroup2", "securityfs",
      "pstore", "debugfs", "tracefs", "configfs", "fusectl", "mqueue", "hugetlbfs", "bpf",
      "autofs", "binfmt_misc", "efivarfs", "squashfs", "nsfs", "rpc_pipefs", "ramfs",
      "fuse.portal", "fuse.gvfsd-fuse", "selinuxfs"};
  return pseudo.contains(type);
}

bool IsSystemPlace(const QString& root) {
  static const QStringList places = {"/boot", "/proc", "/sys", "/dev", "/run", "/snap",
                                     "/var", "/etc", "/usr"};
  for (const QString& place : places)
    if (FolderPath::IsWithin(root, place) && !root.startsWith("/run/media/")) return true;
  return false;
}

bool IsNetworkFileSystem(const QString& type) {
  return type.startsWith("nfs") || type == "cifs" || type.startsWith("smb") ||
         type == "fuse.sshfs" || type == "9p" || type == "afs" || type == "ncpfs";
}

// "//server/share" or "server:/export" into share and server.
void SplitNetworkDevice(const QString& device, QString& share, QString& server) {
  if (device.startsWith("//")) {
    const QStringList parts = device.mid(2).split('/', Qt::SkipEmptyParts);
    server = parts.value(0);
    share = parts.mid(1).join('/');
  } else if (const int colon = int(device.indexOf(':')); colon > 0) {
    server = device.left(colon);
    share = device.mid(colon + 1);
  } else {
    share = device;
  }
  if (share.isEmpty()) share = device;
}

// Whether the block device behind /dev/sdXN says it is removable.
bool IsRemovableDevice(const QString& device) {
  if (!device.startsWith("/dev/")) return false;
  QString name = device.mid(5);
  // The partition's disk: sdb1 → sdb, mmcblk0p1 → mmcblk0, nvme0n1p2 → nvme0n1.
  if (name.startsWith("mmcblk") || name.startsWith("nvme")) {
    const int p = int(name.lastIndexOf('p'));
    if (p > 0 && name.indexOf('n') != p) name = name.left(p);
  } else {
    while (!name.isEmpty() && name.back().isDigit()) name.chop(1);
  }
  QFile flag("/sys/block/" + name + "/removable");
  return flag.open(QIODevice::ReadOnly) && flag.read(1) == "1";
}

}  // namespace

LookInPlace PlaceForVolume(const VolumeFacts& volume) {
  LookInPlace place;
  place.Path = FolderPath::Clean(volume.RootPath);
  const QString& type = volume.FileSystem;
  if (place.Path.isEmpty() || IsPseudoFileSystem(type)) return {};
  // The system's own mounts hold no pictures; the root file system always counts.
  if (place.Path != "/" && IsSystemPlace(place.Path)) return {};
  if (type == "overlay" && place.Path != "/") return {};

  if (IsNetworkFileSystem(type)) {
    QString share, server;
    SplitNetworkDevice(volume.Device, share, server);
    place.Type = LookInPlace::Kind::Network;
    place.Text = server.isEmpty() ? QString("%1 (%2)").arg(share, place.Path)
                                  : QString("%1 on %2 (%3)").arg(share, server, place.Path);
  } else if (type == "iso9660" || type == "udf") {
    place.Type = LookInPlace::Kind::CdRom;
    place.Text = place.Path;
  } else if (volume.Removable || place.Path.startsWith("/media/") ||
             place.Path.startsWith("/run/media/")) {
    place.Type = LookInPlace::Kind::Removable;
    place.Text = volume.Label.isEmpty() ? QString("Removable Disk (%1)").arg(place.Path)
                                        : QString("%1 (%2)").arg(volume.Label, place.Path);
  } else {
    place.Type = LookInPlace::Kind::Fixed;
    place.Text = QString("%1 (%2)").arg(volume.Label.isEmpty() ? QStringLiteral("Local Disk")
                                                               : volume.Label,
                                        place.Path);
  }
  return place;
}

QList<LookInPlace> LookInPlaces() {
  QList<LookInPlace> places;
  const auto addUserPlace = [&](QStandardPaths::StandardLocation location, LookInPlace::Kind kind,
                                const char* text) {
    const QString path = FolderPath::Clean(QStandardPaths::writableLocation(location));
    if (!path.isEmpty() && QDir(path).exists()) places.append({kind, QString::fromLatin1(text), path});
  };
  addUserPlace(QStandardPaths::DesktopLocation, LookInPlace::Kind::Desktop, "Desktop");
  addUserPlace(QStandardPaths::DocumentsLocation, LookInPlace::Kind::Documents, "My Documents");

  QList<LookInPlace> volumes;
  QSet<QString> roots;
  for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
    if (!storage.isValid()) continue;
    VolumeFacts facts;
    facts.RootPath = storage.rootPath();
    facts.Device = QString::fromLocal8Bit(storage.device());
    facts.FileSystem = QString::fromLatin1(storage.fileSystemType());
    facts.Label = storage.name();
    facts.Removable = IsRemovableDevice(facts.Device);
    LookInPlace place = PlaceForVolume(facts);
    if (place.Text.isEmpty() || roots.contains(place.Path)) continue;
    roots.insert(place.Path);
    volumes.append(place);
  }
  // The root file system first, then the others by where they are mounted.
  std::sort(volumes.begin(), volumes.end(),
            [](const LookInPlace& a, const LookInPlace& b) { return a.Path < b.Path; });
  if (!roots.contains("/")) volumes.prepend({LookInPlace::Kind::Fixed, "Local Disk (/)", "/"});
  places.append(volumes);
  return places;
}

int VolumeIndexFor(const QList<LookInPlace>& places, const QString& folder) {
  int best = -1;
  for (int i = 0; i < places.size(); ++i) {
    const LookInPlace& place = places[i];
    if (place.Type == LookInPlace::Kind::Desktop || place.Type == LookInPlace::Kind::Documents)
      continue;
    if (!FolderPath::IsWithin(folder, place.Path)) continue;
    if (best < 0 || place.Path.size() > places[best].Path.size()) best = i;
  }
  return best;
}
