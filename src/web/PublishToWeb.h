#pragma once

#include <QString>

class FeatureHost;

// The main window's commands that reach the service: Publish to the Web, which first
// gets the user an account when there is none, and the look at the user's photos online.
class PublishToWeb {
 public:
  explicit PublishToWeb(FeatureHost& host) : m_host(host) {}

  // Publish to the Web. Returns true when the user has an account afterwards.
  bool run();
  void viewMyPhotosOnline();

  // The address of the user's photo pages: over https when the pages' host is another
  // computer, since it carries the password.
  static QString MyPhotosAddress(const QString& webSiteHost, const QString& serviceHost, const QString& userId,
                                 const QString& password);

 private:
  FeatureHost& m_host;
};
