#include "MailPasswordStore.h"

#include <sys/stat.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include <QByteArray>
#include <QFile>

// Qt's "signals" keyword would rename a field of GLib's D-Bus headers.
#pragma push_macro("signals")
#undef signals
#include <libsecret/secret.h>
#pragma pop_macro("signals")

#include "system/Profile.h"

namespace {

constexpr auto kSecretServiceTimeout = std::chrono::seconds(5);
const char* const kSection = "Settings";
const char* const kKey = "EmailPassword";

const SecretSchema* Schema() {
  static const SecretSchema schema = {"org.brivane.MailPassword",
                                      SECRET_SCHEMA_NONE,
                                      {{"server", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                       {"user", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                       {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                      0,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr};
  return &schema;
}

// Whether a session bus can be reached at all: without one libsecret would try to start
// a bus of its own, which must never hold the program up.
bool HasSessionBus() {
  const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
  if (!address.isEmpty()) return !address.startsWith("disabled:");
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  struct stat info {};
  return !runtime.isEmpty() && stat((runtime + "/bus").constData(), &info) == 0 &&
         S_ISSOCK(info.st_mode);
}

// Runs a libsecret call with a cancellable that a watchdog fires when the secret service
// (or an unlock prompt) keeps it waiting.
template <typename Call>
auto WithTimeout(Call call) {
  GCancellable* cancellable = g_cancellable_new();
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  std::thread watchdog([&] {
    std::unique_lock lock(mutex);
    if (!finished.wait_for(lock, kSecretServiceTimeout, [&] { return done; }))
      g_cancellable_cancel(cancellable);
  });
  auto result = call(cancellable);
  {
    std::lock_guard lock(mutex);
    done = true;
  }
  finished.notify_one();
  watchdog.join();
  g_object_unref(cancellable);
  return result;
}

// The stored password, nullopt when the secret service did not answer.
std::optional<QString> SecretLookup(const QString& server, const QString& user) {
  const QByteArray s = server.toUtf8(), u = user.toUtf8();
  GError* error = nullptr;
  gchar* found = WithTimeout([&](GCancellable* c) {
    return secret_password_lookup_sync(Schema(), c, &error, "server", s.constData(), "user",
                                       u.constData(), nullptr);
  });
  if (error) {
    g_error_free(error);
    return std::nullopt;
  }
  QString password = found ? QString::fromUtf8(found) : QString();
  if (found) secret_password_free(found);
  return password;
}

bool SecretStore(const QString& server, const QString& user, const QString& password) {
  const QByteArray s = server.toUtf8(), u = user.toUtf8(), p = password.toUtf8();
  const QByteArray label = "Brivane outgoing mail password for " + u + "@" + s;
  GError* error = nullptr;
  const gboolean stored = WithTimeout([&](GCancellable* c) {
    return secret_password_store_sync(Schema(), SECRET_COLLECTION_DEFAULT, label.constData(),
                                      p.constData(), c, &error, "server", s.constData(), "user",
                                      u.constData(), nullptr);
  });
  if (error) g_error_free(error);
  return stored;
}

bool SecretClear(const QString& server, const QString& user) {
  const QByteArray s = server.toUtf8(), u = user.toUtf8();
  GError* error = nullptr;
  WithTimeout([&](GCancellable* c) {
    return secret_password_clear_sync(Schema(), c, &error, "server", s.constData(), "user",
                                      u.constData(), nullptr);
  });
  if (!error) return true;
  g_error_free(error);
  return false;
}

}  // namespace

MailPasswordStore::MailPasswordStore(const QString& settingsFile) : m_settingsFile(settingsFile) {}

bool MailPasswordStore::Store(const QString& server, const QString& user, const QString& password) {
  m_usedSecretService = HasSessionBus() && SecretStore(server, user, password);
  if (m_usedSecretService) {
    // A copy in the settings file would outlive the safer one.
    DeleteProfileKey(m_settingsFile, kSection, kKey);
    return true;
  }
  if (!WriteProfileString(m_settingsFile, kSection, kKey, password)) return false;
  return QFile::setPermissions(ProfileFilePath(m_settingsFile),
                               QFile::ReadOwner | QFile::WriteOwner);
}

QString MailPasswordStore::Load(const QString& server, const QString& user) {
  if (HasSessionBus()) {
    const std::optional<QString> found = SecretLookup(server, user);
    m_usedSecretService = found.has_value();
    if (found && !found->isEmpty()) return *found;
  } else {
    m_usedSecretService = false;
  }
  return ReadProfileString(m_settingsFile, kSection, kKey);
}

void MailPasswordStore::Forget(const QString& server, const QString& user) {
  m_usedSecretService = HasSessionBus() && SecretClear(server, user);
  DeleteProfileKey(m_settingsFile, kSection, kKey);
}
