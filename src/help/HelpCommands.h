#pragma once

class FeatureHost;

// The Help menu's commands besides the help pages: the visits to the maker's and the
// service's web sites, the About box and Live Update. Each reads the sites from the
// settings as it runs.
class HelpCommands {
 public:
  explicit HelpCommands(FeatureHost& host) : m_host(host) {}

  void visitMaker();
  void visitService();
  void about();
  // Returns non-zero when the program must close for the update.
  int liveUpdate();

 private:
  FeatureHost& m_host;
};
