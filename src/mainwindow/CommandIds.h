#pragma once

// Command ids of the main window's menus: each QAction carries its id as objectName and
// data, so every command can be found and dispatched by number.
constexpr int kCommandExit = 32771;
constexpr int kCommandHelpContents = 32818;
constexpr int kCommandHowToUse = 32819;
constexpr int kCommandPreferences = 32827;
