#pragma once

#include <QString>

#include "mainwindow/MainTab.h"

// The instructions shown on each tab, with "\n" for the line breaks.
QString InstructionsText(MainTab tab);
