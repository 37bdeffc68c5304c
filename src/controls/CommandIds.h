#pragma once

// Command ids shared by the main window's menu bar (menu 132), its toolbar and its pop-up
// menus: each QAction carries its id as objectName and data, so every command can be
// found and dispatched by number.
constexpr int kCommandAboutBox = 16;
constexpr int kCommandPickPhoto = 1010;
constexpr int kCommandResize = 1259;
constexpr int kCommandExit = 32771;
constexpr int kCommandCopyToClipboard = 32779;
constexpr int kCommandSavePictureAs = 32785;
constexpr int kCommandSetAsWallpaper = 32786;
constexpr int kCommandGetPhoto = 32792;
constexpr int kCommandEnhance = 32793;
constexpr int kCommandCrop = 32794;
constexpr int kCommandFrame = 32795;
constexpr int kCommandView = 32796;
constexpr int kCommandClear = 32799;
constexpr int kCommandChooseTemplate = 32800;
constexpr int kCommandDelete = 32805;
constexpr int kCommandPrint = 32806;
constexpr int kCommandCaption = 32809;
constexpr int kCommandRedEye = 32810;
constexpr int kCommandEditComment = 32813;
constexpr int kCommandLookOnline = 32814;
constexpr int kCommandRename = 32816;
constexpr int kCommandEmailPhoto = 32817;
constexpr int kCommandHelpContents = 32818;
constexpr int kCommandHowToUse = 32819;
constexpr int kCommandLiveUpdate = 32820;
constexpr int kCommandVisitVeldano = 32821;
constexpr int kCommandAbout = 32822;
constexpr int kCommandFunSportsCard = 32823;
constexpr int kCommandFunCalendar = 32824;
constexpr int kCommandFunMagazine = 32825;
constexpr int kCommandFunGreetingCard = 32826;
constexpr int kCommandPreferences = 32827;
constexpr int kCommandVisitService = 32828;
