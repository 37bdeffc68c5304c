#pragma once

#include <QString>

// The two account requests of the service, and how their answers read. Values travel
// percent-encoded only, so every character of a name or password arrives as typed.

struct RegistrationDetails {
  QString firstName, lastName, address1, address2, city, state, zip, country, phone, fax, mobile, email;

  // Every field without leading and trailing blanks.
  RegistrationDetails trimmed() const;
};

// "https://" + host + "/register.asp?FirstName=…&Password=…".
QString SignUpUrl(const QString& serviceHost, const RegistrationDetails& details, const QString& password);
// "https://" + host + "/validateuser.asp?UserId=…&Password=…".
QString AccountCheckUrl(const QString& serviceHost, const QString& userId, const QString& password);
// A request's URL as messages may show it: without its query, which holds the password.
QString UrlForMessages(const QString& url);

struct SignUpResult {
  bool ok = false;
  QString userId;
  // What the send page's status box shows.
  QString status;
};
// A sign-up answer: its first line "UserId=…" means done; anything else (or, when the
// request went wrong, its error text) is a communication error shown with the URL.
SignUpResult ReadSignUpAnswer(const QString& answer, const QString& errorText, const QString& url);

struct AccountCheckResult {
  bool ok = false;
  // The message for the user when not ok.
  QString message;
};
// A check answer: exactly "SUCCESS", or a text to show.
AccountCheckResult ReadAccountCheckAnswer(const QString& answer, const QString& errorText);
