// The skin gallery: every control family of the skin engine on one window,
// with the program's stored skin or a skin file named on the command line
// (skingallery.exe --skin FILE).
#include <windows.h>

#include <commctrl.h>

#include "framework/application.h"
#include "framework/display_scale.h"
#include "gallery/gallery_form.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    // Before the first window: the windows are laid out at each monitor's
    // scale (the manifest says so too; this covers a copy without it).
    DeclareDpiAwareness();
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);

    Application->SetTitle("Ravelbook skin gallery");
    GallerySkinFile = GallerySkinFileOption(commandLine ? commandLine : "");
    Application->CreateForm(GalleryForm);
    Application->Run();
    return 0;
}
