#include "controls/CViewPhotoDialog.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include "controls/CScrollImageView.h"
#include "controls/ViewPhotoGeometry.h"

CViewPhotoDialog::CViewPhotoDialog(const ImageBitmap& picture, const QString& name, QWidget* parent)
    : QDialog(parent) {
  setObjectName("194");
  m_close = new QPushButton("&Close", this);
  m_close->setObjectName("1");
  m_close->setDefault(true);
  m_close->setGeometry(QRect(QPoint(0, 0), m_close->sizeHint()));
  connect(m_close, &QPushButton::clicked, this, &QDialog::accept);

  m_view = new CScrollImageView(this);
  m_view->setObjectName("1");
  m_view->setPicture(&picture);

  const QSize shown = CScrollImageView::ShownSize(picture);
  setWindowTitle(ViewPhotoTitle(name, QSize(picture.Width, picture.Height)));
  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  const QRect screenRect = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
  setGeometry(ViewPhotoWindowRect(shown, m_close->height(), screenRect));
  layoutView();
}

void CViewPhotoDialog::layoutView() {
  const int top = m_close->geometry().bottom() + 2;
  m_view->setGeometry(0, top, width(), qMax(0, height() - top));
}

void CViewPhotoDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  layoutView();
}
