#pragma once
// Resource identifiers of the program, shared by the resource script and the code.

#define IDI_PROGRAM 128

#define IDD_MESSAGE_BOX 200
#define IDD_FAV_ASSISTENT 210
#define IDD_ARCHIV_ASSISTENT 211
#define IDD_FAV_PAGE1 220
#define IDD_FAV_PAGE2 221
#define IDD_TREE_PAGE 222
#define IDD_ARCHIV_PAGE1 230
#define IDD_ARCHIV_PAGE2 231

// Message box: the buttons carry the codes they return.
#define IDC_MESSAGE_CHECKBOX 1007

// Wizard frames: Cancel is 2 (IDCANCEL).
#define IDC_FRAME_BACK 3
#define IDC_FRAME_NEXT 4
#define IDC_FRAME_FINISH 5

// Direction pages.
#define IDC_PAGE1_IMPORT 1000
#define IDC_PAGE1_EXPORT 1001
#define IDC_PAGE1_UNDO 1002

// Favorites page 2.
#define IDC_FAV_USERS 1004
#define IDC_FAV_IE 1005
#define IDC_FAV_NC 1006
#define IDC_FAV_NCFILE 1007
#define IDC_FAV_FILENAME 1012
#define IDC_FAV_SEARCH 1014
#define IDC_FAV_BROWSER 1015
#define IDC_FAV_BROWSERS 1016

// Tree page.
#define IDC_TREE 1006

// Archive page 2.
#define IDC_ARCHIV_SEARCH 1011
#define IDC_ARCHIV_FILENAME 1015
