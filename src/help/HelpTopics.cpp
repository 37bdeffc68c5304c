#include "help/HelpTopics.h"

namespace {
struct TopicPage {
  int topic;
  const char* page;
};

constexpr TopicPage kTopicPages[] = {
    {kHelpContents, "index.html"},
    {kHelpHowToUse, "how-to-use.html"},
};
}  // namespace

QString HelpPageForTopic(int topic) {
  for (const TopicPage& entry : kTopicPages) {
    if (entry.topic == topic) return QString::fromLatin1(entry.page);
  }
  return QString::fromLatin1(kTopicPages[0].page);
}
