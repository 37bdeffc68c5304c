#include <gtest/gtest.h>

#include <random>

#include <QFile>
#include <QTemporaryDir>

#include "system/RegistryStore.h"

TEST(RegistryStore, KeepsTextValuesPerKeyInTheWindowsFolder) {
  QTemporaryDir windows;
  qputenv("BRIVANE_WINDOWS_FOLDER", QFile::encodeName(windows.path()));
  RegistryStore registry;
  EXPECT_EQ(registry.file(), windows.path() + "/registry.ini");

  const QString desktop = "Control Panel\\Desktop";
  EXPECT_FALSE(registry.queryValue(desktop, "TileWallpaper").has_value());
  ASSERT_TRUE(registry.setValue(desktop, "TileWallpaper", "0"));
  ASSERT_TRUE(registry.setValue(desktop, "SCRNSAVE.EXE", "/home/anna/.local/share/brivane/Beach.scr"));
  ASSERT_TRUE(registry.setValue("Software\\Brivane", "", "default value"));

  // Another store on the same file (another part of the program) sees the same values,
  // and key paths and names are found without regard to case.
  RegistryStore again;
  EXPECT_EQ(again.queryValue("control panel\\desktop\\", "tilewallpaper"), "0");
  EXPECT_EQ(again.queryValue(desktop, "SCRNSAVE.EXE"),
            "/home/anna/.local/share/brivane/Beach.scr");
  EXPECT_EQ(again.queryValue("Software\\Brivane", ""), "default value");
  EXPECT_FALSE(again.queryValue("Software\\Other", "").has_value());

  EXPECT_TRUE(again.deleteValue(desktop, "TileWallpaper"));
  EXPECT_FALSE(registry.queryValue(desktop, "TileWallpaper").has_value());
  EXPECT_TRUE(registry.queryValue(desktop, "SCRNSAVE.EXE").has_value());
  EXPECT_FALSE(registry.setValue(desktop, "A=B", "1"));
  qunsetenv("BRIVANE_WINDOWS_FOLDER");
}

TEST(RegistryStore, AFileNotUnderstoodIsLeftAsItIs) {
  QTemporaryDir windows;
  RegistryStore registry(windows.filePath("registry.ini"));
  const QString desktop = "Control Panel\\Desktop";
  const QByteArray damaged = QByteArray("[Control Panel\\Desktop]\nTileWallpaper=1\n") + '\0' +
                             "Wallpaper=/home/anna/beach.bmp\n";
  QByteArray binary(4096, Qt::Uninitialized);
  std::mt19937 random(11);
  for (char& byte : binary) byte = char(random() & 0xFF);
  for (const QByteArray& content : {damaged, binary}) {
    QFile file(registry.file());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    file.close();
    EXPECT_FALSE(registry.isUsable());
    EXPECT_FALSE(registry.queryValue(desktop, "TileWallpaper").has_value());
    EXPECT_FALSE(registry.setValue(desktop, "TileWallpaper", "0"));
    EXPECT_FALSE(registry.deleteValue(desktop, "Wallpaper"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), content);
  }
}
