#pragma once
// Resource ids shared by the launcher's code and its resource script.

#define IDR_ZIPRES_SKIN 101
#define IDI_VARNEL 103
#define IDR_XML_CONFIG 104
#define IDR_MENU_TRAY 105

#define IDM_SHOW_GAME 40006
#define IDM_QUIT_GAME 40007
