#include "fun/FunActivities.h"

#include <memory>

#include "fil/ltfil.h"
#include "krn/ltkrn.h"
#include "library/PhotoListModel.h"

QList<FunActivity> FunActivities() {
  return {{"Create a Sports Card", "Sports Card.jpg"},
          {"Create a Calendar", "Calendar.jpg"},
          {"Create a Magazine Cover", "Magazine.jpg"},
          {"Create a Greeting Card", "Greeting Card.jpg"},
          {"Create a Slide Show", "pavonel.jpg"},
          {"Create a Screen Saver", "corilan.jpg"}};
}

void FillFunList(PhotoListModel& model, const QString& programFolder) {
  model.clear();
  for (const FunActivity& activity : FunActivities()) {
    auto item = std::make_shared<PhotoItem>();
    InitBitmap(item->Thumbnail, 0, 0, 0);
    if (LoadImageFile(programFolder + QString::fromUtf8(activity.pictureFile), item->Thumbnail) != 1) {
      FreeBitmap(item->Thumbnail);
      InitBitmap(item->Thumbnail, 0, 0, 0);
    }
    model.append(QString::fromLatin1(activity.text), item);
  }
}
