#include "web/AccountRequests.h"

#include "inet/FileEntry.h"
#include "inet/QueryEscape.h"
#include "inet/ResponseText.h"

RegistrationDetails RegistrationDetails::trimmed() const {
  RegistrationDetails t;
  const RegistrationDetails& s = *this;
  t.firstName = s.firstName.trimmed(), t.lastName = s.lastName.trimmed(), t.address1 = s.address1.trimmed();
  t.address2 = s.address2.trimmed(), t.city = s.city.trimmed(), t.state = s.state.trimmed();
  t.zip = s.zip.trimmed(), t.country = s.country.trimmed(), t.phone = s.phone.trimmed();
  t.fax = s.fax.trimmed(), t.mobile = s.mobile.trimmed(), t.email = s.email.trimmed();
  return t;
}

QString SignUpUrl(const QString& serviceHost, const RegistrationDetails& d, const QString& password) {
  const auto v = PercentEncodeQueryValue;
  return QStringLiteral("https://%1/register.asp?FirstName=%2&LastName=%3&Address1=%4&Address2=%5&City=%6")
             .arg(serviceHost, v(d.firstName), v(d.lastName), v(d.address1), v(d.address2), v(d.city)) +
         QStringLiteral("&State=%1&Zip=%2&Country=%3&Phone=%4&Fax=%5&Mobile=%6&Email=%7&Password=%8")
             .arg(v(d.state), v(d.zip), v(d.country), v(d.phone), v(d.fax), v(d.mobile), v(d.email), v(password));
}

QString AccountCheckUrl(const QString& serviceHost, const QString& userId, const QString& password) {
  return QStringLiteral("https://%1/validateuser.asp?UserId=%2&Password=%3")
      .arg(serviceHost, PercentEncodeQueryValue(userId), PercentEncodeQueryValue(password));
}

QString UrlForMessages(const QString& url) {
  const qsizetype query = url.indexOf(QLatin1Char('?'));
  return query < 0 ? url : url.left(query);
}

SignUpResult ReadSignUpAnswer(const QString& answer, const QString& errorText, const QString& url) {
  const QString text = errorText.isEmpty() ? answer : errorText;
  SignUpResult result;
  if (text.startsWith(QLatin1String("UserId"))) {
    result.userId = GetResponseValue(text, QStringLiteral("UserId=")).trimmed();
    // The id names the user's folder on the upload server: it must be able to.
    result.ok = IsSafeFileName(result.userId);
  }
  if (result.ok) {
    result.status = QStringLiteral("Registration complete.  Please click <Finish> to continue sending your photos.");
  } else {
    result.status =
        QStringLiteral("An error occured when trying to communicate with %1.\n").arg(UrlForMessages(url)) + text;
  }
  return result;
}

AccountCheckResult ReadAccountCheckAnswer(const QString& answer, const QString& errorText) {
  AccountCheckResult result;
  result.ok = answer == QLatin1String("SUCCESS");
  if (result.ok) return result;
  result.message = answer;
  if (!errorText.isEmpty()) result.message += (result.message.isEmpty() ? QString() : QStringLiteral("\n")) + errorText;
  if (result.message.isEmpty()) result.message = QStringLiteral("The service gave no answer.  Please try again.");
  return result;
}
