// How the program's forms make their controls in code: a component named
// and owned, a control placed on its parent, and a button that calls one of
// its form's handlers when clicked.
#pragma once

#include "framework/classes.h"
#include "framework/controls.h"
#include "framework/forms.h"
#include "framework/std_controls.h"

namespace forms {

// A new `T` owned by `owner` and named `name`.
template <class T>
T* Make(TComponent* owner, const char* name)
{
    T* component = new T(owner);
    component->SetName(name);
    return component;
}

// As above, and placed on `parent` when there is one.
template <class T>
T* Make(TComponent* owner, TWinControl* parent, const char* name)
{
    T* control = Make<T>(owner, name);
    if (parent) control->SetParent(parent);
    return control;
}

// A button of `form` on `parent` at the given bounds; a click runs
// form->*handler (none when handler is null).
template <class TOwnerForm>
TButton* MakeButton(TOwnerForm* form, TWinControl* parent, const char* name, const char* caption, int left, int top,
                    int width, int height, void (TOwnerForm::*handler)(TObject*))
{
    TButton* button = Make<TButton>(form, parent, name);
    button->SetBounds(left, top, width, height);
    button->SetCaption(caption);
    if (handler) button->OnClick = [form, handler](TObject* sender) { (form->*handler)(sender); };
    return button;
}

// The text face of the program's windows: `faceName` 12 pixels high with the
// GB2312 character set, so that the system draws the Chinese texts with a
// face that has them (the Chinese faces at hand draw 11 pixels with strokes
// missing, while their 12-pixel glyphs are clean).
inline void UseLedgerFont(TForm* form, const char* faceName = "宋体")
{
    form->Font()->SetName(faceName);
    form->Font()->SetHeight(-12);
    form->Font()->SetCharset(GB2312_CHARSET);
}

// A window the program opens over its main window: named `name`, with a
// fixed border and the caption buttons `icons`, kept on top and centred on
// the desktop, in the program's face.
inline void SetUpDialog(TForm* form, const char* name, const char* caption, TBorderIcons icons,
                        const char* faceName = "宋体")
{
    form->SetName(name);
    form->SetCaption(caption);
    form->SetBorderStyle(bsSingle);
    form->SetBorderIcons(icons);
    form->SetFormStyle(fsStayOnTop);
    form->SetPosition(poDesktopCenter);
    UseLedgerFont(form, faceName);
}

}  // namespace forms
