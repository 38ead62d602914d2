// How the program's forms make their controls in code: a component named
// and owned, a control placed on its parent, and a button that calls one of
// its form's handlers when clicked.
#pragma once

#include "framework/classes.h"
#include "framework/controls.h"
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

}  // namespace forms
