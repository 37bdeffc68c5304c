#pragma once

#include <QString>

class CPhotoAlbumsPage;
class FeatureHost;
class InternetSession;

// The main window's commands that reach the service: Publish to the Web (which first gets
// the user an account when there is none, and retrieves the photos of an existing one),
// the look at the user's photos online, and the album page's address to view or mail.
class PublishToWeb {
 public:
  PublishToWeb(FeatureHost& host, CPhotoAlbumsPage& albums) : m_host(host), m_albums(albums) {}

  // Publish to the Web. Returns true when the user has an account afterwards.
  bool run();
  void viewMyPhotosOnline();
  // "View Album on the web" and "Email This Album": the selected album page's address.
  void viewAlbumPage();
  void emailAlbumPage();
  // The address of the selected album page, publishing first when the user agrees that
  // the albums or the page are not on the web as they are here; "" for nothing to show.
  QString albumPageAddress();

  // The address of the user's photo pages: over https when the pages' host is another
  // computer, since it carries the password.
  static QString MyPhotosAddress(const QString& webSiteHost, const QString& serviceHost, const QString& userId,
                                 const QString& password);
  // A page's stored web link with the user id in the place of its "%s".
  static QString AlbumPageAddress(const QString& webLink, const QString& userId);

 private:
  // The host of the service the settings name, with the session set up to reach it.
  QString serviceHostFor(InternetSession& session);
  void publish(InternetSession& session, bool sendAll);
  void retrieve(InternetSession& session);

  FeatureHost& m_host;
  CPhotoAlbumsPage& m_albums;
};
