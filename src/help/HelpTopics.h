#pragma once

#include <QString>

// The help topics that the program opens by number, as the help file's context numbers
// were, and the page of the shipped help that shows each.
constexpr int kHelpContents = 1;
constexpr int kHelpHowToUse = 4;

// The page's file name in the help folder; a topic without a page shows the contents.
QString HelpPageForTopic(int topic);
