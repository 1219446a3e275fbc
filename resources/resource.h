// Identifiers of Tessaly's resources, shared by the resource script and the
// program.  Menu commands are 40001-40011 and, for the layouts the menu lists,
// 40100 on; dialog controls 1001-1012; texts 2001 on.  Every menu, dialog and
// text is held once per language (resources/texts_*.rc).
#pragma once

#define IDR_TRAYMENU 101
#define IDI_APP 102
#define IDD_SETTINGS 103
#define IDD_ABOUT 104
// The tray icon while the lock is on: the program's icon with a padlock.
#define IDI_LOCKED 105

// Tray menu commands.
#define ID_SAVE 40001
#define ID_RESTORE 40002
#define ID_SAVE_AS 40003
#define ID_RESTORE_FROM 40004
#define ID_SETTINGS 40005
#define ID_ABOUT 40006
#define ID_EXIT 40007
#define ID_CLOSE_MENU 40008
#define ID_UNDO 40009
// The submenu of layouts at hand: the Restore from dialog in the history
// folder, and the entries listed, ID_KEPT_FIRST + their number.
#define ID_KEPT_MORE 40010
// The lock (icon_lock.h), checked while it is on.
#define ID_LOCK 40011
#define ID_KEPT_FIRST 40100
#define ID_KEPT_LAST 40199

// About dialog.
#define IDC_HOMEPAGE 1001
#define IDC_MAILADDRESS 1002
#define IDC_VERSION 1003
#define IDC_MAKER_LINE 1004

// Settings dialog.  1007-1009 are created hidden and have no behaviour.
#define IDC_START_AUTORESTORE 1005
#define IDC_RESOLUTION_AUTORESTORE 1006
#define IDC_PERIODIC_SAVE 1007
#define IDC_SAVE_INTERVAL 1008
#define IDC_SAVE_INTERVAL_SPIN 1009
#define IDC_RESOLUTION_AUTOCAPTURE 1010
#define IDC_START_AT_LOGON 1011
#define IDC_LOCK 1012

// Texts, in the string table of every language.  A "%d" stands for a number
// the program puts in.
#define IDS_ERROR_CAPTION 2001
#define IDS_ERROR_CAPTION_NAMED 2002
#define IDS_CAPTURE_FAILED 2003
#define IDS_SAVE_FAILED 2004
#define IDS_NO_LAYOUT 2005
#define IDS_SHELL_ARRANGES 2006
#define IDS_NOT_KEPT 2007
#define IDS_FILE_DIALOG_TITLE 2008
#define IDS_FILTER_LAYOUTS 2009
#define IDS_FILTER_ALL 2010
#define IDS_USAGE 2011
#define IDS_KEPT_ICONS 2012
#define IDS_KEPT_CURRENT 2013
#define IDS_KEPT_NONE 2014
#define IDS_LOCK_MENU 2015
#define IDS_LOCK_MENU_ARRANGES 2016
#define IDS_LOCK_MENU_RESTING 2017
#define IDS_LOCKED_TIP 2018
#define IDS_LOCK_BALLOON_TITLE 2019
#define IDS_LOCK_SHELL_ARRANGES 2020
#define IDS_LOCK_RESTING 2021
