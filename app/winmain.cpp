// Program entry: the application's title, its windows in their order of
// creation, the skin named on the command line, and the message loop until
// the main window closes.
#include <windows.h>

#include <commctrl.h>

#include "app/category_editor.h"
#include "app/command_line.h"
#include "app/data_module.h"
#include "app/delete_confirm.h"
#include "app/entry_editor.h"
#include "app/main_form.h"
#include "framework/application.h"
#include "framework/display_scale.h"
#include "framework/sysutils.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Before the first window: the windows are laid out at each monitor's
    // scale (the manifest says so too; this covers a copy without it).
    DeclareDpiAwareness();
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);

    Application->SetTitle("Ravelbook");
    // 1. The main window: connects to data.mdb, fills the list and the totals.
    Application->CreateForm(Form1);
    // `/skin FILE`: the main window's skin component loads the file before
    // any window is shown (a file it cannot use leaves the stored skin).
    const std::string skinFile = SkinFileArgument(GetCommandLineA());
    if (!skinFile.empty()) Form1->SkinData1->SetSkinFile(ResolveSkinFile(skinFile, ProgramFolder()));
    // 2. The data module.
    frmdataBase = new TfrmdataBase(Application);
    // 3. The entry editor, bound to the main window's list.
    Application->CreateForm(Form2);
    // 4. The delete confirmation.
    Application->CreateForm(Form3);
    // 5. The category editor: writes XMLB.txt with the default categories
    //    when the file is missing and fills the entry editor's choices.
    Application->CreateForm(Form4);
    Application->Run();
    return 0;
}
