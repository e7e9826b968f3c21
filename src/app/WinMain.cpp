#include <windows.h>

#include "app/ImportExportApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CImportExportApp app;
    app.InitInstance();
    return 0;
}
