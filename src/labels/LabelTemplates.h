#pragma once

#include <deque>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "labels/LabelTemplate.h"

// One tab of the template chooser: a named group of templates in file order.
struct TemplateGroup {
  QString Name;
  std::vector<LabelTemplate*> Templates;
};

// Every template of labels.dat, read once at start and kept until exit: the Groups, the
// album layouts, and the templates the label sheet and album pages start with.
// Templates never move, so pointers to them stay good as long as the list.
class LabelTemplateList {
 public:
  static constexpr const char* kFileName = "labels.dat";
  static constexpr const char* kDefaultLabelCode = "C2353";
  static constexpr const char* kDefaultAlbumCode = "C2166";
  // The product codes of the layouts album pages may have.
  static const QStringList& AlbumLayoutCodes();
  // A grid wider or taller than this is no sheet product; such a template has no labels.
  static constexpr int kMaxGridSide = 100;

  LabelTemplateList() = default;
  LabelTemplateList(const LabelTemplateList&) = delete;
  LabelTemplateList& operator=(const LabelTemplateList&) = delete;
  LabelTemplateList(LabelTemplateList&&) = default;
  LabelTemplateList& operator=(LabelTemplateList&&) = default;

  const std::vector<TemplateGroup>& Groups() const { return groups_; }
  // Every template whose code is an album layout code, in file order (a code that stands
  // in several Groups is listed each time).
  const std::vector<LabelTemplate*>& AlbumLayouts() const { return albumLayouts_; }
  // The last template coded C2353, and the last album layout coded C2166; null without.
  LabelTemplate* DefaultLabelTemplate() const { return defaultLabel_; }
  LabelTemplate* DefaultAlbumLayout() const { return defaultAlbum_; }
  int TemplateCount() const { return int(templates_.size()); }

  // The first template over all Groups in file order whose code is exactly this; null.
  LabelTemplate* FindTemplateByCode(const QString& code) const;
  // The first album layout of this grid; null when there is none.
  LabelTemplate* FindAlbumLayoutBySize(int rows, int columns) const;

  // Appends a group, or a template to the last group (the reader's steps).
  void AddGroup(const QString& name);
  LabelTemplate& AddTemplate(LabelTemplate t);

 private:
  std::deque<LabelTemplate> templates_;
  std::vector<TemplateGroup> groups_;
  std::vector<LabelTemplate*> albumLayouts_;
  LabelTemplate* defaultLabel_ = nullptr;
  LabelTemplate* defaultAlbum_ = nullptr;
};

// Reads labels.dat; a file that cannot be read gives an empty list, and a file that
// announces more lines than it holds keeps what it read.
LabelTemplateList LoadLabelTemplates(const QString& file);
LabelTemplateList ReadLabelTemplates(const QByteArray& bytes);
// One template line cut into its 27 columns.
LabelTemplate ParseTemplateLine(const QString& line);
// The chooser's information about a template: one "Name: value\r\n" line per field that
// is not empty.
QString ProductInfoText(const LabelTemplate& t);
