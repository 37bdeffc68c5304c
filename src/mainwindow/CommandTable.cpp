#include "mainwindow/CommandTable.h"

#include "controls/CommandIds.h"
#include "help/HelpSites.h"

namespace {
MenuEntry Cmd(int command, const QString& text) { return {MenuEntry::Kind::Command, command, text}; }
MenuEntry Separator() { return {MenuEntry::Kind::Separator, 0, ""}; }
MenuEntry Submenu(const char* title) { return {MenuEntry::Kind::SubmenuBegin, 0, title}; }
MenuEntry SubmenuEnd() { return {MenuEntry::Kind::SubmenuEnd, 0, ""}; }
}  // namespace

QList<MenuDefinition> MainMenuDefinition(const QString& serviceSiteName) {
  return {
      {"&File",
       {Cmd(kCommandSavePictureAs, "&Save Picture As..."),
        Cmd(kCommandSetAsWallpaper, "S&et as Wallpaper"), Separator(),
        Cmd(kCommandPrint, "P&rint"), Separator(), Cmd(kCommandDelete, "&Delete"),
        Cmd(kCommandRename, "&Rename"), Separator(), Cmd(kCommandPreferences, "&Preferences"),
        Separator(), Cmd(kCommandExit, "E&xit")}},
      {"&Photo",
       {Cmd(kCommandGetPhoto, "&Get a New Photo"), Separator(),
        Cmd(kCommandEnhance, "&Enhance Photo"), Cmd(kCommandCrop, "&Crop Photo"),
        Cmd(kCommandResize, "&Resize"), Cmd(kCommandCaption, "Add a &Caption"),
        Cmd(kCommandFrame, "&Frame"), Cmd(kCommandRedEye, "Correct &Red Eye"), Separator(),
        Submenu("&Fun"), Cmd(kCommandFunSportsCard, "Create a &Sports Card"),
        Cmd(kCommandFunCalendar, "Create a &Calendar"),
        Cmd(kCommandFunMagazine, "Create a &Magazine Cover"),
        Cmd(kCommandFunGreetingCard, "Create a &Greeting Card"), SubmenuEnd(), Separator(),
        Cmd(kCommandView, "&View"), Cmd(kCommandClear, "&Clear"),
        Cmd(kCommandChooseTemplate, "Choose &Template"), Separator(),
        Cmd(kCommandSetAsWallpaper, "S&et as Wallpaper"),
        Cmd(kCommandLookOnline, "&Look at your photos online"),
        Cmd(kCommandEmailPhoto, "&Email This Photo")}},
      {"&Edit",
       {Cmd(kCommandCopyToClipboard, "&Copy to Clipboard"),
        Cmd(kCommandEditComment, "&Edit Comment")}},
      {"&Help",
       {Cmd(kCommandHelpContents, "&Contents"), Cmd(kCommandHowToUse, "&How to use Brivane"),
        Separator(), Cmd(kCommandLiveUpdate, "&Live Update"),
        Cmd(kCommandVisitVeldano, "&Visit Veldano on the Web"),
        Cmd(kCommandVisitService, VisitServiceMenuText(serviceSiteName)), Separator(),
        Cmd(kCommandAbout, "&About...")}},
  };
}

QList<ToolbarButton> ToolbarButtons() {
  return {{kCommandGetPhoto, "Get Photo"}, {kCommandEnhance, "Enhance"},
          {kCommandCrop, "Crop"},          {kCommandCaption, "Caption"},
          {kCommandFrame, "Edges"},        {kCommandRedEye, "Red Eye"},
          {kCommandClear, "Clear"},        {kCommandChooseTemplate, "Templates"},
          {kCommandView, "View"},          {kCommandPrint, "Print"},
          {kCommandDelete, "Delete"}};
}

QList<int> PhotoPopupCommands() {
  return {kCommandCrop, kCommandEnhance, kCommandFrame, kCommandRedEye, kCommandCaption, 0,
          kCommandPrint, kCommandView, kCommandClear, kCommandDelete, 0,
          kCommandSavePictureAs, kCommandSetAsWallpaper};
}
