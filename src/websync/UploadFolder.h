#pragma once

#include <memory>

#include <QString>

class FtpConnection;
class InternetSession;
struct UploadPaths;

// Logs in to the upload server the path answer names, changes to its folder and then to
// the user's own sub-folder, named by the user id. With create, a missing sub-folder is
// made; without, the connection stays in the parent folder and *missing is set. Null,
// with the reason in error, when the server cannot be reached or refuses.
std::unique_ptr<FtpConnection> OpenUserFolder(InternetSession& session, const UploadPaths& paths,
                                              const QString& userId, bool create, QString* error,
                                              bool* missing = nullptr);
