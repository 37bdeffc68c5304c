#include "help/CAboutDialog.h"

#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "help/HelpSites.h"
#include "system/Folders.h"

namespace {
constexpr int kIconSize = 48;

QPushButton* Button(const QString& text, int id, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::number(id));
  return button;
}
}  // namespace

CAboutDialog::CAboutDialog(const QString& userId, const QString& serviceSiteName, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("100"));
  setWindowTitle(QStringLiteral("About Brivane"));
  setModal(true);

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("icon"));
  QIcon picture;
  for (int size : {32, 48, 256})
    picture.addFile(GetProgramFolder() + QStringLiteral("resources/brivane-%1.png").arg(size));
  icon->setPixmap(picture.pixmap(kIconSize, kIconSize));
  icon->setFixedSize(kIconSize, kIconSize);

  auto* name = new QLabel(QStringLiteral("%1 %2").arg(kProductName, kProductVersion), this);
  name->setObjectName(QStringLiteral("version"));
  // The id is the user's own text: shown as it is, never as markup.
  auto* information = new QLabel(AboutInformationText(userId), this);
  information->setObjectName(QStringLiteral("1218"));
  information->setTextFormat(Qt::PlainText);
  information->setTextInteractionFlags(Qt::TextSelectableByMouse);

  QPushButton* ok = Button(QStringLiteral("OK"), 1, this);
  ok->setDefault(true);
  QPushButton* maker = Button(QStringLiteral("&Visit Veldano on the Web"), 1207, this);
  QPushButton* service = Button(VisitServiceButtonText(serviceSiteName), 1222, this);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(maker, &QPushButton::clicked, this, &CAboutDialog::visitMakerClicked);
  connect(service, &QPushButton::clicked, this, &CAboutDialog::visitServiceClicked);

  auto* texts = new QVBoxLayout;
  texts->addWidget(name);
  texts->addWidget(information);
  texts->addStretch();
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {ok, maker, service}) buttons->addWidget(button);
  buttons->addStretch();
  auto* layout = new QGridLayout(this);
  layout->addWidget(icon, 0, 0, Qt::AlignTop);
  layout->addLayout(texts, 0, 1);
  layout->addLayout(buttons, 0, 2);
  layout->setColumnStretch(1, 1);
}
