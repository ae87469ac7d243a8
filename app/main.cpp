#include "app/app.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    // Touching the application object links it in from the library.
    theApp.m_hInstance = hInstance;
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
