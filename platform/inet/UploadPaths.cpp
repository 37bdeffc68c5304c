#include "inet/UploadPaths.h"

#include "inet/QueryEscape.h"
#include "inet/ResponseText.h"
#include "inet/ServiceConnection.h"
#include "inet/ServiceRequests.h"

UploadPaths ReadUploadPaths(const QString& answer) {
  UploadPaths paths;
  paths.uploadPath = GetResponseValue(answer, QStringLiteral("UploadPath="));
  paths.uploadId = GetResponseValue(answer, QStringLiteral("UploadId="));
  paths.uploadPassword = GetResponseValue(answer, QStringLiteral("UploadPwd="));
  paths.webPath = GetResponseValue(answer, QStringLiteral("WebPath="));
  paths.spaceUsed = ResponseNumber(GetResponseValue(answer, QStringLiteral("DiskSpaceUsed=")));
  paths.spacePurchased = ResponseNumber(GetResponseValue(answer, QStringLiteral("DiskSpacePurchased=")));
  paths.errorMessage = GetResponseValue(answer, QStringLiteral("ErrorMsg="));
  paths.ok = paths.errorMessage.isEmpty() && !paths.uploadPath.isEmpty();
  if (!paths.errorMessage.isEmpty())
    paths.errorText = paths.errorMessage;
  else if (paths.uploadPath.isEmpty())
    paths.errorText = answer;
  return paths;
}

UploadPaths GetUploadPaths(InternetSession& session, const QString& serviceHost, const QString& userId) {
  QString problem;
  const QString answer = FetchOnCachedConnection(
      session,
      QLatin1String("https://") + serviceHost + QLatin1String("/getpaths.asp?UserId=") + PercentEncodeQueryValue(userId),
      &problem);
  UploadPaths paths = ReadUploadPaths(answer);
  if (!paths.ok && paths.errorMessage.isEmpty() && !problem.isEmpty())
    paths.errorText = paths.errorText.isEmpty() ? problem : paths.errorText + QLatin1Char('\n') + problem;
  return paths;
}

QString UploadPaths::uploadHost() const { return CrackUrl(uploadPath).host; }

QString UploadPaths::uploadFolder() const {
  const QString object = CrackUrl(uploadPath).object;
  const qsizetype query = object.indexOf(QLatin1Char('?'));
  return query < 0 ? object : object.left(query);
}
