#include "HostWindow.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdlib>

namespace {
xcb_connection_t* X11Connection() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->connection() : nullptr;
}

// Qt 6.4 neither checks a foreign X11 window nor learns its size: ask the server.
bool QueryX11Size(quint64 id, QSize& size) {
  xcb_connection_t* connection = X11Connection();
  if (connection == nullptr) return false;
  xcb_generic_error_t* error = nullptr;
  xcb_get_geometry_reply_t* reply = xcb_get_geometry_reply(
      connection, xcb_get_geometry(connection, xcb_window_t(id)), &error);
  std::free(error);
  if (reply == nullptr) return false;
  size = QSize(reply->width, reply->height);
  std::free(reply);
  return true;
}
}  // namespace

std::unique_ptr<HostWindow> HostWindow::open(quint64 id) {
  if (id == 0) return nullptr;
  QSize size;
  if (X11Connection() != nullptr && !QueryX11Size(id, size)) return nullptr;
  QWindow* window = QWindow::fromWinId(WId(id));
  if (window == nullptr) return nullptr;
  return std::unique_ptr<HostWindow>(new HostWindow(id, window));
}

HostWindow::HostWindow(quint64 id, QWindow* window) : id_(id), window_(window) {}

HostWindow::~HostWindow() = default;

bool HostWindow::exists() const {
  QSize size;
  return X11Connection() == nullptr || QueryX11Size(id_, size);
}

QSize HostWindow::size() const {
  if (X11Connection() == nullptr) return window_->size();
  QSize size;
  return QueryX11Size(id_, size) ? size : QSize();
}
