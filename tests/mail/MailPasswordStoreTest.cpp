#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "mail/MailPasswordStore.h"
#include "mail/MailPeer.h"
#include "support/FileBytes.h"
#include "support/RequireTool.h"
#include "system/Profile.h"

namespace {

// Points the session bus somewhere for one test and puts the old setting back.
class SessionBus {
 public:
  explicit SessionBus(const QByteArray& address)
      : m_address(qgetenv("DBUS_SESSION_BUS_ADDRESS")), m_runtime(qgetenv("XDG_RUNTIME_DIR")) {
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    qunsetenv("XDG_RUNTIME_DIR");
  }
  ~SessionBus() {
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_address);
    if (!m_runtime.isEmpty()) qputenv("XDG_RUNTIME_DIR", m_runtime);
  }

 private:
  QByteArray m_address;
  QByteArray m_runtime;
};

TEST(MailPasswordStore, WithoutSecretServiceTheSettingsFileKeepsItPrivately) {
  SessionBus none("disabled:");
  QTemporaryDir folder;
  const QString settings = folder.path() + "/quendal.ini";
  WriteRaw(settings, "[Settings]\nEmailServer=mail.example.com\n");
  QFile::setPermissions(settings,
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);

  MailPasswordStore store(settings);
  ASSERT_TRUE(store.Store("mail.example.com", "alice", "p@ss word"));
  EXPECT_FALSE(store.usedSecretService());
  EXPECT_EQ(QFile::permissions(settings) &
                (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
            QFile::Permissions());
  EXPECT_EQ(ReadProfileString(settings, "Settings", "EmailServer"), "mail.example.com");
  EXPECT_EQ(MailPasswordStore(settings).Load("mail.example.com", "alice"), "p@ss word");
  store.Forget("mail.example.com", "alice");
  EXPECT_EQ(store.Load("mail.example.com", "alice"), "");
}

TEST(MailPasswordStore, SecretServiceKeepsItOutOfTheSettingsFile) {
  if (!RequireTool("gnome-keyring-daemon", "gnome-keyring") ||
      !RequireTool("dbus-daemon", "dbus-daemon") || !RequireTool("dbus-send", "dbus-bin"))
    return;
  MailPeer keyring;
  ASSERT_TRUE(keyring.start({}, "keyring_peer.py"));
  SessionBus bus(keyring.reported().toUtf8());
  QTemporaryDir folder;
  const QString settings = folder.path() + "/quendal.ini";

  MailPasswordStore store(settings);
  // An older copy in the settings file goes once the safer store has it.
  ASSERT_TRUE(WriteProfileString(settings, "Settings", "EmailPassword", "old"));
  ASSERT_TRUE(store.Store("mail.example.com", "alice", "s3cret"));
  EXPECT_TRUE(store.usedSecretService());
  EXPECT_FALSE(QueryProfileString(settings, "Settings", "EmailPassword").has_value());
  EXPECT_EQ(store.Load("mail.example.com", "alice"), "s3cret");
  EXPECT_EQ(store.Load("mail.example.com", "bob"), "");
  store.Forget("mail.example.com", "alice");
  EXPECT_EQ(store.Load("mail.example.com", "alice"), "");
}

}  // namespace
