#pragma once
// Resource ids of NetWard.exe (NetWard.rc). Included by the .rc and by C++ code.
//
// To build the resources into a program: the top CMakeLists enables the RC language for the
// Windows build, and src/res/CMakeLists.txt declares the object library `nwres` (NetWard.rc:
// icons, bitmaps, cursor, manifest, version). Link it into the executable:
//     target_link_libraries(NetWard PRIVATE nwres)
// Linking `nwres` also copies the help pages (GuideNWD/) next to the programs.
//
// Button bitmaps are 32 x 32 with a colour table, drawn on RGB(192,192,192): load them with
//     LoadImageW(inst, MAKEINTRESOURCEW(IDB_...), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)
// so their background becomes the button face colour.

// Version shown by the about box (also in the version resource).
#define NW_VERSION_MAJOR 1
#define NW_VERSION_MINOR 0
#define NW_VERSION_PATCH 0
#define NW_VERSION_TEXT "1.0.0"

// Icons. The lowest id is the program's own icon, the one Explorer shows for NetWard.exe.
#define IDI_NETWARD 100
#define IDI_TRAY_DISCONNECTED 101
#define IDI_TRAY_CONNECTED 102

// Bitmaps.
#define IDB_DIAL_DISCONNECTED 101  // DialGoBtn while disconnected
#define IDB_DIAL_CONNECTED 102     // DialGoBtn while connected
#define IDB_HISTORY_GRAPH 103      // history list: open the graph
#define IDB_HISTORY_BACK 104       // history pages: one step back
#define IDB_HISTORY_NEXT 105       // history pages: one step forward
#define IDB_LOCK_ON 106            // LockBtn while locked
#define IDB_LOCK_OFF 107           // LockBtn while unlocked

// Cursors.
#define IDC_LINK_HAND 101  // the about box's home-page link
