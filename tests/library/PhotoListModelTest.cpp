#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include "library/PhotoListModel.h"

namespace {
PhotoItemPtr ItemAt(qint64 time, const QString& description = QString()) {
  auto item = std::make_shared<PhotoItem>();
  item->FileTime = time;
  item->Description = description;
  return item;
}

// What a view shows of one row: its text and the item it draws.
struct Shown {
  QString text;
  const PhotoItem* picture = nullptr;
  bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& shown, std::ostream* out) {
  *out << '"' << shown.text.toStdString() << "\" " << static_cast<const void*>(shown.picture);
}

Shown ReadRow(const QAbstractItemModel& model, int row) {
  const QModelIndex index = model.index(row, 0);
  return {index.data(Qt::DisplayRole).toString(),
          index.data(PhotoListModel::PictureRole).value<PhotoItemPtr>().get()};
}

QList<Shown> ReadAll(const QAbstractItemModel& model) {
  QList<Shown> rows;
  for (int row = 0; row < model.rowCount(); ++row) rows << ReadRow(model, row);
  return rows;
}

// Keeps what it read from the model and refreshes it only when the model's signals say
// so, as a list view's cache does: a change the model does not announce leaves it stale.
class ViewMirror {
 public:
  explicit ViewMirror(const QAbstractItemModel& model) : model_(model), rows_(ReadAll(model)) {
    QObject::connect(&model, &QAbstractItemModel::rowsInserted,
                     [this](const QModelIndex&, int first, int last) {
                       for (int row = first; row <= last; ++row)
                         rows_.insert(row, ReadRow(model_, row));
                     });
    QObject::connect(&model, &QAbstractItemModel::rowsRemoved,
                     [this](const QModelIndex&, int first, int last) {
                       rows_.remove(first, last - first + 1);
                     });
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [this](const QModelIndex& topLeft, const QModelIndex& bottomRight,
                            const QList<int>& roles) {
                       if (!roles.isEmpty() && !roles.contains(Qt::DisplayRole) &&
                           !roles.contains(PhotoListModel::PictureRole))
                         return;
                       for (int row = topLeft.row(); row <= bottomRight.row(); ++row)
                         rows_[row] = ReadRow(model_, row);
                     });
    QObject::connect(&model, &QAbstractItemModel::modelReset,
                     [this] { rows_ = ReadAll(model_); });
  }

  const QList<Shown>& rows() const { return rows_; }

 private:
  const QAbstractItemModel& model_;
  QList<Shown> rows_;
};

// Qt's model tester reports a broken model contract as warnings of its own category; while
// one of these lives, each such warning fails the test.
class ModelContractWatch {
 public:
  ModelContractWatch() { previous_ = qInstallMessageHandler(Record); }
  ~ModelContractWatch() { qInstallMessageHandler(previous_); }

 private:
  static void Record(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtDebugMsg && context.category && qstrcmp(context.category, "qt.modeltest") == 0)
      ADD_FAILURE() << message.toStdString();
    else if (previous_)
      previous_(type, context, message);
  }
  static inline QtMessageHandler previous_ = nullptr;
};

class PhotoListModelTest : public ::testing::Test {
 protected:
  QStringList Texts() const {
    QStringList texts;
    for (const Shown& row : ReadAll(model)) texts << row.text;
    return texts;
  }

  ModelContractWatch watch;
  PhotoListModel model;
  QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Warning};
  ViewMirror view{model};
};
}  // namespace

TEST_F(PhotoListModelTest, SortedInsertKeepsNewestFirstAndEqualTimesInArrivalOrder) {
  QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
  EXPECT_EQ(model.insertSorted("b", ItemAt(200)), 0);
  EXPECT_EQ(model.insertSorted("a", ItemAt(100)), 1);
  EXPECT_EQ(model.insertSorted("c", ItemAt(300)), 0);
  EXPECT_EQ(model.insertSorted("b2", ItemAt(200)), 2);
  model.insert(99, "last", ItemAt(50));  // past the end: appended
  model.append("fun", nullptr);          // a fun-list entry has no photo

  EXPECT_EQ(Texts(), QStringList({"c", "b", "b2", "a", "last", "fun"}));
  EXPECT_EQ(view.rows(), ReadAll(model));
  ASSERT_EQ(inserted.size(), 6);
  EXPECT_EQ(inserted[3][1].toInt(), 2);
  EXPECT_EQ(inserted[4][1].toInt(), 4);
  EXPECT_EQ(model.findExact("B2"), 2);
  EXPECT_EQ(model.findExact("B2", Qt::CaseSensitive), -1);
  EXPECT_EQ(model.findExact("b "), -1);
  EXPECT_EQ(model.rowCount(model.index(0, 0)), 0);
  EXPECT_FALSE(model.index(6, 0).data().isValid());
}

TEST_F(PhotoListModelTest, ANewThumbnailReachesTheViewInPlace) {
  model.insertSorted("old", ItemAt(100));
  model.insertSorted("new", ItemAt(200));
  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
  const PhotoItemPtr replacement = ItemAt(500, "Sunset");

  model.replaceItem(1, replacement);
  EXPECT_EQ(Texts(), QStringList({"new", "old"}));
  EXPECT_EQ(view.rows(), ReadAll(model));
  EXPECT_EQ(view.rows()[1].picture, replacement.get());
  ASSERT_EQ(changed.size(), 1);
  EXPECT_EQ(changed[0][0].toModelIndex().row(), 1);
  EXPECT_EQ(changed[0][1].toModelIndex().row(), 1);

  model.replaceItem(2, ItemAt(1));  // out of range: nothing happens
  model.replaceItem(-1, ItemAt(1));
  EXPECT_EQ(changed.size(), 1);
}

TEST_F(PhotoListModelTest, TheDescriptionIsNoTooltip) {
  // The list shows the description in the program's own hint; a tooltip would repeat it.
  model.append("described", ItemAt(100, "A long day at the beach"));
  EXPECT_FALSE(model.index(0, 0).data(Qt::ToolTipRole).isValid());
  EXPECT_EQ(model.index(0, 0).data(PhotoListModel::PictureRole).value<PhotoItemPtr>()->Description,
            "A long day at the beach");
}

TEST_F(PhotoListModelTest, RemovingAndClearingLeaveTheViewInStep) {
  for (int time = 1; time <= 4; ++time) model.insertSorted(QString::number(time), ItemAt(time));
  QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
  model.remove(7);  // out of range: nothing happens
  model.remove(-1);
  EXPECT_EQ(removed.size(), 0);

  model.remove(1);
  EXPECT_EQ(Texts(), QStringList({"4", "2", "1"}));
  EXPECT_EQ(view.rows(), ReadAll(model));
  ASSERT_EQ(removed.size(), 1);
  EXPECT_EQ(removed[0][1].toInt(), 1);

  model.clear();
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_TRUE(view.rows().isEmpty());
  model.append("again", ItemAt(9));
  EXPECT_EQ(view.rows(), ReadAll(model));
}
