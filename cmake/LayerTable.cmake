# Which source folder may use which: the one table that the build and the include check
# (scripts/check-layers.cmake) read. Dependencies point one way:
#   app -> mainwindow -> feature folders -> controls -> library, labels, albums, shows, photoedits
#   -> platform.
#
# brivane_layer(<folder> <name> [NO_WIDGETS | NO_QT] USES <name>...)
#   <name>      the folder's include prefix: #include "<name>/File.h"
#   USES        the folders it may include and link; what they may use comes with them
#   NO_WIDGETS  links neither Qt Widgets nor Qt PrintSupport
#   NO_QT       links no Qt at all
# A folder may include an imaging module's headers only when its target links the module.
# A new folder, or a new edge between feature folders, is a line here. Folders that do
# not exist yet are fine; tests/, bench/, fuzz/ and content/ may include anything.

set(imaging krn fil cmp dis img efx twn)
set(platform system inet ${imaging})
set(below_features controls library labels albums shows photoedits ${platform})

#             folder                 name        what it may use
brivane_layer(src/app                app         USES mainwindow)
brivane_layer(src/mainwindow         mainwindow  USES myphotos getphoto printlabels photoalbums fun web mail editing help
                                                      ${below_features})

# Feature folders: one tab or activity each. An edge between two of them is listed here.
brivane_layer(src/myphotos           myphotos    USES ${below_features})
brivane_layer(src/getphoto           getphoto    USES ${below_features})
brivane_layer(src/printlabels        printlabels USES ${below_features})
brivane_layer(src/photoalbums        photoalbums USES ${below_features})
brivane_layer(src/fun                fun         USES ${below_features} getphoto editing)
brivane_layer(src/web                web         USES ${below_features} photoalbums mail websync)
brivane_layer(src/mail               mail        USES ${below_features})
brivane_layer(src/editing            editing     USES ${below_features})
brivane_layer(src/help               help        USES ${below_features})

brivane_layer(src/controls           controls    USES library labels ${platform})
brivane_layer(src/library            library     NO_WIDGETS USES ${platform})
# Label templates and pages, without widgets: the Print Labels and Photo Albums tabs and
# the brivane tool draw and print pages with them.
brivane_layer(src/labels             labels      NO_WIDGETS USES library ${platform})
# Photo albums and their file, without widgets: the Photo Albums tab, publishing and the
# brivane tool keep albums with them.
brivane_layer(src/albums             albums      NO_WIDGETS USES labels library ${platform})
brivane_layer(src/shows              shows       NO_WIDGETS USES library ${platform})
# Publishing to the web service and retrieving from it: the Publish tab and the brivane
# tool run the same runs.
brivane_layer(src/websync            websync     NO_WIDGETS USES library labels albums ${platform})
# Picture edits without widgets: the editing dialogs and the brivane tool make them.
brivane_layer(src/photoedits         photoedits  NO_WIDGETS USES library ${platform})
brivane_layer(src/launcher           launcher    NO_QT USES)
brivane_layer(service                service     NO_QT USES)

brivane_layer(platform/system        system      NO_WIDGETS USES)
brivane_layer(platform/inet          inet        NO_WIDGETS USES)
# The live-update module: loaded by the program only when asked (dlopen), never linked.
brivane_layer(platform/update        update      NO_QT USES)
brivane_layer(platform/imagelib/krn  krn         NO_WIDGETS USES ${imaging})
# The file module keeps Magick's temporary files in a folder removed on signals (system).
brivane_layer(platform/imagelib/fil  fil         NO_WIDGETS USES ${imaging} system)
brivane_layer(platform/imagelib/cmp  cmp         NO_WIDGETS USES ${imaging})
brivane_layer(platform/imagelib/dis  dis         NO_WIDGETS USES ${imaging})
brivane_layer(platform/imagelib/img  img         NO_WIDGETS USES ${imaging})
brivane_layer(platform/imagelib/efx  efx         NO_WIDGETS USES ${imaging})
brivane_layer(platform/imagelib/twn  twn         NO_WIDGETS USES ${imaging})

brivane_layer(tools/brivane          brivane     NO_WIDGETS USES library labels albums shows photoedits websync ${platform})
brivane_layer(players/common         common      USES ${imaging})
brivane_layer(players/pavonel        pavonel     USES common)
brivane_layer(players/corilan        corilan     USES common)
